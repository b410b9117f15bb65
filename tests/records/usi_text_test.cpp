// SFEN and USI position strings, and the format of a pasted text.
#include "records/usi_text.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "records/kif.h"
#include "rules/sfen.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::ReadBytes;
using test::Cp;

TEST(UsiText, ReadsPositionsAndTheirMoves) {
  constexpr const char* kGoteFirst =
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";
  struct Case {
    std::string text;
    const char* sfen;   // of the start position with its side; nullptr: refused
    const char* moves;  // USI
  };
  const Case cases[] = {
      {"position startpos moves 7g7f 3c3d 8h2b+", kStartSfen.data(), "7g7f 3c3d 8h2b+"},
      {"startpos", kStartSfen.data(), ""},
      {"\n  \r\nposition startpos moves 7g7f\r\n", kStartSfen.data(), "7g7f"},
      {std::string("sfen ") + kGoteFirst + " moves 3c3d 7g7f", kGoteFirst, "3c3d 7g7f"},
      {std::string("position sfen ") + kGoteFirst + " moves 3c3d", kGoteFirst, "3c3d"},
      {"4k4/9/4P4/9/9/9/9/9/4K4 b G 1", "4k4/9/4P4/9/9/9/9/9/4K4 b G 1", ""},
      {"4k4/9/4P4/9/9/9/9/9/4K4 b G moves G*5b", "4k4/9/4P4/9/9/9/9/9/4K4 b G 1", "G*5b"},
      {"position startpos moves 7g7f 7g7f", nullptr, nullptr},  // nothing left on 7g
      {"position startpos moves 7g7e", nullptr, nullptr},
      {"position startpos moves 7g7f xx", nullptr, nullptr},
      {"position startpos 7g7f", nullptr, nullptr},  // no "moves"
      {"sfen 9/9 b - 1", nullptr, nullptr},
      {"position", nullptr, nullptr},
      {"", nullptr, nullptr},
  };
  for (const Case& c : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    const int rc = ReadBytes<ReadUsiText>(c.text, r, message);
    if (c.sfen == nullptr) {
      test::ExpectReadOutcome(rc, r, message, -1, c.text);
      continue;
    }
    ASSERT_EQ(rc, 0) << c.text;
    EXPECT_EQ(ToSfen(r.InitialPosition, SideOfPly(r.StartIndex)), c.sfen) << c.text;
    EXPECT_EQ(test::UsiMoves(r), c.moves) << c.text;
    EXPECT_EQ(r.PlyCount, r.StartIndex);
    EXPECT_EQ(r.ResultCode, kResultNone);
    EXPECT_EQ(FieldText(r.FirstName), "");
  }
}

TEST(UsiText, KeepsAtMost500Moves) {
  std::string text = "position startpos moves";
  const char* const shuffle[4] = {" 2h3h", " 8b7b", " 3h2h", " 7b8b"};
  for (int i = 0; i < 510; ++i) text += shuffle[i % 4];
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadBytes<ReadUsiText>(text, r, message), 0);
  EXPECT_EQ(RecordMoveCount(r), 500);
}

TEST(UsiText, RecognisesAPastedTextByItsFirstDecisiveLine) {
  struct Case {
    const char* text;  // UTF-8
    std::optional<RecordFormat> format;
  };
  const Case cases[] = {
      {"position startpos moves 7g7f", RecordFormat::kUsi},
      {"\n  startpos", RecordFormat::kUsi},
      {"sfen 4k4/9/9/9/9/9/9/9/4K4 b - 1", RecordFormat::kSfen},
      {"4k4/9/9/9/9/9/9/9/4K4 b - 1", RecordFormat::kSfen},
      {"V2.2\nN+a", RecordFormat::kCsa},
      {"'CSA encoding=UTF-8\nV3.0", RecordFormat::kCsa},
      {"N-b", RecordFormat::kCsa},
      {"PI82HI", RecordFormat::kCsa},
      {"$EVENT:x", RecordFormat::kCsa},
      {"+\n+7776FU", RecordFormat::kCsa},
      {"# 棋譜\n先手：a\n後手：b\n▲７六歩 △３四歩", RecordFormat::kKi2},
      {"上手：a\n手合割：香落ち\n△３四歩", RecordFormat::kKi2},
      {"#\n手合割：平手\n手数----指手---------消費時間--", RecordFormat::kKif},
      {"開始日時：2024/01/01\n1 ７六歩(77)", RecordFormat::kKif},
      {"*コメント\n&しおり\n   1 ７六歩(77)", RecordFormat::kKif},
      // The diagram's border is no CSA statement, nor its ranks anything else.
      {"後手の持駒：なし\n  ９ ８ ７ ６ ５ ４ ３ ２ １\n+---------------------------+\n"
       "| ・ ・ ・ ・v玉 ・ ・ ・ ・|一\n手数----指手---------消費時間--",
       RecordFormat::kKif},
      {"先手：a\n後手：b", std::nullopt},
      {"hello", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(RecognizeRecordText(Cp(c.text)), c.format) << c.text;
}

TEST(UsiText, PastesEveryFormatItRecognises) {
  const GameRecord kif_game = test::MakeRecord("startpos", "7g7f 3c3d 8h2b+ 3a2b");
  struct Case {
    std::string utf8;
    const char* moves;  // nullptr: refused
  };
  const Case cases[] = {
      {Utf8(FormatKif(kif_game, false)), "7g7f 3c3d 8h2b+ 3a2b"},
      {"先手：東京\n後手：大阪\n▲７六歩 △３四歩", "7g7f 3c3d"},
      {"N+東京\nN-大阪\n+\n+7776FU,-3334FU\n%TORYO", "7g7f 3c3d"},
      {"position startpos moves 7g7f", "7g7f"},
      {"\xEF\xBB\xBF"
       "sfen 4k4/9/4P4/9/9/9/9/9/4K4 b G 1 moves G*5b",
       "G*5b"},
      {"先手：東京\n後手：大阪", nullptr},  // names but no moves: nothing decides the format
      {"N+a\n+\n+7775FU", nullptr},         // recognised, refused by its reader
  };
  for (const Case& c : cases) {
    GameRecord r = test::SentinelRecord();
    std::string message;
    const int rc = ReadPastedRecord(c.utf8, r, message);
    if (c.moves == nullptr) {
      EXPECT_EQ(rc, 1) << c.utf8;
      EXPECT_TRUE(SameRecord(r, test::SentinelRecord())) << c.utf8;
      continue;
    }
    ASSERT_EQ(rc, 0) << c.utf8 << message;
    EXPECT_EQ(test::UsiMoves(r), c.moves) << c.utf8;
  }
  GameRecord r;
  std::string message;
  ASSERT_EQ(ReadPastedRecord("先手：東京\n後手：大阪\n▲７六歩", r, message), 0);
  EXPECT_EQ(Utf8(FieldText(r.FirstName)), "東京");
  // This text is valid cp932 as well; pasted, it is still UTF-8.
  ASSERT_EQ(ReadPastedRecord("N+東京\nN-大阪\n+\n+7776FU", r, message), 0);
  EXPECT_EQ(Utf8(FieldText(r.FirstName)), "東京");
  EXPECT_EQ(Utf8(FieldText(r.SecondName)), "大阪");
  EXPECT_EQ(ReadPastedRecord("hello", r, message), 1);
  EXPECT_EQ(message, "クリップボードの内容は棋譜として読めません。");
}

}  // namespace
}  // namespace shogi
