// KI2 move text: the relative words for every rule, written and read back.
#include "records/ki2_notation.h"

#include <gtest/gtest.h>

#include <sstream>

#include "platform/cp932.h"
#include "rules/sfen.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

using test::Cp;
using test::UsiMove;

// A position with the first player's king on 8一, the second player's on 2九 (clear of every
// line through 5五) and the pieces given as "S5f +p4e" (upper case the first player's, "+"
// promoted), plus pieces in hand as in SFEN ("G", "p").
Position Place(std::string_view pieces, std::string_view hand = "") {
  Position pos{};
  pos.Board[SquareOf(8, 1)] = kKing;
  pos.Board[SquareOf(2, 9)] = -kKing;
  pos.King[kFirst] = static_cast<std::int8_t>(SquareOf(8, 1));
  pos.King[kSecond] = static_cast<std::int8_t>(SquareOf(2, 9));
  // The piece code of an SFEN letter: upper case the first player's.
  auto code_of = [](char c) {
    const bool first = c >= 'A' && c <= 'Z';
    const int type = static_cast<int>(std::string("PLNSGBRK").find(first ? c : c - 'a' + 'A')) + 1;
    return first ? type : -type;
  };
  std::istringstream words{std::string(pieces)};
  for (std::string w; words >> w;) {
    const bool promoted = w[0] == '+';
    if (promoted) w.erase(0, 1);
    const int code = code_of(w[0]);
    pos.Board[SquareOf(w[1] - '0', w[2] - 'a' + 1)] = static_cast<std::int8_t>(
        promoted ? code + (code > 0 ? kPromoteOffset : -kPromoteOffset) : code);
  }
  for (char c : hand) {
    const int code = code_of(c);
    ++pos.Hand[code > 0 ? kFirst : kSecond][code > 0 ? code : -code];
  }
  return pos;
}

struct WordCase {
  const char* pieces;
  const char* hand;
  const char* move;  // USI
  const char* text;  // UTF-8, the mark tells the mover
  int previous = 0;
};

const WordCase kCases[] = {
    // Rule S: silvers.
    {"S5f S4f", "", "5f5e", "▲５五銀直"},
    {"S5f S4f", "", "4f5e", "▲５五銀右"},
    {"S4d S6f", "", "4d5e", "▲５五銀引"},
    {"S4d S6f", "", "6f5e", "▲５五銀上"},
    {"S4d S6d S4f", "", "4d5e", "▲５五銀右引"},
    {"S4d S6d S4f", "", "4f5e", "▲５五銀上"},
    {"S4d S6d S4f", "", "6d5e", "▲５五銀左"},
    {"S4f S5f S6f S4d", "", "4f5e", "▲５五銀右上"},
    {"S5d S4f", "", "4f5e", "▲５五銀"},  // a silver straight in front cannot come back
    // Rule G: golds and the pieces that move like them.
    {"G4e G6f", "", "4e5e", "▲５五金寄"},
    {"G4e G6f", "", "6f5e", "▲５五金上"},
    {"G4e G6e", "", "4e5e", "▲５五金右"},
    {"G5f G4f", "", "5f5e", "▲５五金直"},
    {"G5d G4e", "", "5d5e", "▲５五金引"},
    {"G4e G4f G6f", "", "4f5e", "▲５五金右上"},
    {"G4e G6e G4f", "", "4e5e", "▲５五金右寄"},
    {"+P4e +P6e", "", "4e5e", "▲５五と右"},
    {"+S4f +S6f", "", "4f5e", "▲５五成銀右"},
    {"G4e +P6e", "", "4e5e", "▲５五金"},  // a と is no rival of a gold
    // Rule B: bishops.
    {"B4d B7g", "", "4d5e", "▲５五角引"},
    {"B4d B7g", "", "7g5e", "▲５五角上"},
    {"B4d B6d", "", "4d5e", "▲５五角右"},
    {"B3c P4d B7g", "", "7g5e", "▲５五角"},  // the other bishop is blocked
    // Rule R: rooks.
    {"R5d R5h", "", "5d5e", "▲５五飛引"},
    {"R5d R5h", "", "5h5e", "▲５五飛行"},
    {"R5d R2e", "", "2e5e", "▲５五飛寄"},
    {"R2e R8e", "", "2e5e", "▲５五飛右"},
    // Rule H: horses and dragons.
    {"+B4e +B7g", "", "4e5e", "▲５五馬寄"},
    {"+B4e +B7g", "", "7g5e", "▲５五馬上"},
    {"+B4e +B6e", "", "4e5e", "▲５五馬右"},
    {"+B5f +B7g", "", "5f5e", "▲５五馬右"},  // both behind: sides relative to each other
    {"+B5f +B7g", "", "7g5e", "▲５五馬左"},
    {"+R5h +R4d", "", "5h5e", "▲５五龍行"},
    {"+R2e +R8e", "", "2e5e", "▲５五龍右"},  // same rank: 寄 is not enough
    {"+R5h +R4f", "", "5h5e", "▲５五龍左"},
    {"+R5h +R4f", "", "4f5e", "▲５五龍右"},
    // Knights, lances, pawns and drops.
    {"N4g N6g", "", "4g5e", "▲５五桂右"},
    {"N4g", "", "4g5e", "▲５五桂"},
    {"N4g", "N", "N*5e", "▲５五桂打"},
    {"", "N", "N*5e", "▲５五桂"},
    {"L5h", "L", "L*5e", "▲５五香打"},
    {"L5h P5g", "L", "L*5e", "▲５五香"},
    {"", "P", "P*5e", "▲５五歩"},
    {"G4e", "G", "G*5e", "▲５五金打"},
    // Promotion suffixes.
    {"P5d", "", "5d5c", "▲５三歩不成"},
    {"P5d", "", "5d5c+", "▲５三歩成"},
    {"P5b", "", "5b5a+", "▲５一歩成"},
    {"B3c", "", "3c5e", "▲５五角不成"},
    {"G5d", "", "5d5c", "▲５三金"},
    {"+P5d", "", "5d5c", "▲５三と"},
    // The same square.
    {"S5f S4f", "", "5f5e", "▲同　銀直", SquareOf(5, 5)},
    // The second player, in its own view: its right is toward file 9.
    {"g6e g4d", "", "6e5e", "△５五金寄"},
    {"g6e g4d", "", "4d5e", "△５五金上"},
    {"g6e g4e", "", "6e5e", "△５五金右"},
    {"s5f", "", "5f5g+", "△５七銀成"},
    {"r5f r5b", "", "5b5e", "△５五飛行"},
};

Side MoverOf(const char* text) {
  return Cp(text).compare(0, 2, Cp("△")) == 0 ? kSecond : kFirst;
}

// Each case written, and read back into its move with the move played and its square kept
// for a following 同.
TEST(Ki2Notation, WritesAndReadsTheRelativeWordsOfEveryRule) {
  for (const WordCase& c : kCases) {
    SCOPED_TRACE(std::string(c.pieces) + " " + c.move);
    const Side mover = MoverOf(c.text);
    const MoveCode move = UsiMove(c.move);
    Position pos = Place(c.pieces, c.hand);
    std::string expected = Cp(c.text);
    expected.append(kKi2MoveFieldWidth - expected.size(), ' ');
    const std::string mark = Cp(mover == kFirst ? "▲" : "△");
    EXPECT_EQ(Utf8(FormatKi2Move(move, pos, mover, c.previous, mark)), Utf8(expected));
    Position played = pos;
    ApplyMove(played, move, mover);
    int previous = c.previous;
    MoveCode read{};
    EXPECT_TRUE(ParseKi2Move(Cp(c.text), pos, mover, previous, read));
    EXPECT_EQ(FormatUsiMove(read), c.move);
    EXPECT_TRUE(pos == played);
    EXPECT_EQ(previous, DestinationOf(move));
  }
}

TEST(Ki2Notation, FormatsAMoveOfARecordFromItsReplay) {
  GameRecord r = test::MakeRecord("startpos", "7g7f 3c3d 8h2b+ 3a2b");
  EXPECT_EQ(Utf8(FormatKi2Move(r, 2, Cp("・"))), "・２二角成      ");
  EXPECT_EQ(Utf8(FormatKi2Move(r, 3, Cp("△"))), "△同　銀        ");
}

struct ReadCase {
  const char* pieces;
  const char* hand;
  const char* token;  // UTF-8
  const char* move;   // USI, nullptr when the token must be refused
  int previous = 0;
};

TEST(Ki2Notation, ReadsLooseTokensAndRefusesImpossibleOnes) {
  const ReadCase cases[] = {
      {"S5f S4f", "", "同銀直", "5f5e", SquareOf(5, 5)},  // 同 without the wide space
      {"+R5d", "", "５五竜", "5d5e"},
      {"G4e G6e", "", "▲５五金", nullptr},  // two golds fit: refused, not guessed
      {"G4e G6e", "", "▲５五金右", "4e5e"},
      {"G4e", "G", "▲５五金引", nullptr},  // no piece fits the word: not read as a drop
      {"G4e", "G", "▲５五金", "4e5e"},
      {"G5f G4f", "", "▲５五金上", nullptr},  // both golds are behind
      {"G5f G6e", "", "▲５五金上", "5f5e"},   // 上 where we write 直: one gold fits
      {"G5f G6e", "", "▲５五金直", "5f5e"},
      {"S5f S4f", "", "▲５五銀上", nullptr},
      {"R5h R9e", "", "▲５五飛上", "5h5e"},  // 上 where we write 行
      {"G4e", "", "▲５五金引", nullptr},     // ... but there is none in hand
      {"", "", "▲５五金打", nullptr},
      {"G5e", "", "▲５四金成", nullptr},  // a gold cannot promote
      {"P5b", "", "▲５一歩", "5b5a+"},    // the only form of the move
      {"", "", "▲５五成金", nullptr},
      {"", "", "▲５五王", nullptr},
      {"", "", "▲５Ｘ歩", nullptr},
      {"", "", "▲同　歩", nullptr},  // no previous move
      {"", "", "▲", nullptr},
      {"", "P", "▲５五歩打", "P*5e"},
      {"P5g", "P", "▲５五歩打", "P*5e"},  // two pawns in a file: a foul, still read
      {"R2e", "", "▲２九飛", nullptr},    // takes the king
      {"R2e", "", "▲２八飛", "2e2h"},
  };
  for (const ReadCase& c : cases) {
    Position pos = Place(c.pieces, c.hand);
    const Position before = pos;
    int previous = c.previous;
    MoveCode m{};
    bool ok = ParseKi2Move(Cp(c.token), pos, kFirst, previous, m);
    if (c.move == nullptr) {
      EXPECT_FALSE(ok) << c.token;
      EXPECT_TRUE(pos == before) << c.token;
    } else {
      ASSERT_TRUE(ok) << c.token;
      EXPECT_EQ(FormatUsiMove(m), c.move) << c.token;
    }
  }
}

}  // namespace
}  // namespace shogi
