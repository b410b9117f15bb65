// The KIF move column, written and read.
#include "records/notation.h"

#include <gtest/gtest.h>

#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::Cp;
using test::FromSfen;
using test::UsiMove;

struct FormatCase {
  const char* sfen;
  const char* move;
  int previous_destination;
  const char* column;  // UTF-8, trailing spaces included
};

TEST(KifMoveColumn, FormatsDestinationPieceAndOriginIn13Bytes) {
  const FormatCase cases[] = {
      {"startpos", "7g7f", 0, "７六歩(77)   "},
      // A capture on the square just moved to, with promotion.
      {"lnsgkgsnl/1r5b1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/1B5R1/LNSGKGSNL b - 1", "8h2b+",
       SquareOf(3, 4), "２二角成(88) "},
      {"lnsgkgsnl/1r5+B1/pppppp1pp/6p2/9/2P6/PP1PPPPPP/7R1/LNSGKGSNL w B 1", "3a2b", SquareOf(2, 2),
       "同　銀(31)   "},
      {"4k4/9/9/3+S5/9/9/9/9/4K4 b - 1", "6d5e", 0, "５五成銀(64) "},
      {"4k4/9/9/9/9/9/9/9/4K4 b N 1", "N*4e", 0, "４五桂打     "},
      {"4k4/9/9/9/9/9/9/9/L3K4 b - 1", "9i9a+", 0, "９一香成(99) "},
      {"4k4/9/9/9/9/9/9/9/+L3K4 b - 1", "9i9h", 0, "９八成香(99) "},
      {"4k4/9/9/9/9/9/9/9/4K3+R b - 1", "1i1a", 0, "１一龍(19)   "},
  };
  for (const FormatCase& c : cases) {
    std::string column =
        FormatKifMove(UsiMove(c.move), FromSfen(c.sfen).pos, c.previous_destination);
    EXPECT_EQ(column, Cp(c.column)) << c.move;
    EXPECT_EQ(column.size(), kKifMoveColumnWidth) << c.move;
  }
}

struct ParseCase {
  const char* line;  // UTF-8
  int previous_destination;
  const char* move;  // USI, or nullptr when the line must fail
};

TEST(KifMoveColumn, ReadsFixedByteColumns) {
  const ParseCase cases[] = {
      {"   1 ７六歩(77)   ( 0:00/00:00:00)", 0, "7g7f"},
      {"   4 同　銀(31)   ( 0:00/00:00:00)", SquareOf(2, 2), "3a2b"},
      {"   3 ２二角成(88) ( 0:00/00:00:00)", 0, "8h2b+"},
      // 成香 as the piece name: the origin is at byte 13.
      {"  11 ９八成香(99)", 0, "9i9h"},
      {"  12 同　成桂(21)", SquareOf(1, 3), "2a1c"},
      {"   5 ４五角打     ( 0:00/00:00:00)", 0, "B*4e"},
      // The piece of a board move is not read: the origin decides.
      {"   1 ７六金(77)", 0, "7g7f"},
      {"   5 ４五玉打", 0, nullptr},  // a king cannot be dropped
      {"   1 ７Ｘ歩(77)", 0, nullptr},
      {"   1 ７六歩(07)", 0, nullptr},
      {"   1 ７六歩[77]", 0, nullptr},
      {"   1 ７六歩", 0, nullptr},
      {"   1 同　歩(77)", 0, nullptr},  // nothing to refer to
  };
  for (const ParseCase& c : cases) {
    MoveCode m{};
    bool ok = ParseKifMove(Cp(c.line), c.previous_destination, m);
    if (c.move == nullptr) {
      EXPECT_FALSE(ok) << c.line;
    } else {
      ASSERT_TRUE(ok) << c.line;
      EXPECT_EQ(FormatUsiMove(m), c.move) << c.line;
    }
  }
}

}  // namespace
}  // namespace shogi
