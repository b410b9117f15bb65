// The numbered name lists: reading their entries, the tables by number and the two lookups.
#include <gtest/gtest.h>

#include "database_files/name_lists.h"
#include "platform/cp932.h"
#include "tests/database/database_test_util.h"

namespace shogi {
namespace {

using NameListTest = test::DatabaseFolderTest;

TEST(NameTextTest, SqueezeSpacesAndListNumbers) {
  struct Squeeze {
    const char* utf8;
    const char* expected;
  } squeezes[] = {
      {" 山田　太郎 ", "山田太郎"}, {"a b\nc d", "ab"}, {"　 ", ""}, {"ﾚﾍﾞﾙ 1", "ﾚﾍﾞﾙ1"}};
  for (const Squeeze& c : squeezes) EXPECT_EQ(Utf8(SqueezeSpaces(Cp932(c.utf8))), c.expected);
  // A kanji whose trail byte is 0x81 followed by "@" is no full-width space.
  EXPECT_EQ(SqueezeSpaces("\x89\x81@ x"), "\x89\x81@x");

  struct Number {
    const char* line;
    int number;
  } numbers[] = {
      {"12    name", 12},         {"  7 x", 7}, {"+05 x", 5}, {"-3", -3}, {"x12", 0}, {"", 0},
      {"99999999999", 2147483647}};
  for (const Number& c : numbers) EXPECT_EQ(ListNumber(c.line), c.number) << c.line;
}

TEST_F(NameListTest, EntriesKeepTheirListsNumbersAndSkipPlusLines) {
  WriteList("KSNAME.DAT", "0     無名\r\n12    山田　太郎  \r\n1000  範囲外\r\n13\r\nx     x\r\n");
  WriteList("KISEN.DAT", "+01 予選\r\n05 名人戦\r\n100 範囲外\r\n");
  WriteList("棋戦.DAT", "0  零\r\n99 最後\r\n");
  struct Case {
    NameList list;
    const char* expected;  // "number:text|..."
  } cases[] = {
      {NameList::kKisenPlayers, "0:無名|12:山田　太郎|13:|0:x"},
      {NameList::kKisenTournaments, "5:名人戦"},
      {NameList::kTarvelTournaments, "99:最後"},
      {NameList::kTarvelOpenings, ""},
  };
  for (const Case& c : cases) {
    std::vector<NameEntry> entries;
    const bool found = ReadNameEntries(Folder(), c.list, entries);
    EXPECT_EQ(found, *c.expected != 0);
    std::string text;
    for (const NameEntry& e : entries)
      text += (text.empty() ? "" : "|") + std::to_string(e.Number) + ":" + Utf8(e.Text);
    EXPECT_EQ(text, c.expected);
  }
}

TEST_F(NameListTest, TablesCutNamesAndGiveDefaultsForUnlistedNumbers) {
  WriteList("KSNAME.DAT",
            "1     一二三四五六七\r\n2     abcdefghijklmnop\r\n4     a一二三四五六\r\n");
  std::vector<NameEntry> entries;
  ASSERT_TRUE(ReadNameEntries(Folder(), NameList::kKisenPlayers, entries));
  const NameTable kisen(entries, kKisenPlayerTable), tarvel(entries, kTarvelTournamentTable);
  struct Case {
    const NameTable& table;
    int number;
    const char* expected;
  } cases[] = {
      {kisen, 1, "一二三四五六"},      {kisen, 2, "abcdefghijkl"},
      {kisen, 3, "            "},      {kisen, -1, "            "},
      {kisen, 1000, "            "},   {tarvel, 1, "一二三四五六七"},
      {tarvel, 2, "abcdefghijklmnop"}, {tarvel, 3, ""},
      {kisen, 4, "a一二三四五"},
  };
  for (const Case& c : cases) EXPECT_EQ(Utf8(c.table[c.number]), c.expected) << c.number;
}

TEST(NameLookupTest, KisenLookupFindsTheFirstEntryContainedInTheName) {
  const std::vector<NameEntry> players = {
      {3, "", ""},
      {12, Cp932("山田　太郎"), Cp932("山田太郎")},
      {13, Cp932("山田"), Cp932("山田")},
      {31, Cp932("名人"), Cp932("名人")},
      {5, "A", "A"},
  };
  struct Case {
    const char* utf8;
    int highest;
    int expected;
  } cases[] = {
      {"山田太郎", 999, 12},
      {" 山田 太郎 ", 999, 12},
      {"山田太郎九段", 999, 12},
      {"故山田太郎", 999, 12},
      {"山田花子", 999, 13},
      {"第1期名人", 30, 0},
      {"第1期名人", 31, 31},
      {"", 999, 0},
      {"　", 999, 0},
      {"ﾊﾞA", 999, 5},
      {"Ab", 4, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(KisenNameLookup(players, Cp932(c.utf8), c.highest), c.expected) << c.utf8;
  // An earlier, shorter entry wins; containment steps by whole characters: "A" (0x41) is
  // also the trail byte of 「ア」 (0x83 0x41), which is not an "A".
  const std::vector<NameEntry> earlier = {{1, "", Cp932("山田")}, {2, "", Cp932("山田太郎")}};
  EXPECT_EQ(KisenNameLookup(earlier, Cp932("山田太郎"), 999), 1);
  EXPECT_EQ(KisenNameLookup(players, Cp932("ア"), 999), 0);
}

TEST(NameLookupTest, ExactLookupComparesWithoutSpaces) {
  const std::vector<NameEntry> list = {{1, "", Cp932("竜王戦")},
                                       {5, "", Cp932("第10期名人戦")},
                                       {7, "", Cp932("名人戦")},
                                       {120, "", Cp932("棋聖戦")}};
  struct Case {
    const char* utf8;
    int expected;
  } cases[] = {{"第10期　名人戦", 5}, {"名人戦 ", 7}, {"名人", 0},
               {"名人戦リーグ", 0},   {"棋聖戦", 0},  {"", 0}};
  for (const Case& c : cases)
    EXPECT_EQ(ExactNameLookup(list, Cp932(c.utf8), 99), c.expected) << c.utf8;
}

}  // namespace
}  // namespace shogi
