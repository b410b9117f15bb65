// The search dialog's logic: the date checks in their order, the names it turns into numbers
// and the lists its combo boxes offer.
#include "database/search_conditions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp932.h"
#include "platform/file_path.h"
#include "tests/database/database_test_util.h"

namespace shogi {
namespace {

TEST(SearchDatesTest, FieldsAreCheckedInOrderAndTheFirstFailureNamesItsField) {
  struct Case {
    const char *start_year, *start_month, *end_year, *end_month;
    const char* message;  // nullptr: accepted
    const char* caption;
    SearchField field;
    SearchDates dates;
  } cases[] = {
      {"", "x", "", "", nullptr, "", SearchField::kNone, {}},  // no date condition
      {"2000", "4", "2000", "3", "範囲指定が間違ってます。", "対局日", SearchField::kEndMonth, {}},
      {"２０００",
       "4",
       "2001",
       "3",
       "整数を入力してください。",
       "開始年",
       SearchField::kStartYear,
       {}},
      {"20a0", "4", "2001", "3", "整数を入力してください。", "開始年", SearchField::kStartYear, {}},
      {"12345678",
       "1",
       "2001",
       "3",
       "整数を入力してください。",
       "開始年",
       SearchField::kStartYear,
       {}},
      {"-1", "1", "2001", "3", "整数を入力してください。", "開始年", SearchField::kStartYear, {}},
      {"0",
       "x",
       "2001",
       "3",
       "1～2099の範囲で入力してください。",
       "開始年",
       SearchField::kStartYear,
       {}},
      {"2100",
       "1",
       "2001",
       "3",
       "1～2099の範囲で入力してください。",
       "開始年",
       SearchField::kStartYear,
       {}},
      {"2000", "", "2001", "3", "整数を入力してください。", "開始月", SearchField::kStartMonth, {}},
      {"2000",
       "13",
       "x",
       "3",
       "1～12の範囲で入力してください。",
       "開始月",
       SearchField::kStartMonth,
       {}},
      {"2000", "1", "", "3", "整数を入力してください。", "終了年", SearchField::kEndYear, {}},
      {"2000",
       "1",
       "0",
       "x",
       "1～2099の範囲で入力してください。",
       "終了年",
       SearchField::kEndYear,
       {}},
      {"2000", "1", "2001", " 3", "整数を入力してください。", "終了月", SearchField::kEndMonth, {}},
      {"2000",
       "1",
       "2001",
       "0",
       "1～12の範囲で入力してください。",
       "終了月",
       SearchField::kEndMonth,
       {}},
      {"1999", "12", "1999", "12", nullptr, "", SearchField::kNone, {1999, 12, 1999, 12}},
      {"0001999", "01", "2099", "12", nullptr, "", SearchField::kNone, {1999, 1, 2099, 12}},
  };
  for (const Case& c : cases) {
    SearchConditions conditions;
    conditions.StartYear = Cp932(c.start_year);
    conditions.StartMonth = c.start_month;
    conditions.EndYear = c.end_year;
    conditions.EndMonth = c.end_month;
    SearchDates dates{9, 9, 9, 9};
    SearchCheckFailure failure;
    const int rc = CheckSearchDates(conditions, dates, failure);
    SCOPED_TRACE(std::string(c.start_year) + " " + c.start_month + " " + c.end_year + " " +
                 c.end_month);
    EXPECT_EQ(rc, c.message == nullptr ? 0 : 1);
    EXPECT_EQ(failure.Message, c.message == nullptr ? "" : c.message);
    EXPECT_EQ(failure.Caption, c.caption);
    EXPECT_EQ(failure.Field, c.field);
    EXPECT_EQ(dates.StartYear, c.dates.StartYear);
    EXPECT_EQ(dates.StartMonth, c.dates.StartMonth);
    EXPECT_EQ(dates.EndYear, c.dates.EndYear);
    EXPECT_EQ(dates.EndMonth, c.dates.EndMonth);
  }
}

TEST(DialogNameNumberTest, NamesAreComparedWholeWithoutSpacesInNumberOrder) {
  const auto entry = [](int number, const char* utf8) {
    return NameEntry{number, Cp932(utf8), SqueezeSpaces(Cp932(utf8))};
  };
  const std::vector<NameEntry> entries = {
      entry(7, "山田　太郎"), entry(3, "山田 太郎"), entry(5, "佐藤"),
      entry(5, "鈴木"),       entry(0, "なし"),      entry(9, "一二三四五六七八九十"),
      entry(1000, "範囲外"),
  };
  struct Case {
    const char* name;
    int lowest, highest, number;
  } cases[] = {
      {"山田太郎", 1, 999, 3},  // number order, not file order
      {" 山田　太郎 ", 1, 999, 3},
      {"山田", 1, 999, 0},  // no containment
      {"佐藤", 1, 999, 0},  // the later line of a number takes its place
      {"鈴木", 1, 999, 5},
      {"なし", 1, 99, 0},
      {"なし", 0, 99, 0},
      {"一二三四五六七八九十", 1, 99, 9},  // longer than the dialog's 16 bytes
      {"一二三四五六七八", 1, 99, 0},
      {"範囲外", 1, 999, 0},
      {"　", 1, 999, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DialogNameNumber(entries, Cp932(c.name), c.lowest, c.highest), c.number) << c.name;
  }
}

using SearchDialogTest = test::DatabaseFolderTest;

TEST_F(SearchDialogTest, ConditionsBecomeTheNumbersOrTextsOfTheDatabase) {
  WriteGoldenLists();
  WriteList("SENKEI.DAT", "0   力戦\r\n07  矢倉\r\n09  力戦\r\n");
  // A dialog reads list lines of up to 99 bytes: a name from byte 90 still counts.
  WriteList("棋戦.DAT", "1  竜王戦\r\n5  第10期　名人戦\r\n8" + std::string(89, ' ') + "王座\r\n");
  SearchConditions conditions;
  conditions.Player1 = Cp932("羽生善治");
  conditions.Player2 = Cp932(" 谷川 浩司");
  conditions.Tournament = Cp932("第10期名人戦");
  conditions.Opening = Cp932("矢倉");
  const SearchDates dates{2000, 1, 2001, 2};
  const SearchTerms kisen = ResolveSearchTerms(kKisenFormat, Folder(), conditions, dates);
  EXPECT_TRUE(kisen.PlayerNumbers);
  EXPECT_EQ(kisen.PlayerNumber[0], 12);
  EXPECT_EQ(kisen.PlayerNumber[1], 3);
  EXPECT_EQ(kisen.Tournament, 0);  // KISEN.DAT names it 名人戦
  EXPECT_EQ(kisen.Opening, 7);
  EXPECT_EQ(kisen.Dates.EndMonth, 2);
  const SearchTerms tarvel = ResolveSearchTerms(kTarvelFormat, Folder(), conditions, dates);
  EXPECT_FALSE(tarvel.PlayerNumbers);
  EXPECT_EQ(Utf8(tarvel.PlayerName[0]), "羽生善治");
  EXPECT_EQ(Utf8(tarvel.PlayerName[1]), "谷川浩司");
  EXPECT_EQ(tarvel.Tournament, 5);
  EXPECT_EQ(tarvel.Opening, 7);
  conditions.Tournament = Cp932("王座");
  conditions.Opening = Cp932("力戦");
  EXPECT_EQ(ResolveSearchTerms(kTarvelFormat, Folder(), conditions, dates).Tournament, 8);
  // Openings are looked up from number 0, which is no condition.
  EXPECT_EQ(ResolveSearchTerms(kKisenFormat, Folder(), conditions, dates).Opening, 0);
  EXPECT_TRUE(tarvel.Any());
  EXPECT_FALSE(SearchTerms{}.Any());
}

TEST_F(SearchDialogTest, CombosOfferAnEmptyLineAndTheNamesOfTheDatabasesLists) {
  WriteGoldenLists();
  WriteList("棋士名.DAT", "大山康晴  \r\n\r\n升田幸三\r\n");
  WriteList("KISEN.DAT", "+01 第10期\r\n05 名人戦　\r\n06\r\n");
  WriteList("SENKEI/SENKEI.DAT", "01  振り飛車\r\n");  // SENKEI.DAT comes first
  const auto joined = [](const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names) text += "|" + Utf8(name);
    return text;
  };
  const SearchChoices kisen = LoadSearchChoices(kKisenFormat, Folder());
  EXPECT_EQ(joined(kisen.Players), "||谷川浩司|羽生　善治");
  EXPECT_EQ(joined(kisen.Tournaments), "||名人戦");
  EXPECT_EQ(joined(kisen.Openings), "||矢倉");
  std::filesystem::remove(FilePath(Folder() + "SENKEI.DAT"));
  EXPECT_EQ(joined(LoadSearchChoices(kKisenFormat, Folder()).Openings), "||振り飛車");
  const SearchChoices tarvel = LoadSearchChoices(kTarvelFormat, Folder());
  EXPECT_EQ(joined(tarvel.Players), "||大山康晴|升田幸三");
  EXPECT_EQ(joined(tarvel.Tournaments), "||竜王戦|第10期　名人戦");
  EXPECT_EQ(joined(tarvel.Openings), "||矢倉");
  std::filesystem::remove(FilePath(Folder() + "棋士名.DAT"));
  EXPECT_EQ(joined(LoadSearchChoices(kTarvelFormat, Folder()).Players), "|");
}

}  // namespace
}  // namespace shogi
