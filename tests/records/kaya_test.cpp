// The Kaya file: its record lines against lines written by hand, every line kind of the
// reader, the list, and the rewrites (append, replace) with their failures.
#include "records/kaya.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/cp932.h"
#include "platform/replacing_file.h"
#include "records/record_io.h"
#include "rules/handicap.h"
#include "rules/sfen.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::Cp;
using test::FileBytes;
using test::Lines;
using test::MakeRecord;
using test::TestData;
using test::PutFileBytes;

constexpr const char kTwentyThree[] =
    "7g7f 3c3d 2g2f 8c8d 2f2e 8d8e 6i7h 4a3b 2e2d 2c2d 2h2d 8e8f 8g8f 8b8f 2d3d 2b8h+ 7i8h "
    "8f8h+ 3d3b+ 3a3b P*8g 8h8i 5i5h";

GameRecord TwentyThreeMoves() {
  GameRecord r = MakeRecord("startpos", kTwentyThree);
  CopyCp932Field(r.FirstName, Cp("先手"));
  CopyCp932Field(r.SecondName, Cp("後手"));
  CopyCp932Field(r.Tournament, Cp("練習"));
  r.Year = 2026, r.Month = 4, r.Day = 9;
  r.ResultCode = kResultFirstWins;
  return r;
}

TEST(KayaWriter, WritesTenMovesALine) {
  std::string bytes, message;
  ASSERT_EQ(FormatKaya(TwentyThreeMoves(), bytes, message), 0);
  EXPECT_EQ(Utf8(bytes),
            Utf8(Lines({"## Kaelmo for Windows me Ver1.32", "#:練習", "N:26-04-09 10:00:00",
                        "U:26-04-09 14:00:00", "S:先手", "G:後手", "C:0",
                        "K:7776 3334 2726 8384 2625 8485 6978 4132 2524 2324 ",
                        "  2824 8586 8786 8286 2434 2288+7988 8688+3432+3132 ", "  0187 8889 5958 ",
                        "##"})));
}

TEST(KayaWriter, WritesTheStartAndTheResult) {
  struct Case {
    const char* what;
    GameRecord record;
    std::vector<std::string> lines;  // the lines after "G:" up to "K:"
  };
  GameRecord repetition = MakeRecord("startpos", "2h5h");
  repetition.ResultCode = kResultRepetition;
  GameRecord impasse = MakeRecord("startpos", "2h5h");
  impasse.ResultCode = kResultImpasse;
  GameRecord gote_won = MakeRecord(test::HandicapSfen(Handicap::kTenPieces), "5a5b");
  gote_won.ResultCode = kResultSecondWins;
  const Case cases[] = {
      {"repetition", repetition, {"C:1"}},
      {"impasse has no result line", impasse, {}},
      {"ten pieces, gote won", gote_won, {"C:0", "I:9"}},
  };
  for (const Case& c : cases) {
    std::string bytes, message;
    ASSERT_EQ(FormatKayaRecord(c.record, bytes, message), 0) << c.what;
    const std::size_t from = bytes.find("\r\nG:");
    const std::size_t after = bytes.find("\r\n", from + 2) + 2;
    const std::size_t moves = bytes.find("K:");
    std::string expected;
    for (const std::string& l : c.lines) expected += l + "\r\n";
    EXPECT_EQ(bytes.substr(after, moves - after), expected) << c.what;
  }
}

// A position of its own keeps board and hands through the "B:" diagram; gote may not start one.
TEST(KayaWriter, KeepsAPositionOfItsOwnAndRefusesOneGoteStarts) {
  const GameRecord own =
      MakeRecord("ln2k3l/4g4/p1+Pp1p+R1p/9/9/9/P8/1+b7/L3K3L b 2GS3Pr2s4p 1", "G*5c 5b5c");
  std::string bytes, message;
  ASSERT_EQ(FormatKaya(own, bytes, message), 0);
  MemoryByteStream stream(bytes);
  GameRecord read = test::SentinelRecord();
  ASSERT_EQ(ReadKaya(stream, read, message), 0) << message;
  EXPECT_EQ(ToSfen(read.InitialPosition, kFirst), ToSfen(own.InitialPosition, kFirst));
  EXPECT_EQ(test::UsiMoves(read), "G*5c 5b5c");

  const GameRecord gote_first = MakeRecord("4k4/9/9/9/9/9/9/9/4K4 w G 1", "5a4a");
  EXPECT_NE(FormatKaya(gote_first, bytes, message), 0);
  EXPECT_EQ(message, "後手番から始まる棋譜はサポートしていません。");
}

// Every move of a game is written, beyond 256 too, and read back.
TEST(KayaWriter, WritesEveryMoveOfALongGame) {
  std::string usi;
  for (int i = 0; i < 75; ++i) usi += "2h3h 8b7b 3h2h 7b8b ";
  const GameRecord game = MakeRecord("startpos", usi);
  std::string bytes, message;
  ASSERT_EQ(FormatKaya(game, bytes, message), 0);
  MemoryByteStream stream(bytes);
  GameRecord read = test::SentinelRecord();
  ASSERT_EQ(ReadKaya(stream, read, message), 0) << message;
  EXPECT_EQ(RecordMoveCount(read), 300);
  EXPECT_EQ(test::UsiMoves(read), test::UsiMoves(game));
}

TEST(KayaReader, ReadsEveryLineKind) {
  struct Case {
    int number;
    const char* sfen;
    const char* moves;
    int result;
    const char* title;
    const char* first;
  };
  const Case cases[] = {
      {1, "startpos", "7g7f 3c3d 8h2b+ 3a2b", kResultSecondWins, "第1局 練習対局", "先手一郎"},
      // A handicap game gote started: two moves read, but sente made the last one and won.
      {2, test::HandicapSfen(Handicap::kBishop), "3c3d 7g7f", kResultFirstWins, "第2局",
       "上手三郎"},
      {3, "startpos", "2g2f 8c8d", kResultRepetition, "千日手の対局", "甲"},
  };
  for (const Case& c : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    ASSERT_EQ(ReadKayaRecord(test::TestDataPath("kaya/three.kaya"), c.number, r, message), 0)
        << message;
    EXPECT_EQ(ToSfen(r.InitialPosition, SideOfPly(r.StartIndex)),
              ToSfen(test::FromSfen(c.sfen).pos, SideOfPly(r.StartIndex)))
        << c.number;
    EXPECT_EQ(test::UsiMoves(r), c.moves) << c.number;
    EXPECT_EQ(r.ResultCode, c.result) << c.number;
    EXPECT_EQ(Utf8(FieldText(r.Tournament)), c.title);
    EXPECT_EQ(Utf8(FieldText(r.FirstName)), c.first);
    EXPECT_EQ(r.PlyCount, r.StartIndex);
  }
}

TEST(KayaReader, RefusesWhatItCannotRead) {
  const std::string head = Lines({"##", "#:t", "S:a", "G:b"});
  const std::string cases[] = {
      head + Lines({"K:7776 3334 7x77 "}),  // not a digit
      head + Lines({"K:7776 7776 "}),       // gote moves a piece it does not have
      head + Lines({"I:12", "K:3334 "}),    // no such handicap
      head + Lines({"K:0976 "}),            // a drop of piece type 9
      head + Lines({"K:7706 "}),            // rank 0
      Lines({"##", "S:a"}),                 // no game at all
      // A "B:" diagram that ends before rank 9, at the next record line or at the game's end.
      head + Lines({"B:", "  ９ ８ ７ ６ ５ ４ ３ ２ １", "　・・・・玉・・・・一0000", "K:5958 "}),
      head + Lines({"B:", "  ９ ８ ７ ６ ５ ４ ３ ２ １", "　・・・・玉・・・・一0000"}),
  };
  for (const std::string& bytes : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    MemoryByteStream stream(bytes);
    EXPECT_EQ(ReadKaya(stream, r, message), 1) << bytes;
    EXPECT_EQ(message, "ファイルに異常があります。");
    EXPECT_TRUE(SameRecord(r, test::SentinelRecord()));
  }
  GameRecord r = test::SentinelRecord();
  std::string message;
  EXPECT_EQ(ReadKayaRecord(test::TestDataPath("kaya/three.kaya"), 4, r, message), 1);
}

TEST(KayaList, ListsEveryGame) {
  std::string header, message;
  std::vector<std::string> rows;
  ASSERT_EQ(ListKayaRecords(test::TestDataPath("kaya/three.kaya"), header, rows, message), 0);
  EXPECT_EQ(header, "NO. 先手                   後手                   棋戦");
  ASSERT_EQ(rows.size(), 3u);
  // Padding counts cp932 bytes: 先手一郎 is 8 of the 22.
  EXPECT_EQ(rows[0], "  1 先手一郎               後手二郎               第1局 練習対局");
  EXPECT_EQ(rows[2], "  3 甲                     乙                     千日手の対局");
  EXPECT_EQ(CountKayaRecords(test::TestDataPath("kaya/three.kaya"), message), 3);

  const test::TempFolder dir;
  const std::string empty = dir.Path() + "empty.kay";
  ASSERT_EQ(WriteRecordFile(empty, Lines({"## nothing", "##"}), message), 0);
  EXPECT_EQ(CountKayaRecords(empty, message), 0);
  EXPECT_EQ(message, "表示対象データがありません。");
  EXPECT_EQ(CountKayaRecords(dir.Path() + "none.kay", message), -1);
  EXPECT_EQ(message, "指定ファイルが存在しません。");
}

// The games of a file between its "#:" lines, with their line ends.
std::vector<std::string> GamesOf(const std::string& bytes) {
  std::vector<std::string> games;
  std::size_t at = bytes.find("#:");
  while (at != std::string::npos) {
    std::size_t next = bytes.find("\n#", at);
    next = next == std::string::npos ? bytes.size() : next + 1;
    games.push_back(bytes.substr(at, next - at));
    at = bytes.find("#:", next);
  }
  return games;
}

class KayaRewrite : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = dir_.Path() + "games.kay";
    std::filesystem::copy_file(test::TestDataPath("kaya/three.kaya"), path_);
    old_ = FileBytes(path_);
    std::string message;
    ASSERT_EQ(FormatKayaRecord(TwentyThreeMoves(), game_, message), 0);
  }
  void TearDown() override { SetReplaceFaultHook(nullptr); }

  test::TempFolder dir_;
  std::string path_, old_, game_;
};

TEST_F(KayaRewrite, AppendPutsTheGameFirst) {
  std::string message;
  ASSERT_EQ(WriteKaya(path_, TwentyThreeMoves(), KayaWriteMode::kAppend, 0, message), 0);
  const std::vector<std::string> before = GamesOf(old_), after = GamesOf(FileBytes(path_));
  ASSERT_EQ(after.size(), 4u);
  EXPECT_EQ(after[0], game_);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(after[i + 1], before[i]) << i;
  EXPECT_EQ(FileBytes(path_).substr(0, 34), old_.substr(0, 34));  // the first line stays
}

// Every game, the first, a middle one and the last (before the closing "##"), is replaced in
// place; all other bytes stay.
TEST_F(KayaRewrite, ReplaceKeepsTheOtherGamesByteForByte) {
  const std::vector<std::string> before = GamesOf(old_);
  for (int n = 1; n <= 3; ++n) {
    std::string message;
    PutFileBytes(path_, old_);
    ASSERT_EQ(WriteKaya(path_, TwentyThreeMoves(), KayaWriteMode::kReplace, n, message), 0);
    const std::size_t at = old_.find(before[n - 1]);
    EXPECT_EQ(FileBytes(path_), old_.substr(0, at) + game_ + old_.substr(at + before[n - 1].size()))
        << n;
    GameRecord r;
    ASSERT_EQ(ReadKayaRecord(path_, n, r, message), 0) << message;
    EXPECT_EQ(test::UsiMoves(r), kTwentyThree);
  }
}

TEST_F(KayaRewrite, FailuresLeaveTheFileAsItWas) {
  const std::string no_header = dir_.Path() + "plain.kay";
  std::string message;
  ASSERT_EQ(WriteRecordFile(no_header, Lines({"#:x", "K:7776 "}), message), 0);
  const std::string bad_name = dir_.Path() + "games.kaya";
  std::filesystem::copy_file(path_, bad_name);
  struct Case {
    std::string path;
    KayaWriteMode mode;
    int number;
    const char* message;
  };
  const Case cases[] = {
      {path_, KayaWriteMode::kReplace, 4, "該当レコードが見つかりません。"},
      {bad_name, KayaWriteMode::kAppend, 0, "ファイル名に異常があります。"},
      {no_header, KayaWriteMode::kAppend, 0, "ファイル形式が異なります。"},
      {dir_.Path() + "none.kay", KayaWriteMode::kAppend, 0, "指定ファイルが存在しません。"},
  };
  for (const Case& c : cases) {
    const std::string before = std::filesystem::exists(c.path) ? FileBytes(c.path) : "";
    EXPECT_EQ(WriteKaya(c.path, TwentyThreeMoves(), c.mode, c.number, message), 1) << c.path;
    EXPECT_EQ(message, c.message);
    if (!before.empty()) {
      EXPECT_EQ(FileBytes(c.path), before);
    }
  }
  // The new file cannot take the old one's place: the old one stays whole.
  SetReplaceFaultHook([](ReplaceStep step) { return step != ReplaceStep::kRename; });
  EXPECT_EQ(WriteKaya(path_, TwentyThreeMoves(), KayaWriteMode::kAppend, 0, message), 1);
  EXPECT_EQ(message, "ファイルが作成できません。");
  EXPECT_EQ(FileBytes(path_), old_);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.Path()),
                          std::filesystem::directory_iterator()),
            3);  // no temporary left behind
}

TEST(KayaOutput, AppendsOneRecordWithItsOwnLines) {
  const test::TempFolder dir;
  const std::string path = dir.Path() + "out.txt";
  std::string message, game;
  ASSERT_EQ(WriteRecordFile(path, "before\r\n", message), 0);
  ASSERT_EQ(WriteKayaOutput(path, TwentyThreeMoves(), message), 0);
  ASSERT_EQ(FormatKayaRecord(TwentyThreeMoves(), game, message), 0);
  EXPECT_EQ(FileBytes(path),
            "before\r\n## Kaelmo for Windows me Ver1.19\r\n" + game + "##\r\n\r\n\r\n");
}

}  // namespace
}  // namespace shogi
