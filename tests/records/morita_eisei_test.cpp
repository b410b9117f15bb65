// The Morita and Eisei Meijin writers against files written by hand, round trips, and the
// readers' rules.
#include <gtest/gtest.h>

#include <functional>

#include "platform/cp932.h"
#include "records/eisei.h"
#include "records/morita.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::Cp;
using test::EvenGame;
using test::Lines;
using test::MakeRecord;
using test::TestData;

GameRecord EvenGameWithHeader() {
  GameRecord r = EvenGame();
  CopyCp932Field(r.Tournament, Cp("王将戦"));
  CopyCp932Field(r.Comment, Cp("第一局"));
  r.Year = 1996;
  r.Month = 2;
  r.Day = 14;
  return r;
}

// Gote moves first from a bare-kings position with pieces in hand on both sides (eleven
// pawns for gote); gote won.
GameRecord HandsGoteFirst() {
  GameRecord r = MakeRecord("4k4/9/9/9/9/9/9/9/4K4 w R1G2P11p 1", "P*5e 5i4h P*4f");
  CopyCp932Field(r.FirstName, Cp("山田"));
  CopyCp932Field(r.SecondName, Cp("田中"));
  r.Year = 2001;
  r.Month = 2;
  r.Day = 3;
  r.ResultCode = kResultSecondWins;
  return r;
}

// Kings stepping to and fro: `moves` plies from the even game, gote won.
GameRecord Shuffle(int moves) {
  const char* const cycle[] = {"5i4h", "5a4b", "4h5i", "4b5a"};
  std::string usi;
  for (int i = 0; i < moves; ++i) usi += std::string(cycle[i % 4]) + " ";
  GameRecord r = MakeRecord("startpos", usi);
  r.ResultCode = kResultSecondWins;
  return r;
}

struct Format {
  const char* name;
  std::string (*write)(const GameRecord&, bool);
  int (*read)(ByteStream&, GameRecord&, std::string&);
};
const Format kMorita{"morita", FormatMorita, ReadMorita};
const Format kEisei{"eisei", FormatEisei, ReadEisei};

struct ForeignGoldenCase {
  const Format& format;
  const char* file;
  std::function<GameRecord()> record;
  bool store_times;
};

const ForeignGoldenCase kForeignGolden[] = {
    {kMorita, "morita/even.txt", EvenGameWithHeader, true},
    {kMorita, "morita/hands_gote_first.txt", HandsGoteFirst, false},
    {kEisei, "eisei/even.kif", EvenGameWithHeader, true},
    {kEisei, "eisei/hands_gote_first.kif", HandsGoteFirst, false},
};

GameRecord ReadBytes(const Format& format, const std::string& bytes, int& rc,
                     std::string& message) {
  GameRecord read = test::SentinelRecord();
  MemoryByteStream stream(bytes);
  rc = format.read(stream, read, message);
  return read;
}

TEST(MoritaEiseiWriters, WriteFilesByteForByte) {
  for (const ForeignGoldenCase& c : kForeignGolden) {
    const std::string bytes = c.format.write(c.record(), c.store_times);
    EXPECT_EQ(Utf8(bytes), Utf8(TestData(c.file))) << c.file;
    EXPECT_EQ(bytes, TestData(c.file)) << c.file;  // the NUL bytes after the Eisei names too
  }
}

TEST(MoritaEiseiWriters, RoundTripEveryFile) {
  for (const ForeignGoldenCase& c : kForeignGolden) {
    const GameRecord written = c.record();
    int rc;
    std::string message;
    const GameRecord read = ReadBytes(c.format, TestData(c.file), rc, message);
    ASSERT_EQ(rc, 0) << c.file << message;
    EXPECT_EQ(read.InitialPosition, written.InitialPosition) << c.file;
    EXPECT_EQ(read.StartIndex, written.StartIndex) << c.file;
    EXPECT_EQ(read.PlyCount, written.StartIndex) << c.file;
    EXPECT_EQ(test::UsiMoves(read), test::UsiMoves(written)) << c.file;
    EXPECT_EQ(read.ResultCode, written.ResultCode) << c.file;
    EXPECT_EQ(FieldText(read.FirstName), FieldText(written.FirstName)) << c.file;
    EXPECT_EQ(FieldText(read.SecondName), FieldText(written.SecondName)) << c.file;
    for (int i = written.StartIndex; i < RecordEndPly(written); ++i)
      EXPECT_EQ(read.MoveTimes[i], c.store_times ? written.MoveTimes[i] : 0) << c.file << i;
    if (c.format.read == kMorita.read) {
      EXPECT_EQ(FieldText(read.Tournament), FieldText(written.Tournament)) << c.file;
      EXPECT_EQ(FieldText(read.Comment), FieldText(written.Comment)) << c.file;
      EXPECT_EQ(read.Year * 10000 + read.Month * 100 + read.Day,
                written.Year * 10000 + written.Month * 100 + written.Day)
          << c.file;
    }
    // Written again, the record read gives the same bytes.
    EXPECT_EQ(c.format.write(read, c.store_times), TestData(c.file)) << c.file;
  }
}

TEST(MoritaWriter, EndsByResultAndTheSideToMove) {
  struct Case {
    std::function<GameRecord()> record;
    int result;
    std::vector<std::string> end;  // the last lines, UTF-8
  };
  const Case cases[] = {
      {[] { return Shuffle(40); }, kResultSecondWins, {"MAKE"}},
      {[] { return Shuffle(41); }, kResultSecondWins, {"KINTE"}},
      {[] { return Shuffle(41); }, kResultFirstWins, {"MAKE"}},
      {[] { return Shuffle(40); }, kResultFirstWins, {"KINTE"}},
      {[] { return Shuffle(3); }, kResultRepetition, {"SENNITITE"}},
      {[] { return Shuffle(3); }, kResultImpasse, {"JISHOUGI"}},
      {[] { return Shuffle(3); }, kResultNone, {"BREAK"}},
      {[] { return Shuffle(3); }, kResultFirstWinsLater, {"*以下先手勝ち", "BREAK"}},
      {[] { return Shuffle(3); }, kResultSecondWinsLater, {"*以下後手勝ち", "MAKE"}},
      {[] { return Shuffle(3); }, kResultRepetitionLater, {"*以下千日手", "SENNITITE"}},
      {[] { return Shuffle(3); }, kResultImpasseLater, {"*以下持将棋", "JISHOUGI"}},
  };
  for (const Case& c : cases) {
    GameRecord r = c.record();
    r.ResultCode = c.result;
    std::string tail;
    for (const std::string& line : c.end) tail += line + "\r\n";
    const std::string text = Utf8(FormatMorita(r, false));
    ASSERT_GE(text.size(), tail.size());
    EXPECT_EQ(text.substr(text.size() - tail.size()), tail) << c.result << " " << tail;
    // A won game reads back with its winner.
    if (c.result == kResultFirstWins || c.result == kResultSecondWins) {
      int rc;
      std::string message;
      EXPECT_EQ(ReadBytes(kMorita, FormatMorita(r, true), rc, message).ResultCode, c.result);
    }
  }
}

std::string MoritaHeader() {
  return Lines({"先手：甲", "後手：乙", "手番：先手番"});
}

TEST(MoritaReader, ReadsHeaderLinesAndDates) {
  struct Case {
    const char* line;
    int year, month, day;  // 0: the date stays as it was
  };
  const Case cases[] = {
      {"日付：2024 年 5 月 3 日", 2024, 5, 3},
      {"対局日：平成元年１月８日", 1989, 1, 8},
      {"開始日付：昭和60年12月1日", 1985, 12, 1},
      {"日付：大正２年　３月　４日", 1913, 3, 4},
      {"日付：明治45年7月29日", 1912, 7, 29},
      {"日付：１９９６年１０月２１日", 1996, 10, 21},
      {"日付：2024 年 0 月 3 日", 0, 0, 0},
      {"日付：平成年1月1日", 0, 0, 0},
      {"日付：2024/05/03", 0, 0, 0},
  };
  for (const Case& c : cases) {
    int rc;
    std::string message;
    const GameRecord r =
        ReadBytes(kMorita,
                  Lines({c.line, "棋戦名：竜王戦", "戦型名：矢倉", "ｺﾒﾝﾄ：注目の一局", "下手：甲",
                         "上手：乙", "先番：上手番", "MAKE"}),
                  rc, message);
    ASSERT_EQ(rc, 0) << c.line;
    // A date the file does not give is none, not the date of the record shown before.
    EXPECT_EQ(r.Year, c.year) << c.line;
    EXPECT_EQ(r.Month, c.month) << c.line;
    EXPECT_EQ(r.Day, c.day) << c.line;
    EXPECT_EQ(Utf8(FieldText(r.Tournament)), "竜王戦");
    EXPECT_EQ(Utf8(FieldText(r.Opening)), "矢倉");
    EXPECT_EQ(Utf8(FieldText(r.Comment)), "注目の一局");
    EXPECT_EQ(Utf8(FieldText(r.FirstName)), "甲");
    EXPECT_EQ(Utf8(FieldText(r.SecondName)), "乙");
    EXPECT_EQ(r.StartIndex, 1);
    EXPECT_EQ(r.ResultCode, kResultFirstWins);  // MAKE with gote to move at k = 1
  }
}

TEST(MoritaReader, ReadsMovesTimesBoardsAndEnds) {
  struct Case {
    std::string bytes;
    const char* moves;  // USI; nullptr when the file is refused
    int result;
    std::vector<int> times;
  };
  const std::string h = MoritaHeader();
  const Case cases[] = {
      // Four-character moves: a promotion with N, a drop with a CSA code; times at byte 18.
      {h + Lines({"7677", "3433", "2288N", "2231", "45KA", "KINTE"}),
       "7g7f 3c3d 8h2b+ 3a2b B*4e",
       kResultSecondWins,
       {}},
      {h + Lines({"▲７六歩          (00:01:00)", "・３四歩        (00:00:30)", "SENNITITE"}),
       "7g7f 3c3d",
       kResultRepetition,
       {60, 30}},
      {h + Lines({"▲７六歩", "*comment ▲５五歩", "△３四歩", "JISHOUGI"}),
       "7g7f 3c3d",
       kResultImpasse,
       {}},
      {h + Lines({"▲７六歩", "投了"}), "7g7f", kResultFirstWins, {}},
      {h + Lines({"▲７六歩", "△投了"}), "7g7f", kResultFirstWins, {}},
      {h + Lines({"▲７六歩", "BREAK"}), "7g7f", kResultNone, {}},
      {h + Lines({"▲７六歩"}), "7g7f", kResultNone, {}},
      // A compact board: kings and a gote pawn; a sente dragon as a two-byte letter.
      {Lines({"手番：先手番", ":....k....", ":.........", ":....p....", ":.........", ":.........",
              ":.........", ":.........", ":龍........", ":....K....", "5859"}),
       "5i5h",
       kResultNone,
       {}},
      {h + Lines({"▲５五歩"}), nullptr, 0, {}},  // no pawn can go there
      {h + Lines({"5556"}), nullptr, 0, {}},     // no piece on the origin
      {h + Lines({"7677N"}), nullptr, 0, {}},    // a pawn cannot promote there
      {h + Lines({"55OU"}), nullptr, 0, {}},     // a king cannot be dropped
      {Lines({"手番：先手番", ":....k....", ":.........", "7776"}), nullptr, 0, {}},
      {Lines({":....x...."}), nullptr, 0, {}},
      {Lines({"これは棋譜ではない", "hello"}), nullptr, 0, {}},
      {"", nullptr, 0, {}},
  };
  for (const Case& c : cases) {
    int rc;
    std::string message;
    const GameRecord r = ReadBytes(kMorita, c.bytes, rc, message);
    if (c.moves == nullptr) {
      test::ExpectReadOutcome(rc, r, message, -1, Utf8(c.bytes));
      continue;
    }
    ASSERT_EQ(rc, 0) << Utf8(c.bytes);
    EXPECT_EQ(test::UsiMoves(r), c.moves) << Utf8(c.bytes);
    EXPECT_EQ(r.ResultCode, c.result) << Utf8(c.bytes);
    for (std::size_t i = 0; i < c.times.size(); ++i) EXPECT_EQ(r.MoveTimes[i], c.times[i]);
  }
}

TEST(MoritaReader, KeepsAtMost256Moves) {
  GameRecord r = Shuffle(300);
  int rc;
  std::string message;
  const GameRecord read = ReadBytes(kMorita, FormatMorita(r, false), rc, message);
  ASSERT_EQ(rc, 0);
  EXPECT_EQ(RecordMoveCount(read), 256);
  EXPECT_EQ(read.ResultCode, kResultNone);
}

TEST(EiseiReader, RefusesWhatItCannotRead) {
  const std::string board = TestData("eisei/even.kif").substr(0, 9 * 31);
  const std::string cases[] = {
      "",
      "1 5\r\nname\0\r\n",                // no side line
      board.substr(0, 31 * 4) + "+\r\n",  // four board rows only
      board + "P+00OU\r\n+\r\n",          // a king in hand
      board + "+\r\n7775 \r\n0\r\n",      // not a move of the pawn
      board + "+\r\n0855 \r\n0\r\n",      // no piece of number 08
      board + "+\r\n0755 \r\n0\r\n",      // no pawn in hand
  };
  for (const std::string& bytes : cases) {
    int rc;
    std::string message;
    const GameRecord r = ReadBytes(kEisei, bytes, rc, message);
    test::ExpectReadOutcome(rc, r, message, -1, bytes);
  }
}

TEST(EiseiReader, ReadsEachSidesClockFromTheElapsedTime) {
  const std::string board = TestData("eisei/even.kif").substr(0, 9 * 31);
  int rc;
  std::string message;
  const GameRecord r =
      ReadBytes(kEisei, board + "-\r\n3334 \r\n7\r\n7776 \r\n10\r\n2288N\r\n12\r\n7988 \r\n20\r\n",
                rc, message);
  ASSERT_EQ(rc, 0) << message;
  EXPECT_EQ(r.StartIndex, 1);
  EXPECT_EQ(test::UsiMoves(r), "3c3d 7g7f 2b8h+ 7i8h");
  EXPECT_EQ(r.MoveTimes[1], 7);
  EXPECT_EQ(r.MoveTimes[2], 3);
  EXPECT_EQ(r.MoveTimes[3], 9);
  EXPECT_EQ(r.MoveTimes[4], 11);
  EXPECT_EQ(r.ResultCode, kResultNone);
}

}  // namespace
}  // namespace shogi
