// The KIF writer against files written by hand, and the KIF reader's rules.
#include "records/kif.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/cp932.h"
#include "records/record_io.h"
#include "rules/sfen.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::ReadBytes;
using test::Cp;
using test::EvenGame;
using test::Lines;
using test::MakeRecord;
using test::TestData;

GameRecord ThreeMoves(int result) {
  GameRecord r = MakeRecord("startpos", "7g7f 3c3d 2g2f");
  r.ResultCode = result;
  return r;
}

constexpr const char* kEvenGoteFirst =
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";

GameRecord HandicapGame(Handicap handicap) {
  GameRecord r = MakeRecord(test::HandicapSfen(handicap), "3c3d 7g7f");
  CopyCp932Field(r.FirstName, Cp("山田"));
  CopyCp932Field(r.SecondName, Cp("田中"));
  return r;
}

struct GoldenCase {
  std::string file;
  std::function<GameRecord()> record;
  bool store_times;
};

std::vector<GoldenCase> GoldenCases() {
  std::vector<GoldenCase> cases = {
      {"kif/even.kif", EvenGame, true},
      {"kif/even_no_times.kif", EvenGame, false},
      {"kif/no_moves.kif", [] { return MakeRecord("startpos", ""); }, true},
      {"kif/resigned_gote_wins.kif",
       [] {
         GameRecord r = MakeRecord("startpos", "7g7f 3c3d 2g2f 2b8h+");
         r.ResultCode = kResultSecondWins;
         return r;
       },
       false},
      {"kif/even_gote_first.kif", [] { return MakeRecord(kEvenGoteFirst, "3c3d 7g7f"); }, true},
      {"kif/other_diagram.kif",
       [] {
         GameRecord r = MakeRecord("4k4/9/4+P4/9/9/9/9/9/+L7+b b R2G11P 1", "G*5b");
         r.ResultCode = kResultFirstWins;
         return r;
       },
       false},
      {"kif/other_gote_first.kif",
       [] { return MakeRecord("4kg3/9/9/9/9/9/9/9/3GK4 w 2Lb10p 1", "4a4b"); }, true},
  };
  // Codes 5..7 are written as 中断 and 8 as 持将棋.
  const char* const kResultFiles[kResultCodeCount] = {"suspended",  "resigned",  "resigned",
                                                      "repetition", "impasse",   "suspended",
                                                      "suspended",  "suspended", "impasse"};
  for (int code = 0; code < kResultCodeCount; ++code) {
    cases.push_back({std::string("kif/result_") + kResultFiles[code] + ".kif",
                     [code] { return ThreeMoves(code); }, false});
  }
  for (int i = 1; i <= 7; ++i) {
    cases.push_back({"kif/handicap_" + std::to_string(i) + ".kif",
                     [i] { return HandicapGame(static_cast<Handicap>(i)); }, true});
  }
  return cases;
}

TEST(KifWriter, WritesFilesByteForByte) {
  for (const GoldenCase& c : GoldenCases()) {
    EXPECT_EQ(Utf8(FormatKif(c.record(), c.store_times)), Utf8(TestData(c.file))) << c.file;
  }
}

TEST(KifWriter, RoundTripsEveryFileThroughTheReader) {
  for (const GoldenCase& c : GoldenCases()) {
    const GameRecord written = c.record();
    GameRecord read = test::SentinelRecord();
    std::string message;
    const std::string bytes = TestData(c.file);
    MemoryByteStream stream(bytes);
    ASSERT_EQ(ReadKif(stream, read, message), 0) << c.file << message;
    // Written again, the record read gives the same bytes: position, side, names, moves,
    // result and (where stored) times came back.
    EXPECT_EQ(test::UsiMoves(read), test::UsiMoves(written)) << c.file;
    EXPECT_EQ(FormatKif(read, c.store_times), bytes) << c.file;
    EXPECT_EQ(read.PlyCount, written.StartIndex) << c.file;
    EXPECT_EQ(FieldText(read.Tournament), "") << c.file;
  }
}

TEST(KifWriter, WritesThroughATemporaryFileAndKeepsTheOldOneOnFailure) {
  const test::TempFolder dir;
  std::string message;
  ASSERT_EQ(WriteKif(dir.Path() + "game.kif", EvenGame(), true, message), 0) << message;
  EXPECT_EQ(test::FileBytes(dir.Path() + "game.kif"), TestData("kif/even.kif"));
  EXPECT_TRUE(test::FileBytes(dir.Path() + "game.kif.tmp").empty());
  EXPECT_EQ(WriteKif(dir.Path() + "missing/game.kif", EvenGame(), true, message), 1);
  EXPECT_EQ(message, "ファイルが作成できません。");
}

std::string KifWithMoves(std::initializer_list<std::string_view> move_lines) {
  std::string text = Lines(
      {"# header", "手合割：平手", "先手：甲", "後手：乙", "手数----指手---------消費時間--"});
  for (std::string_view l : move_lines) text += Cp(l) + "\r\n";
  return text;
}

TEST(KifReader, TakesTimesOnlyWhenEverySeparatorIsInPlace) {
  struct Case {
    const char* line;
    int seconds;
  };
  const Case cases[] = {
      {"   1 ７六歩(77)   ( 0:10/00:01:10)", 70},
      {"   1 ７六歩(77)   ( 0:10/01:02:03)+", 3723},
      {"   1 ７六歩(77)   (120:00/02:01:10)", 7270},  // a think of two hours
      {"   1 ７六歩(77)   ( 0:10/00:01:10", 0},
      {"   1 ７六歩(77)   ( 0:10 00:01:10)", 0},
      {"   1 ７六歩(77)   ( 0:10/00-01:10)", 0},
      {"   1 ７六歩(77)   ( 0:10/00:01-10)", 0},
      {"   1 ７六歩(77)   ( 0:10/0a:01:10)", 0},
      {"   1 ７六歩(77)  ( 0:10/00:01:10)", 0},
      {"   1 ７六歩(77)", 0},
  };
  for (const Case& c : cases) {
    GameRecord r;
    std::string message;
    ASSERT_EQ(ReadBytes<ReadKif>(KifWithMoves({c.line}), r, message), 0) << c.line;
    EXPECT_EQ(test::UsiMoves(r), "7g7f") << c.line;
    EXPECT_EQ(r.MoveTimes[0], c.seconds) << c.line;
  }
}

TEST(KifReader, EndWordsSetTheResultByTheSideToMove) {
  struct Case {
    const char* word;
    int moves;
    int result;
  };
  const Case cases[] = {{"投了", 1, kResultFirstWins},      {"投了", 2, kResultSecondWins},
                        {"詰み", 1, kResultFirstWins},      {"詰み", 0, kResultSecondWins},
                        {"中断", 1, kResultNone},           {"千日手", 2, kResultRepetition},
                        {"持将棋", 2, kResultImpasse},      {"不詰", 1, kResultNone},
                        {"切れ負け", 1, kResultFirstWins},  {"切れ負け", 2, kResultSecondWins},
                        {"反則負け", 2, kResultSecondWins}, {"反則勝ち", 1, kResultSecondWins},
                        {"反則勝ち", 2, kResultFirstWins},  {"入玉勝ち", 1, kResultSecondWins},
                        {"詰", 2, kResultSecondWins}};
  for (const Case& c : cases) {
    std::string text = KifWithMoves({});
    if (c.moves >= 1) text += Cp("   1 ７六歩(77)   ( 0:00/00:00:00)\r\n");
    if (c.moves >= 2) text += Cp("   2 ３四歩(33)   ( 0:00/00:00:00)\r\n");
    text += Cp(std::string("   9 ") + c.word + "\r\n   9 ２六歩(27)\r\n");
    GameRecord r;
    std::string message;
    ASSERT_EQ(ReadBytes<ReadKif>(text, r, message), 0) << c.word;
    EXPECT_EQ(r.ResultCode, c.result) << c.word << c.moves;
    EXPECT_EQ(RecordMoveCount(r), c.moves) << "nothing after the end line is read";
  }
}

TEST(KifReader, TheMainLineEndsAtTheFirstVariation) {
  const std::string text =
      KifWithMoves({"   1 ７六歩(77)", "   2 ３四歩(33)", "", "変化：2手", "   2 ８四歩(83)"});
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKif>(text, r, message), 0) << message;
  EXPECT_EQ(test::UsiMoves(r), "7g7f 3c3d");
}

TEST(KifWriter, KeepsLineEndsOutOfNames) {
  GameRecord r = MakeRecord("startpos", "");
  CopyCp932Field(r.FirstName, "a\r\nb");
  EXPECT_NE(FormatKif(r, false).find("\r\n" + Cp("先手：") + "a\r\n" + Cp("後手：")),
            std::string::npos);
}

TEST(KifReader, StopsAfter500Moves) {
  std::string text = KifWithMoves({});
  const char* const shuffle[4] = {"３八飛(28)", "７二飛(82)", "２八飛(38)", "８二飛(72)"};
  for (int i = 0; i < 501; ++i) {
    char number[8];
    std::snprintf(number, sizeof number, "%4d ", i + 1);
    text += number + Cp(shuffle[i % 4]) + "\r\n";
  }
  text += Cp(" 502 投了\r\n");
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKif>(text, r, message), 0) << message;
  EXPECT_EQ(RecordMoveCount(r), 500);
  EXPECT_TRUE(IsEndMarker(r.MoveList[500]));
  EXPECT_EQ(r.ResultCode, kResultNone);
}

TEST(KifReader, FailuresLeaveTheRecordAsItWas) {
  const std::string header = Lines({"# header", "手合割：平手", "手数----指手---------消費時間--"});
  const std::string cases[] = {
      "",
      Lines({"abc", "手合割：平手", "手数----指手---------消費時間--"}),  // no KIF first line
      Lines({"# header", "手合割：七枚落ち", "手数----指手---------消費時間--"}),  // no diagram
      Lines({"# header", "手合割：平手", "先手：甲"}),  // no moves section
      header + Lines({"   1 ７六歩(77)", "   2 ３四歩(3)"}),
      header + Lines({"   1 ７六歩(77)", "&読み込み時表示"}) + "",
      Lines({"# header", "手合割：その他", "手数----指手---------消費時間--"}),
      Lines({"# header", "手合割：その他", "後手の持駒：なし", "| ・ ・ ・ ・v玉 ・ ・ ・王|",
             "先手の持駒：なし", "手数----指手---------消費時間--"}),
      Lines({"# header", "手合割：その他", "後手の持駒：なし", "| ・ ・ ・ ・v玉",
             "先手の持駒：なし", "手数----指手---------消費時間--"}),
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    const int rc = i == 5 ? ReadBytes<ReadKifUrl>(cases[i], r, message)
                          : ReadBytes<ReadKif>(cases[i], r, message);
    test::ExpectReadOutcome(rc, r, message, -1, "case " + std::to_string(i));
  }
}

TEST(KifReader, KingsOfADiagramAreTheFirstOnTheirSquares) {
  // Two kings of each side: the lowest square of each is the king square.
  const char* const empty = "| ・ ・ ・ ・ ・ ・ ・ ・ ・|";
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKif>(Lines({"# h", "手合割：その他", "後手の持駒：なし",
                            "|v玉 ・ ・ ・v玉 ・ ・ ・ ・|一", empty, empty, empty, empty, empty,
                            empty, empty, "| 玉 ・ ・ ・ 玉 ・ ・ ・ ・|九", "先手の持駒：なし",
                            "手数----指手---------消費時間--"}),
                     r, message),
            0)
      << message;
  EXPECT_EQ(r.InitialPosition.King[kFirst], SquareOf(5, 9));
  EXPECT_EQ(r.InitialPosition.King[kSecond], SquareOf(5, 1));
  ASSERT_EQ(ReadBytes<ReadKif>(FormatKif(MakeRecord("9/9/9/9/9/9/9/9/9 b - 1", ""), false), r, message), 0) << message;
  EXPECT_EQ(r.InitialPosition.King[kFirst], kNoKing);
  EXPECT_EQ(r.InitialPosition.King[kSecond], kNoKing);
}

TEST(KifReader, SkipsCommentsAndAmpersandLinesOfAFile) {
  const std::string text = KifWithMoves(
      {"*コメント", "   1 ７六歩(77)", "&読み込み時表示", "*", "   2 ３四歩(33)", "", "abc"});
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKif>(text, r, message), 0) << message;
  EXPECT_EQ(test::UsiMoves(r), "7g7f 3c3d");
  // A URL stream skips only "*" lines: the "&" line is read as a move.
  EXPECT_EQ(ReadBytes<ReadKifUrl>(text, r, message), 1);
}

TEST(KifReader, ReadsHeaderLines) {
  const std::string text = Lines({"#KIF version=2.0", "開始日時：2024/01/01", "手合割：香落ち",
                                  "下手：一二三四五六七八九十壱", "上手：a一二三四五六七八九十",
                                  "手数----指手---------消費時間--", "   1 ３四歩(33)"});
  GameRecord r = test::SentinelRecord();
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKif>(text, r, message), 0) << message;
  EXPECT_EQ(r.StartIndex, 1);
  EXPECT_EQ(r.PlyCount, 1);
  EXPECT_EQ(ToSfen(r.InitialPosition, kSecond), test::HandicapSfen(Handicap::kLance));
  // Names keep 20 bytes without splitting a character.
  EXPECT_EQ(Utf8(FieldText(r.FirstName)), "一二三四五六七八九十");
  EXPECT_EQ(Utf8(FieldText(r.SecondName)), "a一二三四五六七八九");
  EXPECT_EQ(FieldText(r.Tournament), "");
  EXPECT_EQ(FieldText(r.Opening), "");
  EXPECT_EQ(FieldText(r.Comment), FieldText(test::SentinelRecord().Comment));
  EXPECT_EQ(r.MoveTimes[0], 0);
  EXPECT_EQ(r.MoveTimes[2], 0);
}

TEST(KifReader, NamesEndAtAControlCharacter) {
  std::string text = Lines({"# h", "手合割：平手"}) + Cp("先手：甲") + "\t" + Cp("乙") + "\r\n" +
                     Cp("後手：") + std::string("a\0b", 3) + "\r\n" +
                     Lines({"手数----指手---------消費時間--"});
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKif>(text, r, message), 0);
  EXPECT_EQ(Utf8(FieldText(r.FirstName)), "甲");
  EXPECT_EQ(FieldText(r.SecondName), "a");
}

TEST(KifReader, ReadsADiagramWithVariantLetters) {
  const std::string text =
      Lines({"# h", "手合割：平手　　", "後手の持駒：歩十八　金　角二",
             "  ９ ８ ７ ６ ５ ４ ３ ２ １", "+---------------------------+",
             "| ・ ・ ・ ・V玉 ・ ・ ・ 竜| 一", "| ・ ・ ・ ・ ・ ・ ・ ・ ・| 二",
             "| ・ ・ ・ ・ ・ ・ ・ ・ ・| 三", "| ・ ・ ・ ・ ・ ・ ・ ・ ・| 四",
             "| ・ ・ ・ ・ ・ ・ ・ ・ ・| 五", "| ・ ・ ・ ・ ・ ・ ・ ・ ・| 六",
             "| ・ ・ ・ ・ ・ ・ ・ ・ ・| 七", "| ・ ・ ・ ・ ・ ・ ・ ・ ・| 八",
             "| ・ ・ ・ ・ 玉 ・ ・ ・ 圭| 九", "+---------------------------+",
             "先手の持駒：歩　歩　香三", "後手番", "手数----指手---------消費時間--"});
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKif>(text, r, message), 0) << message;
  EXPECT_EQ(ToSfen(r.InitialPosition, SideOfPly(r.StartIndex)),
            "4k3+R/9/9/9/9/9/9/9/4K3+N w 3L2P2bg18p 1");
  EXPECT_EQ(r.InitialPosition.King[kFirst], SquareOf(5, 9));
  EXPECT_EQ(r.InitialPosition.King[kSecond], SquareOf(5, 1));
}

TEST(KifReader, ReadsFilesAndLineFeedStreamsAndNoFolder) {
  GameRecord r = test::SentinelRecord();
  std::string message;
  EXPECT_EQ(ReadKif(test::TestDataPath("kif"), r, message), 1);
  EXPECT_EQ(message, "指定ファイルが存在しません。");
  ASSERT_EQ(ReadKif(test::TestDataPath("kif/even.kif"), r, message), 0);
  EXPECT_EQ(test::UsiMoves(r), "7g7f 3c3d 8h2b+ 3a2b B*4e");
  // A stream with bare line feeds reads the same.
  std::string lf = TestData("kif/even.kif");
  std::erase(lf, '\r');
  GameRecord s = test::SentinelRecord();
  MemoryByteStream stream(lf);
  ASSERT_EQ(ReadKif(stream, s, message), 0);
  EXPECT_TRUE(SameRecord(r, s));
}

// A download that breaks off: the bytes so far, then an error.
class BrokenStream : public ByteStream {
 public:
  explicit BrokenStream(std::string data) : data_(std::move(data)) {}
  std::size_t Read(char* buffer, std::size_t size) override {
    std::size_t n = std::min(size, data_.size() - at_);
    std::memcpy(buffer, data_.data() + at_, n);
    at_ += n;
    return n;
  }
  bool Failed() const override { return at_ == data_.size(); }

 private:
  std::string data_;
  std::size_t at_ = 0;
};

TEST(KifReader, ABrokenStreamIsNotTakenForARecord) {
  std::string text = TestData("kif/even.kif");
  text.resize(text.find(Cp("投了")));
  BrokenStream stream(text);
  GameRecord r = test::SentinelRecord();
  std::string message;
  EXPECT_EQ(ReadKif(stream, r, message), 1);
  // The same bytes from a complete file are a record that stops early.
  MemoryByteStream complete(text);
  ASSERT_EQ(ReadKif(complete, r, message), 0);
  EXPECT_EQ(RecordMoveCount(r), 5);
}

// Files other programs write, in cp932 and in UTF-8: headers in any order, comments and
// bookmarks, move numbers not in their columns, 同 without its space, 不成, an end word with
// its time, a summary line and a variation; a diagram without a 手合割 line, with 王 and V.
TEST(KifReader, ReadsFilesOfOtherProgramsInEitherEncoding) {
  struct Case {
    const char* file;
    const char* sfen;
    const char* moves;
    int result;
    const char* first;
    const char* second;
  };
  const Case cases[] = {
      {"kif/other_program.kif", "startpos", "7g7f 3c3d 8h2b 3a2b B*4e", kResultFirstWins,
       "先手太郎", "後手花子"},
      {"kif/other_program.kifu", "startpos", "7g7f 3c3d 8h2b 3a2b B*4e", kResultFirstWins,
       "先手太郎", "後手花子"},
      {"kif/other_program_bom.kif", "startpos", "7g7f 3c3d 8h2b 3a2b B*4e", kResultFirstWins,
       "先手太郎", "後手花子"},
      {"kif/diagram_without_handicap.kif", "l3k4/9/4P4/9/9/9/9/9/4K4 b G 1", "G*5b",
       kResultFirstWins, "攻め方", "玉方"},
      {"kif/diagram_without_handicap.kifu", "l3k4/9/4P4/9/9/9/9/9/4K4 b G 1", "G*5b",
       kResultFirstWins, "攻め方", "玉方"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    GameRecord r = test::SentinelRecord();
    std::string message;
    ASSERT_EQ(ReadKif(test::TestDataPath(c.file), r, message), 0) << message;
    EXPECT_TRUE(r.InitialPosition == MakeRecord(c.sfen, "").InitialPosition);
    EXPECT_EQ(test::UsiMoves(r), c.moves);
    EXPECT_EQ(r.ResultCode, c.result);
    EXPECT_EQ(Utf8(FieldText(r.FirstName)), c.first);
    EXPECT_EQ(Utf8(FieldText(r.SecondName)), c.second);
  }
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadKif(test::TestDataPath("kif/other_program.kifu"), r, message), 0);
  EXPECT_EQ(Utf8(FieldText(r.Tournament)), "練習対局");
  EXPECT_EQ(Utf8(FieldText(r.Opening)), "角換わり");
  EXPECT_EQ(r.Year * 10000 + r.Month * 100 + r.Day, 20240309);
  // Cumulative times of each side, and the clock of the side to move on the end line.
  const int times[] = {1, 2, 3, 5, 6, 7};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(r.MoveTimes[i], times[i]) << i;
}

TEST(KifReader, ReadsHandicapNamesOfOtherPrograms) {
  struct Case {
    const char* name;
    const char* sfen;  // nullptr: refused
  };
  const std::string right_lance = "1nsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";
  const Case cases[] = {
      {"飛落ち", test::HandicapSfen(Handicap::kRook)},
      {"飛車落ち", test::HandicapSfen(Handicap::kRook)},
      {"飛香落ち", test::HandicapSfen(Handicap::kRookLance)},
      {"飛車香落ち", test::HandicapSfen(Handicap::kRookLance)},
      {"八枚落ち", test::HandicapSfen(Handicap::kEightPieces)},
      {"十枚落ち　", test::HandicapSfen(Handicap::kTenPieces)},
      {"右香落ち", right_lance.c_str()},
      {"歩三兵", test::HandicapSfen(Handicap::kThreePawns)},
      {"七枚落ち", nullptr},  // not one of ours, and no diagram follows
  };
  for (const Case& c : cases) {
    const std::string text = Lines({"# h", std::string("手合割：") + c.name, "上手：u", "下手：s",
                                    "手数----指手---------消費時間--", "1 ５二玉(51)"});
    GameRecord r = test::SentinelRecord();
    std::string message;
    const int rc = ReadBytes<ReadKif>(text, r, message);
    if (c.sfen == nullptr) {
      test::ExpectReadOutcome(rc, r, message, -1, c.name);
      continue;
    }
    ASSERT_EQ(rc, 0) << c.name;
    EXPECT_EQ(ToSfen(r.InitialPosition, kSecond), c.sfen) << c.name;
    EXPECT_EQ(r.StartIndex, 1) << c.name;
    EXPECT_EQ(test::UsiMoves(r), "5a5b") << c.name;
  }
  // Without a 手合割 line the game is even.
  GameRecord r;
  std::string message;
  ASSERT_EQ(
      ReadBytes<ReadKif>(Lines({"先手：s", "後手：u", "手数----指手---------消費時間--", "1 ７六歩(77)"}), r,
               message),
      0);
  EXPECT_TRUE(r.InitialPosition == kInitialPosition);
  EXPECT_EQ(r.StartIndex, 0);
}

}  // namespace
}  // namespace shogi
