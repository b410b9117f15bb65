// The KI2 reader.
#include "records/ki2.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "rules/sfen.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::ReadBytes;
using test::Cp;
using test::Lines;

TEST(Ki2Reader, ReadsAGameAndIgnoresMovesQuotedInComments) {
  GameRecord r = test::SentinelRecord();
  std::string message;
  ASSERT_EQ(ReadKi2(test::TestDataPath("ki2/game.ki2"), r, message), 0) << message;
  EXPECT_EQ(test::UsiMoves(r),
            "7g7f 3c3d 2g2f 4c4d 3i4h 8b4b 5i6h 5a6b 6h7h 6b7b 6i5h 7b8b 5g5f 7a7b 2f2e 2b3c "
            "3g3f 3a3b 4h5g 4a5b");
  EXPECT_EQ(Utf8(FieldText(r.FirstName)), "羽生善治");
  EXPECT_EQ(Utf8(FieldText(r.SecondName)), "谷川浩司");
  EXPECT_EQ(r.ResultCode, kResultNone);
  EXPECT_EQ(r.StartIndex, 0);
  EXPECT_EQ(r.PlyCount, 0);
  EXPECT_TRUE(r.InitialPosition == kInitialPosition);
  for (int i = 0; i < 21; ++i) EXPECT_EQ(r.MoveTimes[i], 0);
  // The header lines other programs write fill the record's fields.
  EXPECT_EQ(Utf8(FieldText(r.Opening)), "四間飛車");
  EXPECT_EQ(r.Year * 10000 + r.Month * 100 + r.Day, 20240101);
}

TEST(Ki2Reader, ResignationTokensSetTheResult) {
  struct Case {
    const char* moves;
    int result;
  };
  const Case cases[] = {{"▲７六歩 △投了", kResultFirstWins},
                        {"▲７六歩 △３四歩 ▲詰み", kResultSecondWins},
                        {"▲７六歩 △３四歩", kResultNone},
                        {"▲７六歩△３四歩▲投了 △８四歩", kResultSecondWins}};
  for (const Case& c : cases) {
    GameRecord r;
    std::string message;
    ASSERT_EQ(ReadBytes<ReadKi2>(Lines({"先手：a", "後手：b", c.moves}), r, message), 0) << c.moves;
    EXPECT_EQ(r.ResultCode, c.result) << c.moves;
    EXPECT_LE(RecordMoveCount(r), 2);
  }
}

TEST(Ki2Reader, StopsAt256Moves) {
  std::string moves;
  const char* const shuffle[4] = {"▲３八飛", "△７二飛", "▲２八飛", "△８二飛"};
  for (int i = 0; i < 260; ++i) moves += std::string(shuffle[i % 4]) + (i % 4 == 3 ? "\n" : " ");
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKi2>(Lines({"先手：a", "後手：b", moves + "▲投了"}), r, message), 0);
  EXPECT_EQ(RecordMoveCount(r), 256);
  EXPECT_EQ(r.ResultCode, kResultNone);
}

// Names are optional (mate problems and fragments have none); a line of marked moves is not,
// and every move must resolve. Moves read, or -1 for a file refused.
TEST(Ki2Reader, NeedsMarkedMovesThatResolveButNoNames) {
  const struct {
    std::string text;
    int count;
  } cases[] = {
      {Lines({"先手：a", "▲７六歩"}), 1},
      {Lines({"後手：b", "▲７六歩", "先手：a"}), 1},
      {Lines({"▲７六歩 △３四歩"}), 2},
      {Lines({"先手：a"}), -1},
      {Lines({"先手：a", "後手：b"}), -1},
      {Lines({"先手：a", "後手：b", "▲７六歩 △５五金"}), -1},  // gote has no gold that reaches 5五
      {Lines({"先手：a", "後手：b", "▲７六歩 △３四"}), -1},
      {"", -1},
  };
  for (const auto& c : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    test::ExpectReadOutcome(ReadBytes<ReadKi2>(c.text, r, message), r, message, c.count, Utf8(c.text));
  }
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKi2>(Lines({"▲７六歩"}), r, message), 0);
  EXPECT_EQ(FieldText(r.FirstName), "");
  EXPECT_EQ(FieldText(r.SecondName), "");
}

TEST(Ki2Reader, TheMainLineEndsAtTheFirstVariation) {
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKi2>(Lines({"先手：a", "後手：b", "▲７六歩 △３四歩", "まで2手で中断", "",
                            "変化：2手", "△８四歩"}),
                     r, message),
            0);
  EXPECT_EQ(test::UsiMoves(r), "7g7f 3c3d");
}

TEST(Ki2Reader, TokensRunAtMost13BytesPastTheMark) {
  // Text glued to a move beyond 13 bytes is not part of it; a mark inside a two-byte
  // character (0x81 as a trail byte) is not a mark.
  std::string text = Lines({"先手：a", "後手：b"}) + Cp("▲７六歩") + "    " + Cp("成") + "\r\n" +
                     Cp("△３四歩") + "\x88\x81\xA3" + "\r\n";
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadKi2>(text, r, message), 0) << message;
  EXPECT_EQ(test::UsiMoves(r), "7g7f 3c3d");
}

// A handicap record of another program, in cp932 and in UTF-8: the names in either order
// around the 手合割 line, the giver's △ first, a relative word and the summary line.
TEST(Ki2Reader, ReadsAHandicapRecordOfAnotherProgram) {
  for (const char* file : {"ki2/handicap_gote_first.ki2", "ki2/handicap_gote_first.ki2u"}) {
    SCOPED_TRACE(file);
    GameRecord r = test::SentinelRecord();
    std::string message;
    ASSERT_EQ(ReadKi2(test::TestDataPath(file), r, message), 0) << message;
    EXPECT_EQ(ToSfen(r.InitialPosition, kSecond), test::HandicapSfen(Handicap::kLance));
    EXPECT_EQ(r.StartIndex, 1);
    EXPECT_EQ(test::UsiMoves(r),
              "3c3d 7g7f 4c4d 2g2f 8b4b 2f2e 2b3c 3i4h 3a3b 5i6h 5a6b 6h7h 6b7b 4i5h 7b8b");
    EXPECT_EQ(r.ResultCode, kResultSecondWins);
    EXPECT_EQ(Utf8(FieldText(r.FirstName)), "下手次郎");
    EXPECT_EQ(Utf8(FieldText(r.SecondName)), "上手一郎");
    EXPECT_EQ(Utf8(FieldText(r.Tournament)), "指導対局");
  }
}

TEST(Ki2Reader, EndWordsAndSummaryLinesSetTheResult) {
  struct Case {
    const char* moves;
    int result;
  };
  const Case cases[] = {
      {"▲７六歩 △切れ負け", kResultFirstWins},
      {"▲７六歩 △反則勝ち", kResultSecondWins},
      {"▲７六歩 △３四歩 ▲入玉勝ち", kResultFirstWins},
      {"▲７六歩 △３四歩 ▲千日手", kResultRepetition},
      {"▲７六歩 △持将棋", kResultImpasse},
      {"▲７六歩 △中断", kResultNone},
      {"▲７六歩\nまで1手で先手の勝ち", kResultFirstWins},
      {"▲７六歩\nまで1手で後手の反則負け", kResultFirstWins},
      {"▲７六歩\nまで1手で千日手", kResultRepetition},
      {"▲７六歩\nまで1手で中断", kResultNone},
  };
  for (const Case& c : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    ASSERT_EQ(ReadBytes<ReadKi2>(Lines({"先手：a", "後手：b", c.moves}), r, message), 0) << c.moves;
    EXPECT_EQ(r.ResultCode, c.result) << c.moves;
  }
}

}  // namespace
}  // namespace shogi
