// The CSA writer against files written by hand, and the CSA reader's rules.
#include "records/csa.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/cp932.h"
#include "rules/sfen.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::ReadBytes;
using test::Cp;
using test::EvenGame;
using test::MakeRecord;
using test::TestData;

const char* const kLanceHandicap = test::HandicapSfen(Handicap::kLance);

GameRecord LanceHandicap() {
  GameRecord r = MakeRecord(kLanceHandicap, "3c3d 7g7f 2b3c", {12, 30, 52});
  CopyCp932Field(r.FirstName, Cp("山田"));
  CopyCp932Field(r.SecondName, Cp("田中"));
  return r;
}

struct CsaGoldenCase {
  const char* file;
  std::function<GameRecord()> record;
  bool store_times;
};

const CsaGoldenCase kCsaGolden[] = {
    {"csa/even.csa", EvenGame, true},
    {"csa/even_no_times.csa", EvenGame, false},
    {"csa/handicap_gote_first.csa", LanceHandicap, true},
    {"csa/no_moves.csa", [] { return MakeRecord("startpos", ""); }, true},
};

TEST(CsaWriter, WritesFilesByteForByte) {
  for (const CsaGoldenCase& c : kCsaGolden) {
    std::string bytes, message;
    ASSERT_EQ(FormatCsa(c.record(), c.store_times, bytes, message), 0) << c.file;
    EXPECT_EQ(Utf8(bytes), Utf8(TestData(c.file))) << c.file;
  }
}

TEST(CsaWriter, RoundTripsEveryFileThroughBothReaders) {
  for (const CsaGoldenCase& c : kCsaGolden) {
    const GameRecord written = c.record();
    const std::string bytes = TestData(c.file);
    for (bool url : {false, true}) {
      GameRecord read = test::SentinelRecord();
      std::string message;
      MemoryByteStream stream(bytes);
      ASSERT_EQ(url ? ReadCsaUrl(stream, read, message) : ReadCsa(stream, read, message), 0)
          << c.file;
      // Written again, the record read gives the same bytes: position, side, names, moves
      // and (where stored) times came back; the winner is not in the bytes.
      EXPECT_EQ(test::UsiMoves(read), test::UsiMoves(written)) << c.file;
      EXPECT_EQ(read.ResultCode, written.ResultCode) << c.file;
      std::string again;
      ASSERT_EQ(FormatCsa(read, c.store_times, again, message), 0);
      EXPECT_EQ(again, bytes) << c.file;
    }
  }
}

TEST(CsaWriter, RefusesPiecesInHandAndCreatesNoFile) {
  const test::TempFolder dir;
  GameRecord r = MakeRecord("4k4/9/9/9/9/9/9/9/4K4 b G 1", "G*5b");
  std::string message;
  EXPECT_EQ(WriteCsa(dir.Path() + "hand.csa", r, true, message), 1);
  EXPECT_EQ(message, "持駒の存在する局面は、セーブ出来ません。");
  EXPECT_TRUE(test::FileBytes(dir.Path() + "hand.csa").empty());
  ASSERT_EQ(WriteCsa(dir.Path() + "even.csa", EvenGame(), true, message), 0);
  EXPECT_EQ(test::FileBytes(dir.Path() + "even.csa"), TestData("csa/even.csa"));
}

const char* const kEvenBoard =
    "P1-KY-KE-GI-KI-OU-KI-GI-KE-KY\nP2 * -HI *  *  *  *  * -KA * \n"
    "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU\nP4 *  *  *  *  *  *  *  *  * \n"
    "P5 *  *  *  *  *  *  *  *  * \nP6 *  *  *  *  *  *  *  *  * \n"
    "P7+FU+FU+FU+FU+FU+FU+FU+FU+FU\nP8 * +KA *  *  *  *  * +HI * \n"
    "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY\n";
const char* const kLanceBoard =
    "P1-KY-KE-GI-KI-OU-KI-GI-KE * \nP2 * -HI *  *  *  *  * -KA * \n"
    "P3-FU-FU-FU-FU-FU-FU-FU-FU-FU\nP4 *  *  *  *  *  *  *  *  * \n"
    "P5 *  *  *  *  *  *  *  *  * \nP6 *  *  *  *  *  *  *  *  * \n"
    "P7+FU+FU+FU+FU+FU+FU+FU+FU+FU\nP8 * +KA *  *  *  *  * +HI * \n"
    "P9+KY+KE+GI+KI+OU+KI+GI+KE+KY\n";

TEST(CsaReader, ReadsTheBoardWhereverItStandsAndHoweverItsCellsAreSpaced) {
  std::string spaced;  // the older layout: cells set apart by spaces
  for (const char* p = kLanceBoard; *p != '\0'; ++p) {
    if (p[0] == '-' && p[1] == 'K') spaced += ' ';
    spaced += *p;
  }
  ASSERT_NE(spaced.find("P1 -KY -KE"), std::string::npos);
  const std::string files[] = {
      std::string("V2.2\n") + kLanceBoard + "N+a\nN-b\n-\n-3334FU\n",
      std::string("N+a\nN-b\n") + kLanceBoard + "-\n-3334FU\n",
      std::string("V2.2\n") + spaced + "N+a\nN-b\n-\n-3334FU\n",
  };
  for (const std::string& text : files) {
    GameRecord r;
    std::string message;
    ASSERT_EQ(ReadBytes<ReadCsa>(text, r, message), 0) << text;
    EXPECT_EQ(ToSfen(r.InitialPosition, kSecond), kLanceHandicap) << text;
    EXPECT_EQ(r.StartIndex, 1);
    EXPECT_EQ(FieldText(r.FirstName), "a");
  }
}

TEST(CsaReader, TheFirstMoveDecidesWhoStarts) {
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadCsa>(std::string("N+a\nN-b\n") + kEvenBoard + "+\n-3334FU\n+7776FU\n", r, message),
            0);
  EXPECT_EQ(r.StartIndex, 1);
  EXPECT_EQ(test::UsiMoves(r), "3c3d 7g7f");
  ASSERT_EQ(ReadBytes<ReadCsa>("N+a\nN-b\n-\n+7776FU\n", r, message), 0);  // no board: the even game
  EXPECT_EQ(r.StartIndex, 0);
  EXPECT_TRUE(r.InitialPosition == kInitialPosition);
}

TEST(CsaReader, ResultLines) {
  struct Case {
    const char* tail;
    int result;
    int moves;
  };
  const Case cases[] = {
      {"+7776FU\n%TORYO\n", kResultFirstWins, 1},
      {"+7776FU\n-3334FU\n%TORYO\n", kResultSecondWins, 2},
      {"+7776FU\n-0000FU\n", kResultFirstWins, 1},  // 0000 is a resignation
      {"+7776FU\n-3334FU\n+0000\n", kResultSecondWins, 2},
      {"+7776FU\n%TSUMI\n", kResultFirstWins, 1},
      {"+7776FU\n%MATTA\n", kResultFirstWins, 1},
      {"+7776FU\n%SENNICHITE\n", kResultRepetition, 1},
      {"+7776FU\n%CHUDAN\n-3334FU\n", kResultNone, 1},
      {"+7776FU\n%KACHI\n", kResultSecondWins, 1},  // the side to move declares a win
      {"+7776FU\n-3334FU\n%KACHI\n", kResultFirstWins, 2},
      {"+7776FU\n%TIME_UP\n", kResultFirstWins, 1},  // the side to move ran out of time
      {"+7776FU\n-3334FU\n%ILLEGAL_MOVE\n", kResultSecondWins, 2},
      {"+7776FU\n%+ILLEGAL_ACTION\n", kResultSecondWins, 1},
      {"+7776FU\n%-ILLEGAL_ACTION\n", kResultFirstWins, 1},
      {"+7776FU\n-3334FU\n%JISHOGI\n", kResultImpasse, 2},
      {"+7776FU\n%HIKIWAKE\n", kResultNone, 1},
      {"+7776FU\n%MAX_MOVES\n", kResultNone, 1},  // no win for anyone, though it begins "M"
      {"+7776FU\n%FUZUMI\n", kResultNone, 1},
      {"+7776FU\n-3334FU\n%TSUMI\n", kResultSecondWins, 2},
      {"+7776FU\n%TORYO\n-3334FU\n", kResultFirstWins, 1},
      {"+7776FU\n", kResultNone, 1},
  };
  for (const Case& c : cases) {
    GameRecord r;
    std::string message;
    ASSERT_EQ(ReadBytes<ReadCsa>(std::string("N+a\nN-b\n+\n") + c.tail, r, message), 0) << c.tail;
    EXPECT_EQ(r.ResultCode, c.result) << c.tail;
    EXPECT_EQ(RecordMoveCount(r), c.moves) << c.tail;
  }
  // In a game the second player starts, the side to move still decides the winner.
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadCsa>("N+a\nN-b\n-\n-3334FU\n%TORYO\n", r, message), 0);
  EXPECT_EQ(r.ResultCode, kResultSecondWins);
}

TEST(CsaReader, TimesOnTheirOwnLineOrAfterAComma) {
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadCsa>("N+a\nN-b\n+\n+7776FU,T10\n-3334FU\nT5\n+2726FU\nT7\nT8\n-8384FU\n%TORYO\n", r,
                     message),
            0);
  EXPECT_EQ(r.MoveTimes[0], 10);
  EXPECT_EQ(r.MoveTimes[1], 5);
  EXPECT_EQ(r.MoveTimes[2], 18);  // a second time line replaces the first
  EXPECT_EQ(r.MoveTimes[3], 5);
  // A time line before the first move turns the times of the file off.
  ASSERT_EQ(ReadBytes<ReadCsa>("N+a\nN-b\n+\nT3\n+7776FU,T10\n-3334FU\nT5\n", r, message), 0);
  EXPECT_EQ(r.MoveTimes[0], 0);
  EXPECT_EQ(r.MoveTimes[1], 0);
  // Absurd times are capped instead of overflowing.
  ASSERT_EQ(ReadBytes<ReadCsa>("N+a\nN-b\n+\n+7776FU,T99999999999999999999\n", r, message), 0);
  EXPECT_EQ(r.MoveTimes[0], 99 * 3600 + 59 * 60 + 59);
}

TEST(CsaReader, NamesAndTheGekisashiRule) {
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadCsa>("N+\xB7\xE3\xBB\xD8\nN-abcdefghijklmnopqrstuvwxyz\n+\n", r, message), 0);
  EXPECT_EQ(Utf8(FieldText(r.FirstName)), "激指");
  EXPECT_EQ(FieldText(r.SecondName), "abcdefghijklmnopqrst");
  ASSERT_EQ(ReadBytes<ReadCsa>("N+\xB7\xE3\xBB\xD8x\n+\n", r, message), 0);
  EXPECT_EQ(FieldText(r.FirstName), "\xB7\xE3\xBB\xD8x");
}

TEST(CsaReader, FileLinesEndAtCarriageReturnsUrlLinesAtLineFeeds) {
  GameRecord r;
  std::string message;
  MemoryByteStream file("N+a\rN-b\r+\r+7776FU\r-3334FU\r");
  ASSERT_EQ(ReadCsa(file, r, message), 0);
  EXPECT_EQ(test::UsiMoves(r), "7g7f 3c3d");
  MemoryByteStream url("N+a\r\nN-b\r\n+\r\n+7776FU\r\n");
  ASSERT_EQ(ReadCsaUrl(url, r, message), 0);
  EXPECT_EQ(test::UsiMoves(r), "7g7f");
  MemoryByteStream old_mac("N+a\rN-b\r+\r+7776FU\r");  // one line for a URL stream
  EXPECT_EQ(ReadCsaUrl(old_mac, r, message), 1);
}

TEST(CsaReader, StopsAfter500Moves) {
  std::string text = "N+a\nN-b\n+\n";
  const char* const shuffle[4] = {"+2838HI\n", "-8272HI\n", "+3828HI\n", "-7282HI\n"};
  for (int i = 0; i < 502; ++i) text += shuffle[i % 4];
  text += "%TORYO\n";
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadCsa>(text, r, message), 0);
  EXPECT_EQ(RecordMoveCount(r), 500);
  EXPECT_EQ(r.ResultCode, kResultNone);
}

TEST(CsaReader, MalformedFilesLeaveTheRecordAsItWas) {
  const std::string cases[] = {
      "",
      "N+a\nN-b\n",                  // never reaches the moves
      std::string(kEvenBoard),       // no side line
      "N+a\n%TORYO\n+\n+7776FU\n",   // the record ends before its moves
      "N+a\n+\n+7776FU\n+2726FU\n",  // two moves of one side in a row
      "N+a\n+\n+7076FU\n",           // no square 70
      "N+a\n+\n+7776XX\n",           // unknown piece
      "N+a\n+\n+7776\n",             // no piece
      "N+a\n+\n+5556FU\n",           // nothing on the origin
      "N+a\n+\n+3334FU\n",           // the opponent's piece
      "N+a\n+\n+7776KI\n",           // neither the piece nor its promotion
      "N+a\n+\n+6958NK\n",           // a gold does not promote
      "N+a\n+\n+0055OU\n",           // a king is not dropped
  };
  for (const std::string& text : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    test::ExpectReadOutcome(ReadBytes<ReadCsa>(text, r, message), r, message, -1, text);
  }
}

TEST(CsaReader, ReadsPromotionsDropsAndBoardsWithUnknownCells) {
  GameRecord r;
  std::string message;
  // The drop takes the pawn won on 2c.
  const std::string text =
      "N+a\nN-b\nP1 *  *  *  * -OU *  *  *  * \nP2\nP3 *  *  * **  *  *  * -FU * \n"
      "P4\nP5\nP6\nP7 *  *  *  *  *  *  * +FU * \nP8\nP9 *  *  *  * +OU *  *  * +XX\n"
      "+\n+2726FU\n-5152OU\n+2625FU\n-5251OU\n+2524FU\n-5152OU\n+2423TO\n-5251OU\n"
      "+0024FU\n";
  ASSERT_EQ(ReadBytes<ReadCsa>(text, r, message), 0);
  EXPECT_EQ(ToSfen(r.InitialPosition, kFirst), "4k4/9/7p1/9/9/9/7P1/9/4K4 b - 1");
  EXPECT_EQ(test::UsiMoves(r), "2g2f 5a5b 2f2e 5b5a 2e2d 5a5b 2d2c+ 5b5a P*2d");
  std::string without_capture = text;
  without_capture.replace(text.find("-FU"), 3, " * ");
  EXPECT_EQ(ReadBytes<ReadCsa>(without_capture, r, message), 1);
}

// Files other programs write: version 3.0 with UTF-8 names, "$" headers, "'" comments, a
// "PI" line with pieces taken off and statements joined by commas; a file of two records.
TEST(CsaReader, ReadsFilesOfOtherPrograms) {
  GameRecord r = test::SentinelRecord();
  std::string message;
  ASSERT_EQ(ReadCsa(test::TestDataPath("csa/v3_utf8.csa"), r, message), 0) << message;
  EXPECT_EQ(ToSfen(r.InitialPosition, kSecond), test::HandicapSfen(Handicap::kBishop));
  EXPECT_EQ(r.StartIndex, 1);
  EXPECT_EQ(test::UsiMoves(r), "3c3d 7g7f 4a3b");
  EXPECT_EQ(r.ResultCode, kResultSecondWins);
  EXPECT_EQ(Utf8(FieldText(r.FirstName)), "先手太郎");
  EXPECT_EQ(Utf8(FieldText(r.SecondName)), "後手花子");
  EXPECT_EQ(Utf8(FieldText(r.Tournament)), "練習対局");
  EXPECT_EQ(Utf8(FieldText(r.Opening)), "角落ち");
  EXPECT_EQ(r.Year * 10000 + r.Month * 100 + r.Day, 20240309);
  EXPECT_EQ(r.MoveTimes[1], 2);
  EXPECT_EQ(r.MoveTimes[2], 1);
  EXPECT_EQ(r.MoveTimes[3], 5);

  // Of several records separated by "/", the first is read.
  ASSERT_EQ(ReadCsa(test::TestDataPath("csa/several_records.csa"), r, message), 0) << message;
  EXPECT_EQ(test::UsiMoves(r), "7g7f 3c3d");
  EXPECT_EQ(r.ResultCode, kResultNone);
  EXPECT_EQ(Utf8(FieldText(r.FirstName)), "先手一");
}

// "P+" and "P-" place pieces on an empty board and in the hands; "00AL" gives a side every
// piece left over.
TEST(CsaReader, ReadsPiecesPlacedOneByOne) {
  struct Case {
    const char* text;
    const char* sfen;  // nullptr: refused
  };
  const Case cases[] = {
      {"P-51OU\nP+53FU59OU\nP+00KI\nP-00AL\n+\n", "4k4/9/4P4/9/9/9/9/9/4K4 b G2r2b3g4s4n4l17p 1"},
      {"P-51OU\nP+59OU00KI00KI\n+\n", "4k4/9/9/9/9/9/9/9/4K4 b 2G 1"},
      {"PI\nP+00FU\n+\n", "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b P 1"},
      {"P-51OU\nP+00TO\n+\n", nullptr},  // a promoted piece in hand
      {"P-51OU\nP+5\n+\n", nullptr},
      {"P-51OU\nP+00XX\n+\n", nullptr},
  };
  for (const Case& c : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    const int rc = ReadBytes<ReadCsa>(std::string("N+a\nN-b\n") + c.text + "%CHUDAN\n", r, message);
    if (c.sfen == nullptr) {
      test::ExpectReadOutcome(rc, r, message, -1, c.text);
      continue;
    }
    ASSERT_EQ(rc, 0) << c.text;
    EXPECT_EQ(ToSfen(r.InitialPosition, kFirst), c.sfen) << c.text;
  }
}

}  // namespace
}  // namespace shogi
