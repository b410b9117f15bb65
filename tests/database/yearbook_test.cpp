// The yearbook import: the title's tournament, game number and handicap, the records and
// blocks written from yearbook files made by hand from their layout, and where it stops.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

#include "database/yearbook.h"
#include "database_files/tarvel.h"
#include "platform/cp932.h"
#include "platform/replacing_file.h"
#include "records/record_io.h"
#include "tests/database/database_test_util.h"

namespace shogi {
namespace {

using test::YearbookGame;

TEST(YearbookTitleTest, TournamentGameNumberAndHandicapComeFromTheTitle) {
  struct Case {
    const char* title;
    int tournament, game_number;
    bool bishop;
  } cases[] = {
      {"第４０期王位戦七番勝負第３局", 4, 3, false},
      {"女流名人戦", 25, 0, false},           // 女流 is tested before 名人戦
      {"女流アマ名人戦第二局", 0, 2, false},  // and 女流アマ名人戦 before 女流
      {"アマチュア名人戦第1局", 33, 1, false},
      {"名人戦第１局第2局", 1, 1, false},  // full-width digits first
      {"竜王戦第九局第8局", 5, 9, false},  // kanji digits before ASCII ones
      {"ＮＨＫ杯", 10, 0, false},
      {"角落ち特別対局", 0, 0, true},
      {"x角落ち", 0, 0, false},  // 角落 at an odd byte is not seen
      {"記念対局", 0, 0, false},
  };
  for (const Case& c : cases) {
    const YearbookTitle read = ReadYearbookTitle(Cp932(c.title));
    EXPECT_EQ(read.Tournament, c.tournament) << c.title;
    EXPECT_EQ(read.GameNumber, c.game_number) << c.title;
    EXPECT_EQ(read.BishopHandicap, c.bishop) << c.title;
  }
  // Words are found at character boundaries only: "ｱ" (one byte) then the two bytes of "名"
  // hide nothing, but a lead byte swallowing the first byte of a word does.
  EXPECT_EQ(ReadYearbookTitle(std::string("\x82") + Cp932("名人戦")).Tournament, 0);
}

class YearbookTest : public test::DatabaseFolderTest {
 protected:
  YearbookFiles Files(const test::YearbookPaths& p) const {
    return {p.Headers, p.MoveIndex, p.MoveData, Folder() + "out.mix"};
  }
  TarvelIndexRecord Record(int n) const {
    TarvelIndexRecord r;
    const std::string index = test::FileBytes(Folder() + "out.mix");
    EXPECT_GE(index.size(), 40u * (n + 1));
    std::memcpy(&r, index.data() + 40 * n, sizeof r);
    return r;
  }
  std::string Block(int n) const {
    return test::FileBytes(Folder() + "out.mkf").substr(512 * (n - 1), 512);
  }
};

std::string Name(const char (&field)[kTarvelNameBytes]) {
  return Utf8(std::string(field, strnlen(field, kTarvelNameBytes)));
}

TEST_F(YearbookTest, GamesBecomeTarvelRecordsAndBlocks) {
  YearbookGame even;
  even.Title = "第４０期王位戦第３局";
  even.FirstFamily = "羽生";
  even.FirstGiven = "善治";
  even.SecondFamily = "Habu";
  even.SecondGiven = "Yoshiharu";
  even.Year = 2001;
  even.Month = 7;
  even.Day = 31;
  even.Result = 1;
  // 7g7f, 3c3d, 8h2b promoting, a drop of piece code 1 (飛) on 5e, then one more move the
  // header does not count.
  even.Moves = {
      {0x77, 0x67, 0}, {0x33, 0x43, 0}, {0x88, 0x22, 6}, {0, 0x55, 0x10}, {0x11, 0x21, 0}};
  even.DeclaredMoves = 4;
  YearbookGame handicap;
  handicap.Title = "角落ち記念対局";
  handicap.FirstFamily = "大山";
  handicap.Result = 0;  // the yearbook's first player, the handicap giver, won
  handicap.Moves = {{0x33, 0x43, 0}};
  YearbookGame unfinished;
  unfinished.Result = 7;
  const test::YearbookPaths paths = test::WriteYearbookFiles(
      Folder(), {test::NotAGame(), even, handicap, test::NotAGame(), unfinished});
  int converted = 0;
  std::string message;
  ASSERT_EQ(ImportYearbook(Files(paths), converted, {}, message), 0) << message;
  EXPECT_EQ(converted, 3);
  EXPECT_EQ(message, "全部で3局変換しました。");
  EXPECT_EQ(std::filesystem::file_size(Folder() + "out.mix"), 40u * 4);
  EXPECT_EQ(std::filesystem::file_size(Folder() + "out.mkf"), 512u * 3);
  EXPECT_EQ(test::FileBytes(Folder() + "out.mix").substr(0, 4), std::string("\3\0\0\0", 4));

  const TarvelIndexRecord first = Record(1);
  EXPECT_EQ(Name(first.FirstName), "羽生　善治");
  EXPECT_EQ(Name(first.SecondName), "HabuYoshihar");  // cut at 12 bytes
  EXPECT_EQ(first.Tournament.Get(), 4);
  EXPECT_EQ(first.GameNumber.Get(), 3);
  EXPECT_EQ(first.Handicap.Get(), 0);
  EXPECT_EQ(first.Year.Get() * 10000 + first.Month.Get() * 100 + first.Day.Get(), 20010731);
  EXPECT_EQ(first.Result.Get(), kResultSecondWins);
  EXPECT_EQ(first.Opening.Get(), 0);
  // (destination, origin): 52←61, 30←21, 11 promoting (+128)←71, 41←a drop of 飛 (128 + 7).
  const std::string moves = "\x34\x3D\x1E\x15\x8B\x47\x29\x87";
  EXPECT_EQ(Block(1), moves + std::string(512 - 8, '\0'));

  const TarvelIndexRecord second = Record(2);
  EXPECT_EQ(Name(second.FirstName), "大山　");
  EXPECT_EQ(second.Handicap.Get(), 2);
  EXPECT_EQ(second.Result.Get(), kResultSecondWins);  // exchanged: 上手 won
  EXPECT_EQ(Block(2).substr(0, 6), std::string("\xFF\x02\x1E\x15\0\0", 6));
  EXPECT_EQ(Record(3).Result.Get(), kResultNone);
}

TEST_F(YearbookTest, MovesBeyondTheBlocksSlotsAreDropped) {
  YearbookGame game;
  for (int k = 0; k < 300; ++k) game.Moves.push_back({0x77, 0x67, 0});
  YearbookGame handicap = game;
  handicap.Title = "角落";
  const auto paths = test::WriteYearbookFiles(Folder(), {game, handicap});
  int converted = 0;
  std::string message;
  ASSERT_EQ(ImportYearbook(Files(paths), converted, {}, message), 0) << message;
  for (int n : {1, 2}) {
    const std::string block = Block(n);
    int slots = 0;
    for (int s = 0; s < 256; ++s) slots += block[2 * s] != 0;
    EXPECT_EQ(slots, 256) << n;  // 256 moves, or the handicap slot and 255 moves
  }
}

TEST_F(YearbookTest, ShortInputsEndTheImportWithWhatWasConverted) {
  const std::vector<YearbookGame> games(4);
  struct Case {
    int index_games, data_games, converted;
  } cases[] = {{-1, -1, 4}, {2, -1, 2}, {-1, 1, 1}, {0, -1, 0}};
  for (const Case& c : cases) {
    const auto paths =
        test::WriteYearbookFiles(Folder(), games, c.index_games, c.data_games);
    int converted = -1;
    std::string message;
    ASSERT_EQ(ImportYearbook(Files(paths), converted, {}, message), 0) << message;
    EXPECT_EQ(converted, c.converted);
    EXPECT_EQ(message, Printed(kMessageYearbookConverted, c.converted));
    EXPECT_EQ(std::filesystem::file_size(Folder() + "out.mix"), 40u * (c.converted + 1));
  }
  // A move index without even its header holds no games.
  const auto paths = test::WriteYearbookFiles(Folder(), games);
  test::PutFileBytes(paths.MoveIndex, "1234");
  int converted = -1;
  std::string message;
  EXPECT_EQ(ImportYearbook(Files(paths), converted, {}, message), 0);
  EXPECT_EQ(converted, 0);
}

TEST_F(YearbookTest, MissingInputsAndFilesThatCannotBeMadeCreateNothing) {
  const auto paths = test::WriteYearbookFiles(Folder(), std::vector<YearbookGame>(1));
  const std::string gone = Folder() + "gone.dat";
  struct Case {
    YearbookFiles files;
    std::string missing;
  } cases[] = {
      {{gone, gone, gone, Folder() + "out.mix"}, gone},
      {{paths.Headers, gone, paths.MoveData, Folder() + "out.mix"}, gone},
      {{gone, paths.MoveIndex, paths.MoveData, Folder() + "out.mix"}, gone},
  };
  for (const Case& c : cases) {
    int converted = -1;
    std::string message;
    EXPECT_EQ(ImportYearbook(c.files, converted, {}, message), 1);
    EXPECT_EQ(message, Printed(kMessageYearbookMissing, c.missing.c_str()));
    EXPECT_FALSE(std::filesystem::exists(Folder() + "out.mix"));
    EXPECT_FALSE(std::filesystem::exists(Folder() + "out.mkf"));
  }
  // ファイル名３ is opened first.
  int converted = 0;
  std::string message;
  EXPECT_EQ(ImportYearbook(
                {Folder() + "h.dat", Folder() + "i.dat", Folder() + "m.dat", Folder() + "o.mix"},
                converted, {}, message),
            1);
  EXPECT_EQ(message, Printed(kMessageYearbookMissing, (Folder() + "m.dat").c_str()));

  // The new files that cannot be made: the staging folder, the index, the move file, each
  // refused in turn.
  struct Refused {
    int creation;
    std::string message;
  } refusals[] = {
      {0, Printed(kMessageYearbookIndexUncreatable, (Folder() + "out.mix").c_str())},
      {1, Printed(kMessageYearbookIndexUncreatable, (Folder() + "out.mix").c_str())},
      {2, Printed(kMessageYearbookMovesUncreatable, (Folder() + "out.mkf").c_str())},
  };
  static int refused_creation;
  for (const Refused& r : refusals) {
    refused_creation = r.creation;
    SetReplaceFaultHook(
        [](ReplaceStep step) { return step != ReplaceStep::kCreate || refused_creation-- != 0; });
    EXPECT_EQ(ImportYearbook(Files(paths), converted, {}, message), 1);
    SetReplaceFaultHook(nullptr);
    EXPECT_EQ(message, r.message);
    EXPECT_FALSE(std::filesystem::exists(Folder() + "out.mix"));
    EXPECT_FALSE(std::filesystem::exists(Folder() + "out.mix-rewrite"));
  }

  EXPECT_TRUE(YearbookNamesComplete({"a.da", "b.da", "c.da", "d.mix"}));
  EXPECT_FALSE(YearbookNamesComplete({"a.d", "b.da", "c.da", "d.mix"}));
  EXPECT_FALSE(YearbookNamesComplete({"a.da", "b.da", "c.da", ".mix"}));
}

}  // namespace
}  // namespace shogi
