// The choosing loop: front capture, scoring, mate vetting and the repetition penalty.
#include "choose.h"

#include <utility>

#include "exchange.h"
#include "mate.h"
#include "movegen.h"

namespace thinking {

namespace {

constexpr int kWorstScore = -20000;  // below any score a move can get
constexpr int kVettingDepth = 5;     // the opponent's mates looked for after each candidate

// Puts the first move with the greatest gain at the front, so that it wins ties.
void FrontCapture(const Position& pos, CandidateList& list) {
  int best = kWorstScore, best_index = 0;
  for (int i = 0; i < list.count; ++i) {
    const int gain = Gain(pos, list.move[i]);
    if (gain > best) {
      best = gain;
      best_index = i;
    }
  }
  std::swap(list.move[0], list.move[best_index]);
}

// Whether the position after the move was already on the board with the opponent to move.
bool RepeatsEarlierPosition(const Game& game, const Position& after) {
  const std::uint32_t key = PositionKey(after);
  for (int j = 1 - game.SideToMove(); j < game.count; j += 2) {
    if (game.keys[j] == key) return true;
  }
  return false;
}

}  // namespace

int ChooseMove(const Game& game, Move& answer) {
  CandidateList moves;
  GenerateLegal(game, moves);
  if (moves.count == 0) return 0;
  if (moves.count == 1) {
    answer = moves.move[0];
    return 1;
  }
  const Side s = game.SideToMove();
  Position pos = game.position;  // the exchange routines play moves on it and take them back
  FrontCapture(pos, moves);
  int best = kWorstScore;
  int kept = 0;
  for (int i = 0; i < moves.count; ++i) {
    const Move& m = moves.move[i];
    int score = MoveScore(pos, s, m);
    if (score <= best) {
      ++kept;  // cannot become the answer, so it is kept without vetting
      continue;
    }
    Position after = game.position;
    ApplyMove(after, m, s);
    Move reply;
    if (FindMate(after, Opponent(s), kVettingDepth, reply)) continue;
    if (RepeatsEarlierPosition(game, after)) --score;
    if (score > best) {
      best = score;
      answer = m;
    }
    ++kept;
  }
  return kept;
}

}  // namespace thinking
