// SFEN positions and USI moves.
#include "rules/sfen.h"

#include <gtest/gtest.h>

namespace shogi {
namespace {

TEST(Sfen, RoundTrips) {
  const char* const texts[] = {
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",
      "8l/1l+R2P3/p2pBG1pp/kps1p4/Nn1P2G2/P1P1P2PP/1PS6/1KSG3+r1/LN2+p3L w Sbgn3p 124",
      "4k4/9/9/9/9/9/9/9/9 b 2R2B4G4S4N4L18P 1",
  };
  for (const char* text : texts) {
    Position pos;
    Side side;
    int number;
    std::string message;
    ASSERT_EQ(ParseSfen(text, pos, side, number, message), 0) << text << ": " << message;
    EXPECT_EQ(ToSfen(pos, side, number), text);
  }
}

TEST(Sfen, SetsKingSquares) {
  Position pos;
  Side side;
  int number;
  std::string message;
  ASSERT_EQ(ParseSfen("4k4/9/9/9/9/9/9/9/9 w G", pos, side, number, message), 0);
  EXPECT_EQ(pos.King[kSecond], 5);
  EXPECT_EQ(pos.King[kFirst], kNoKing);
  EXPECT_EQ(side, kSecond);
  EXPECT_EQ(number, 1);
  ASSERT_EQ(ParseSfen("startpos", pos, side, number, message), 0);
  EXPECT_EQ(pos, kInitialPosition);
}

TEST(Sfen, RefusesMalformedTextWithoutTouchingTheOutputs) {
  const char* const bad[] = {
      "",
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1 b - 1",              // 8 ranks
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL/9 b - 1",  // 10 ranks
      "lnsgkgsnl/1r5b1/pppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",   // 10 files
      "lnsgkgsnl/1r5b1/pppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",     // 8 files
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL x - 1",    // side
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b",        // no hands
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b K 1",    // king in hand
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b 19P 1",  // too many
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b 3 1",    // count alone
      "lnsg+kgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",   // promoted king
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSN+ b - 1",    // dangling +
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNX b - 1",    // letter
      "lnsgkgsnk/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1",    // two kings
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 0",    // move number
      "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1 extra",
  };
  for (const char* text : bad) {
    Position pos = kInitialPosition;
    Side side = kSecond;
    int number = 77;
    std::string message;
    EXPECT_NE(ParseSfen(text, pos, side, number, message), 0) << text;
    EXPECT_FALSE(message.empty()) << text;
    EXPECT_EQ(pos, kInitialPosition) << text;
    EXPECT_EQ(side, kSecond);
    EXPECT_EQ(number, 77);
  }
}

TEST(UsiMove, ParsesAndFormats) {
  struct Case {
    const char* text;
    int to_byte, from_byte;
  };
  const Case cases[] = {
      {"7g7f", 52, 61}, {"8h2b+", 111, 71}, {"P*5e", 41, 101}, {"R*1a", 1, 107}, {"9i9a+", 109, 81},
  };
  for (const Case& c : cases) {
    MoveCode m;
    ASSERT_TRUE(ParseUsiMove(c.text, m)) << c.text;
    EXPECT_EQ(m.to, c.to_byte) << c.text;
    EXPECT_EQ(m.from, c.from_byte) << c.text;
    EXPECT_EQ(FormatUsiMove(m), c.text);
  }
  const char* const bad[] = {"",     "7g7",  "7g7f+x", "0a1b", "7j7f",
                             "K*5e", "p*5e", "P*5e+",  "5e5e", "7g7f-"};
  for (const char* text : bad) {
    MoveCode m;
    EXPECT_FALSE(ParseUsiMove(text, m)) << text;
  }
}

}  // namespace
}  // namespace shogi
