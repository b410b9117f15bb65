// The solver's check and evasion generators against the rules' own generators.
#include "analysis/mate_movegen.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "rules/attack.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"
#include "tests/analysis/mate_test_util.h"

namespace shogi {
namespace {

using test::FromSfen;
using test::RandomPosition;
using test::RecordAt;

std::vector<std::string> Usi(const MoveCode* moves, int n) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i) out.push_back(FormatUsiMove(moves[i]));
  return out;
}

// Whether a piece of the first player other than its king attacks the second player's king.
bool CheckedByPiece(const Position& pos) {
  Square from[16];
  const int n = AttackersOf(pos, pos.King[kSecond], kFirst, from);
  for (int i = 0; i < n; ++i) {
    if (pos.Board[from[i]] != kKing) return true;
  }
  return false;
}

// Every pseudo-legal move of the first player after which a piece checks, by brute force.
std::multiset<std::string> CheckingMoves(const Position& pos, bool full) {
  static MoveBuffer buffer;
  buffer.count = 0;
  GeneratePseudoLegal(pos, kFirst, buffer);
  std::set<std::string> all;
  for (int i = 0; i < buffer.count; ++i) all.insert(FormatUsiMove(buffer.moves[i]));
  std::multiset<std::string> out;
  for (int i = 0; i < buffer.count; ++i) {
    const MoveCode m = buffer.moves[i];
    Position next = pos;
    ApplyMove(next, m, kFirst);
    if (!CheckedByPiece(next)) continue;
    const int type = IsDrop(m) ? 0 : pos.Board[m.from];
    const bool narrowed = type == kPawn || type == kBishop || type == kRook;
    // The reduced generator leaves out the plain form where promotion was possible.
    if (!full && narrowed && !IsPromotion(m) &&
        all.count(FormatUsiMove(EncodeMove(m.from, DestinationOf(m), 1))) != 0) {
      continue;
    }
    out.insert(FormatUsiMove(m));
  }
  return out;
}

TEST(MateChecks, FullAndReducedListEveryCheckOnceOnRandomPositions) {
  std::mt19937 rng(20240611);
  int tested = 0;
  for (int i = 0; i < 4000; ++i) {
    const Position pos = RandomPosition(rng);
    if (pos.King[kSecond] <= 0 || InCheck(pos, kSecond)) continue;
    ++tested;
    for (bool full : {true, false}) {
      static CheckList list;
      list.count = 0;
      GenerateChecks(pos, full, list);
      const auto moves = Usi(list.moves, list.count);
      const std::multiset<std::string> got(moves.begin(), moves.end());
      ASSERT_EQ(got, CheckingMoves(pos, full))
          << ToSfen(pos, kFirst) << (full ? " full" : " reduced");
    }
  }
  EXPECT_GT(tested, 2000);
}

// A check said to leave the king a free square does: after it the king steps away. The
// covering list holds, in the same order, every check that may take them all.
TEST(MateChecks, AChecksLeftEscapeIsThereAfterIt) {
  std::mt19937 rng(20261209);
  int pruned = 0, kept = 0;
  for (int i = 0; i < 4000; ++i) {
    const Position pos = RandomPosition(rng);
    if (pos.King[kSecond] <= 0 || InCheck(pos, kSecond)) continue;
    const CheckEscapes reading(pos);
    const KingEscapes escapes = reading.Now();
    static CheckList list;
    list.count = 0;
    GenerateChecks(pos, true, list);
    static CheckList covering;
    covering.count = 0;
    GenerateCoveringChecks(reading, escapes, covering);
    auto covers = [&](const CheckList& l) {
      std::vector<std::string> out;
      for (int j = 0; j < l.count; ++j) {
        if (MayCoverEscapes(pos, l.moves[j], escapes)) out.push_back(FormatUsiMove(l.moves[j]));
      }
      return out;
    };
    ASSERT_EQ(covers(covering), covers(list)) << ToSfen(pos, kFirst);
    for (int j = 0; j < list.count; ++j) {
      const MoveCode m = list.moves[j];
      Position next = pos;
      ApplyMove(next, m, kFirst);
      if (MayCoverEscapes(pos, m, escapes) || InCheck(next, kFirst)) {
        ++kept;
        continue;
      }
      ++pruned;
      EvasionList reply;
      ASSERT_EQ(GenerateEvasions(next, reply, true), 1) << ToSfen(pos, kFirst) << FormatUsiMove(m);
      ASSERT_EQ(reply.moves[0].from, pos.King[kSecond]) << ToSfen(pos, kFirst) << FormatUsiMove(m);
    }
  }
  EXPECT_GT(pruned, 1000);
  EXPECT_GT(kept, 1000);
}

// The free squares are the king's steps onto no piece of its own that no piece attacks once
// the king has left its square (a line piece reaches past it), in the generator's order.
TEST(MateEscapes, FreeSquaresAreTheStepsNoPieceAttacks) {
  std::mt19937 rng(20261210);
  int free_squares = 0;
  for (int i = 0; i < 4000; ++i) {
    const Position pos = RandomPosition(rng);
    const Square k = pos.King[kSecond];
    if (k <= 0) continue;
    Position lifted = pos;
    lifted.Board[k] = 0;
    std::vector<Square> expected;
    for (int d : {kDown, kDownLeft, kDownRight, kLeftward, kRightward, kUpLeft, kUpRight, kUp}) {
      const Square t = k + d;
      if ((kSquareFlags[k] & BitOfStep(d)) && pos.Board[t] >= 0 && !AttackedBy(lifted, t, kFirst))
        expected.push_back(t);
    }
    const KingEscapes got = FreeKingSquares(pos);
    ASSERT_EQ(std::vector<Square>(got.squares, got.squares + got.count), expected)
        << ToSfen(pos, kFirst);
    free_squares += got.count;
  }
  EXPECT_GT(free_squares, 2000);
}

// The free squares after a move or a drop, found from the attacks read once before it, are
// those read anew from the position after it, whether or not it stops or opens a line piece.
TEST(MateEscapes, AfterAMoveAsReadAnew) {
  std::mt19937 rng(20261211);
  int changed = 0;
  auto squares = [](const KingEscapes& e) {
    return std::vector<Square>(e.squares, e.squares + e.count);
  };
  for (int i = 0; i < 400; ++i) {
    const Position pos = RandomPosition(rng);
    if (pos.King[kSecond] <= 0) continue;
    const CheckEscapes escapes(pos);
    const KingEscapes before = escapes.Now();
    static MoveBuffer buffer;
    buffer.count = 0;
    GeneratePseudoLegal(pos, kFirst, buffer);
    for (int j = 0; j < buffer.count; ++j) {
      const MoveCode m = buffer.moves[j];
      if (DestinationOf(m) == pos.King[kSecond]) continue;
      Position next = pos;
      ApplyMove(next, m, kFirst);
      const KingEscapes want = FreeKingSquares(next);
      ASSERT_EQ(squares(escapes.After(next, m)), squares(want))
          << ToSfen(pos, kFirst) << " " << int{m.from} << "-" << int{DestinationOf(m)};
      changed += want.count != before.count;
    }
  }
  EXPECT_GT(changed, 1000);
}

// Without a reply in between, the estimate counts each piece's squares from which it would
// check the king itself, once whatever its forms, and each drop that would.
TEST(MateChecks, EstimateCountsTheDirectChecksOfEachPiece) {
  std::mt19937 rng(20261210);
  int tested = 0;
  for (int i = 0; i < 2000; ++i) {
    Position pos = RandomPosition(rng);
    pos.Hand[kFirst][kPawn] = 0;  // the estimate does not look for a pawn in the file
    if (pos.King[kSecond] <= 0 || InCheck(pos, kSecond)) continue;
    static MoveBuffer buffer;
    buffer.count = 0;
    GeneratePseudoLegal(pos, kFirst, buffer);
    std::set<std::pair<int, int>> direct;
    for (int j = 0; j < buffer.count; ++j) {
      const MoveCode m = buffer.moves[j];
      if (!IsDrop(m) && pos.Board[m.from] == kKing) continue;
      Position next = pos;
      ApplyMove(next, m, kFirst);
      Square from[16];
      const int n = AttackersOf(next, next.King[kSecond], kFirst, from);
      if (std::count(from, from + n, DestinationOf(m)) != 0) direct.insert({m.from, DestinationOf(m)});
    }
    ASSERT_EQ(CheckEstimate(pos).After(pos), static_cast<int>(direct.size())) << ToSfen(pos, kFirst);
    tested += !direct.empty();
  }
  EXPECT_GT(tested, 500);
}

TEST(MateChecks, DropOrderBelowTheKing) {
  struct Case {
    const char* sfen;
    std::vector<std::string> first_drops;
  };
  const Case cases[] = {
      // King on rank 1: the pawn comes before the lance, both after gold, silver, rook.
      {"4k4/9/9/9/9/9/9/9/9 b RGSLP 1", {"G*5b", "S*5b", "R*5b", "P*5b", "L*5b", "R*5c", "L*5c"}},
      // Elsewhere the lance comes first.
      {"9/4k4/9/9/9/9/9/9/9 b RGSLP 1", {"G*5c", "S*5c", "R*5c", "L*5c", "P*5c", "R*5d", "L*5d"}},
      // A pawn in the file forbids the pawn drop.
      {"4k4/9/9/9/9/9/4P4/9/9 b GLP 1", {"G*5b", "L*5b"}},
  };
  for (const Case& c : cases) {
    const Position pos = FromSfen(c.sfen).pos;
    CheckList list;
    GenerateChecks(pos, true, list);
    auto moves = Usi(list.moves, list.count);
    moves.resize(std::min(moves.size(), c.first_drops.size()));
    EXPECT_EQ(moves, c.first_drops) << c.sfen;
  }
}

TEST(MateChecks, DropsComeBeforeBoardMovesAndUncoveringMovesLast) {
  // The rook on 5i behind the silver on 5e: the silver's moves off the file uncover it.
  const Position pos = FromSfen("4k4/9/9/9/4S4/9/9/9/4R4 b G 1").pos;
  CheckList list;
  GenerateChecks(pos, true, list);
  const auto moves = Usi(list.moves, list.count);
  ASSERT_FALSE(moves.empty());
  EXPECT_EQ(moves.front(), "G*5b");
  EXPECT_EQ(moves.back().substr(0, 2), "5e");
  EXPECT_EQ(std::count(moves.begin(), moves.end(), "5e5d"), 0);  // stays on the line
  EXPECT_EQ(std::count(moves.begin(), moves.end(), "5e4d"), 1);
}

TEST(MateEvasions, MatchTheRulesLegalMovesOnRandomChecks) {
  std::mt19937 rng(77);
  int tested = 0;
  for (int i = 0; i < 20000 && tested < 1500; ++i) {
    const Position pos = RandomPosition(rng);
    if (pos.King[kSecond] <= 0 || !InCheck(pos, kSecond) || InCheck(pos, kFirst)) continue;
    ++tested;
    static LegalMoveList legal;
    const GameRecord record = RecordAt(pos, kSecond);
    const int n = LegalMoves(record, pos, legal);
    std::multiset<std::string> expected;
    for (int j = 0; j < n; ++j) expected.insert(FormatUsiMove(legal.Move(j)));
    EvasionList list;
    const int count = GenerateEvasions(pos, list, false);
    ASSERT_EQ(count, list.count);
    const auto moves = Usi(list.moves, list.count);
    ASSERT_EQ(std::multiset<std::string>(moves.begin(), moves.end()), expected)
        << ToSfen(pos, kSecond);
    // The pieces moving onto a square come in the order of the rules' attack test.
    for (int j = 0; j < list.count;) {
      const Square t = DestinationOf(list.moves[j]);
      std::vector<Square> got, order;
      for (; j < list.count && DestinationOf(list.moves[j]) == t; ++j) {
        const Square f = list.moves[j].from;
        if (!IsDrop(list.moves[j]) && f != pos.King[kSecond] && (got.empty() || got.back() != f))
          got.push_back(f);
      }
      Square from[16];
      const int attackers = AttackersOf(pos, t, kSecond, from);
      for (int a = 0; a < attackers; ++a) {
        if (std::find(got.begin(), got.end(), from[a]) != got.end()) order.push_back(from[a]);
      }
      ASSERT_EQ(got, order) << ToSfen(pos, kSecond);
    }
    EvasionList first;
    ASSERT_EQ(GenerateEvasions(pos, first, true), count > 0 ? 1 : 0);
    if (count > 0) {
      EXPECT_EQ(first.moves[0], list.moves[0]);
    }
  }
  EXPECT_GT(tested, 1000);
}

TEST(MateEvasions, KingThenCaptureThenInterpositionsNearestFirstDropsBeforeMoves) {
  // Rook on 5e checks the king on 5a; the gold on 4b can step onto 5b or 5c; the defender
  // holds a pawn and a gold.
  const Position pos = FromSfen("4k4/5g3/9/9/4R4/9/9/9/9 w gp 1").pos;
  EvasionList list;
  const int n = GenerateEvasions(pos, list, false);
  const std::vector<std::string> expected = {
      "5a6b", "5a4a", "5a6a",  // the king (5b is on the file, 4b its own gold)
      "P*5b", "G*5b", "4b5b",  // 5b: drops, then the gold
      "P*5c", "G*5c", "4b5c",  // 5c
      "P*5d", "G*5d"};         // 5d
  EXPECT_EQ(n, list.count);
  EXPECT_EQ(Usi(list.moves, list.count), expected);
}

TEST(MateFrame, TurningTwiceGivesThePositionBack) {
  std::mt19937 rng(5);
  for (int i = 0; i < 200; ++i) {
    const Position pos = RandomPosition(rng);
    EXPECT_EQ(TurnPosition(TurnPosition(pos)), pos);
  }
  // The turned position is the same problem seen from the other side.
  const Position turned = TurnPosition(FromSfen("4k4/9/4P4/9/9/9/9/9/9 b G 1").pos);
  EXPECT_EQ(ToSfen(turned, kSecond), "9/9/9/9/9/9/4p4/9/4K4 w g 1");
  EXPECT_EQ(FormatUsiMove(TurnMove(EncodeMove(DropOrigin(kGold), 14, 0))), "G*5h");
  EXPECT_EQ(FormatUsiMove(TurnMove(EncodeMove(10, 1, 1))), "9h9i+");
}

}  // namespace
}  // namespace shogi
