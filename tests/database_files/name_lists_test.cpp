// TrimRight and the dialog lists read from the program folder's list files.
#include "database_files/name_lists.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/cp932.h"
#include "platform/file_path.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

TEST(NameListsTest, TrimRightDropsTrailingSpacesOfBothWidths) {
  struct Case {
    const char* utf8;
    const char* expected;
  } cases[] = {
      {"山田　太郎　 　", "山田　太郎"},
      {"name  \nrest", "name"},
      {"   ", ""},
      {"", ""},
      {"ﾚﾍﾞﾙ ", "ﾚﾍﾞﾙ"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8(TrimRight(Cp932(c.utf8))), c.expected) << c.utf8;
  }
  // A kanji whose trail byte is 0x81, then "@" (0x40): read backwards the last two bytes
  // look like a wide space, but they are not one.
  const std::string trap = "\x89\x81@";
  EXPECT_EQ(TrimRight(trap + " "), trap);
  EXPECT_EQ(TrimRight("\x81\x40\x81\x40"), "");
}

class ListFolderTest : public ::testing::Test {
 protected:
  void Write(const std::string& name, const std::string& utf8) {
    const std::filesystem::path path = FilePath(folder_.Path() + name);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << Cp932(utf8);
  }
  std::string Folder() const { return folder_.Path(); }
  static std::vector<std::string> Utf8All(const std::vector<std::string>& v) {
    std::vector<std::string> out;
    for (const auto& s : v) out.push_back(Utf8(s));
    return out;
  }
  test::TempFolder folder_;
};

TEST_F(ListFolderTest, PlayersComeFromTheTarvelListElseFromByteSixOfTheKisenList) {
  EXPECT_TRUE(LoadPlayerNames(Folder()).empty());
  Write("KSNAME.DAT", "12    山田　太郎\r\n13    \r\n14    佐藤  \r\n");
  EXPECT_EQ(Utf8All(LoadPlayerNames(Folder())), (std::vector<std::string>{"山田　太郎", "佐藤"}));
  Write("棋士名.DAT", "羽田\n\n  \n木村　一郎　\n");
  EXPECT_EQ(Utf8All(LoadPlayerNames(Folder())), (std::vector<std::string>{"羽田", "木村　一郎"}));
}

TEST_F(ListFolderTest, TournamentsSkipPlusLinesAndStartAtByteThree) {
  Write("KISEN.DAT", "01 名人戦\r\n+02 予備\r\n03 王位戦 \r\n");
  EXPECT_EQ(Utf8All(LoadTournamentNames(Folder())), (std::vector<std::string>{"名人戦", "王位戦"}));
  Write("棋戦.DAT", "1  竜王戦\r\n");  // the Tarvel list wins
  EXPECT_EQ(Utf8All(LoadTournamentNames(Folder())), (std::vector<std::string>{"竜王戦"}));
}

TEST_F(ListFolderTest, OpeningsFallBackToTheSubfolderList) {
  EXPECT_TRUE(LoadOpeningNames(Folder()).empty());
  Write("SENKEI/SENKEI.DAT", "001 矢倉\r\n");
  EXPECT_EQ(Utf8All(LoadOpeningNames(Folder())), (std::vector<std::string>{"矢倉"}));
  Write("SENKEI.DAT", "002 振り飛車\r\n");
  EXPECT_EQ(Utf8All(LoadOpeningNames(Folder())), (std::vector<std::string>{"振り飛車"}));
  Write("戦型.DAT", "003 角換わり\r\n");
  EXPECT_EQ(Utf8All(LoadOpeningNames(Folder())), (std::vector<std::string>{"角換わり"}));
}

TEST_F(ListFolderTest, OverlongLinesAreCutWithoutSplittingACharacter) {
  // 49 kanji (98 bytes) and one more: the line is cut at 99 bytes, which would split the
  // 50th character, so 98 bytes stay.
  std::string line;
  for (int i = 0; i < 50; ++i) line += "漢";
  Write("棋士名.DAT", line + "\r\nnext\r\n");
  std::vector<std::string> names = LoadPlayerNames(Folder());
  ASSERT_EQ(names.size(), 2u);
  EXPECT_EQ(names[0].size(), 98u);
  EXPECT_EQ(names[1], "next");
}

}  // namespace
}  // namespace shogi
