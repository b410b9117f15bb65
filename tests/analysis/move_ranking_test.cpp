// The best-move ranking: the 64 best of many moves, equal scores in generation order, the
// second player's scores turned round.
#include "analysis/move_ranking.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "tests/support/fv_files.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::Game;

const FvTable& ZeroTable() {
  static FvTable table;
  if (!table.Loaded()) {
    EXPECT_TRUE(table.AllocateZeroed());
  }
  return table;
}

MoveRanking Rank(const Game& g, const FvTable& table) {
  MoveRanking ranking;
  std::string message;
  EXPECT_EQ(RankMoves(g.record, g.pos, table, kDefaultPieceValues, ranking, message), 0) << message;
  return ranking;
}

std::vector<MoveCode> MovesOf(const MoveRanking& r) {
  std::vector<MoveCode> moves;
  for (int i = 0; i < r.Count; ++i) moves.push_back(r.Moves[i].Move());
  return moves;
}

// With the pieces in hand a side has well over 64 moves: the list keeps the 64 best, as a
// stable sort of every move by the score of the position after it would.
TEST(MoveRankingTest, KeepsTheSixtyFourBestOfManyMoves) {
  for (const char* sfen :
       {"4k4/9/9/9/9/9/9/9/4K4 b RBGSNLP 1", "4k4/9/9/9/9/9/9/9/4K4 w rbgsnlp 1"}) {
    const Game g(sfen);
    const std::vector<MoveCode> legal = g.LegalMoves();
    ASSERT_GT(legal.size(), 64u) << sfen;
    struct Scored {
      MoveCode move;
      int score;
    };
    std::vector<Scored> all;
    for (MoveCode m : legal) {
      Position after = g.pos;
      ApplyMove(after, m, g.ToMove());
      const int score = Evaluate(test::PatternTable(), kDefaultPieceValues, after).Static();
      all.push_back({m, g.ToMove() == kFirst ? score : -score});
    }
    std::stable_sort(all.begin(), all.end(),
                     [](const Scored& a, const Scored& b) { return a.score > b.score; });
    const MoveRanking r = Rank(g, test::PatternTable());
    ASSERT_EQ(r.Count, 64) << sfen;
    for (int i = 0; i < 64; ++i) {
      EXPECT_EQ(r.Moves[i].Move(), all[i].move) << sfen << " row " << i;
      EXPECT_EQ(r.Moves[i].Score, all[i].score) << sfen << " row " << i;
    }
  }
}

// With a zero file every quiet move of the start scores 0: the list is the generation order.
TEST(MoveRankingTest, EqualScoresKeepTheGenerationOrder) {
  const Game g;
  const MoveRanking r = Rank(g, ZeroTable());
  EXPECT_EQ(MovesOf(r), g.LegalMoves());
  for (int i = 0; i < r.Count; ++i) EXPECT_EQ(r.Moves[i].Score, 0);
}

// The side to move wins a rook: its capture leads with a positive score, whichever side it is.
TEST(MoveRankingTest, AWinningCaptureScoresPositiveForEitherSide) {
  const struct {
    const char* sfen;
    const char* capture;
  } cases[] = {
      {"4k4/9/9/9/4r4/4P4/9/9/4K4 b - 1", "5f5e"},
      {"4k4/9/9/4p4/4R4/9/9/9/4K4 w - 1", "5d5e"},
  };
  for (const auto& c : cases) {
    const Game g(c.sfen);
    const MoveRanking r = Rank(g, ZeroTable());
    ASSERT_GT(r.Count, 1) << c.sfen;
    EXPECT_EQ(r.Moves[0].Move(), test::UsiMove(c.capture)) << c.sfen;
    // Before: rook against pawn; after: a pawn against none, a rook in hand.
    EXPECT_EQ(r.Moves[0].Score, 87 + 642) << c.sfen;
    EXPECT_LT(r.Moves[1].Score, 0) << c.sfen;
  }
}

}  // namespace
}  // namespace shogi
