// The deep score: evaluation, alpha-beta over all moves, quiescence over captures.
#include "analysis/deep_score.h"

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "analysis/player_tables.h"
#include "rules/attack.h"
#include "rules/move_rules.h"
#include "rules/movegen.h"

namespace shogi::player {
namespace {

constexpr int kMaxPly = 32;
constexpr int kQuiescenceDepth = 8;

int Distance(Square a, Square b) {
  return std::max(std::abs(FileOf(a) - FileOf(b)), std::abs(RankOf(a) - RankOf(b)));
}

bool IsGuard(int type) {
  return type == kGold || type == kSilver || (type >= kPromotedPawn && type <= kPromotedSilver);
}

// The safety of `side`'s king: golds and silvers beside it, enemy pieces near it, enemy
// pieces in hand that could be dropped against a thin castle, and how far it has strayed.
int KingSafety(const Position& pos, Side side) {
  const Square k = pos.King[side];
  if (!IsSquare(k)) return 0;
  const Side other = Opponent(side);
  int guards = 0, attackers = 0;
  for (Square s = 1; s <= 81; ++s) {
    const int code = pos.Board[s];
    if (code == 0) continue;
    const int type = TypeOf(code);
    const int d = Distance(s, k);
    if (BelongsTo(code, side)) {
      if (d <= 2 && IsGuard(type)) ++guards;
    } else {
      if (d <= 2 && type != kPawn) ++attackers;
      if (d <= 3 && (type == kDragon || type == kHorse || type == kRook)) ++attackers;
    }
  }
  int in_hand = 0;
  for (int t = kLance; t <= kRook; ++t) in_hand += pos.Hand[other][t];
  guards = std::min(guards, 4);
  const int rank = RelativeRank(side, k);
  int value = guards * 8 - attackers * 10 - in_hand * (4 - guards) * 2;
  value += rank >= 8 ? 10 : rank <= 6 ? -20 : 0;
  return value;
}

// Ordering key of a move: captures by the victim's value, cheaper capturer first, then
// promotions; quiet moves keep their generation order (drops come last there).
int OrderKey(const Position& pos, MoveCode m) {
  const int victim = TypeOf(pos.Board[DestinationOf(m)]);
  int key = 0;
  if (victim != 0) {
    const int attacker = IsDrop(m) ? 0 : TypeOf(pos.Board[OriginOf(m)]);
    key = 1000 + kCaptureValue[victim] * 16 - kCaptureValue[attacker] / 4;
  }
  if (IsPromotion(m)) key += 100;
  return key;
}

class DeepSearch {
 public:
  explicit DeepSearch(SearchControl& control) : control_(control) {}

  // Negamax value for `side` to move.
  int Search(const Position& pos, Side side, int depth, int alpha, int beta, int ply) {
    if (depth <= 0 || ply >= kMaxPly) return Quiesce(pos, side, alpha, beta, ply, 0);
    if (control_.Poll()) return 0;
    MoveBuffer& moves = buffers_[ply];
    moves.count = 0;
    GeneratePseudoLegal(pos, side, moves);
    Order(pos, moves, ply);
    int best = -kInfiniteScore;
    int legal = 0;
    for (int i = 0; i < moves.count; ++i) {
      const MoveCode m = moves.moves[i];
      Position next;
      if (!Play(pos, side, m, next)) continue;
      ++legal;
      const int score = -Search(next, Opponent(side), depth - 1, -beta, -alpha, ply + 1);
      if (control_.Stopped()) return 0;
      if (score > best) {
        best = score;
        if (score > alpha) {
          alpha = score;
          if (alpha >= beta) {
            if (pos.Board[DestinationOf(m)] == 0) {
              killers_[ply] = m;
              HistoryCell(m) += depth * depth;
            }
            break;
          }
        }
      }
    }
    if (legal == 0) return -kMateScore + ply;
    return best;
  }

  // Captures only, standing pat on the evaluation; a side in check answers it with every
  // legal move instead (a check is a threat the evaluation does not see).
  int Quiesce(const Position& pos, Side side, int alpha, int beta, int ply, int qdepth) {
    if (control_.Poll()) return 0;
    MoveBuffer& moves = buffers_[ply];
    moves.count = 0;
    if (qdepth < kQuiescenceDepth && ply < kMaxPly && InCheck(pos, side)) {
      GeneratePseudoLegal(pos, side, moves);
      Order(pos, moves, -1);
      return QuiesceMoves(pos, side, moves, -kMateScore + ply, alpha, beta, ply, qdepth);
    }
    const int stand = Evaluate(pos, side);
    if (stand >= beta || qdepth >= kQuiescenceDepth || ply >= kMaxPly) return stand;
    // The board moves only (a drop never captures); keep the captures, best victims first.
    for (Square s = 1; s <= 81; ++s) {
      if (BelongsTo(pos.Board[s], side)) GeneratePieceMoves(pos, side, s, moves);
    }
    int n = 0;
    for (int i = 0; i < moves.count; ++i) {
      const MoveCode m = moves.moves[i];
      if (pos.Board[DestinationOf(m)] == 0) continue;
      // The king taken: the opponent's last move was illegal, which this side wins.
      if (TypeOf(pos.Board[DestinationOf(m)]) == kKing) return kMateScore - ply;
      moves.moves[n++] = m;
    }
    moves.count = n;
    Order(pos, moves, -1);
    return QuiesceMoves(pos, side, moves, stand, std::max(alpha, stand), beta, ply, qdepth);
  }

  // The legal ones of `moves`, each answered by the quiescence search; `best` is the value
  // without any of them (standing pat, or mated).
  int QuiesceMoves(const Position& pos, Side side, const MoveBuffer& moves, int best, int alpha,
                   int beta, int ply, int qdepth) {
    for (int i = 0; i < moves.count; ++i) {
      Position next;
      if (!Play(pos, side, moves.moves[i], next)) continue;
      const int score = -Quiesce(next, Opponent(side), -beta, -alpha, ply + 1, qdepth + 1);
      if (control_.Stopped()) return 0;
      if (score > best) {
        best = score;
        if (score > alpha) {
          alpha = score;
          if (alpha >= beta) break;
        }
      }
    }
    return best;
  }

 private:
  // Plays `m` into `next`; false when it leaves the mover's king attacked or is a pawn drop
  // that mates.
  static bool Play(const Position& pos, Side side, MoveCode m, Position& next) {
    if (m.from == DropOrigin(kPawn) && PawnDropMate(pos, side, DestinationOf(m)) != 0) return false;
    next = pos;
    ApplyMove(next, m, side);
    return !InCheck(next, side);
  }

  // Sorts captures and promotions to the front (stable), then the killer of this ply, then
  // the quiet moves that refuted others before (the history), most often first.
  void Order(const Position& pos, MoveBuffer& moves, int ply) {
    int keys[kMoveBufferSize];
    for (int i = 0; i < moves.count; ++i) {
      const MoveCode m = moves.moves[i];
      keys[i] = OrderKey(pos, m) * kHistoryLimit;
      if (keys[i] == 0 && ply >= 0) keys[i] = m == killers_[ply] ? kHistoryLimit - 1 : History(m);
    }
    // Insertion sort on the few moves with a key: most keys are 0 and stay in order.
    for (int i = 0; i < moves.count; ++i) {
      if (keys[i] == 0) continue;
      const MoveCode m = moves.moves[i];
      const int key = keys[i];
      int j = i;
      while (j > 0 && keys[j - 1] < key) {
        moves.moves[j] = moves.moves[j - 1];
        keys[j] = keys[j - 1];
        --j;
      }
      moves.moves[j] = m;
      keys[j] = key;
    }
  }

  // How often the quiet move refuted another line in this search, weighted by the depth
  // left; below the killer's key.
  int& HistoryCell(MoveCode m) { return history_[OriginOf(m)][DestinationOf(m)]; }
  int History(MoveCode m) { return std::min(HistoryCell(m), kHistoryLimit - 2); }

  static constexpr int kHistoryLimit = 1 << 16;
  SearchControl& control_;
  MoveBuffer buffers_[kMaxPly + 1];
  MoveCode killers_[kMaxPly + 1] = {};
  int history_[108][82] = {};  // by origin (a square, or 100 + the dropped type) and destination
};

}  // namespace

int Evaluate(const Position& pos, Side side) {
  int score[2] = {0, 0};
  for (Square s = 1; s <= 81; ++s) {
    const int code = pos.Board[s];
    if (code == 0) continue;
    const Side owner = code > 0 ? kFirst : kSecond;
    const int type = TypeOf(code);
    if (type == kKing) continue;
    score[owner] +=
        kCaptureValue[type] * kScoreScale + PieceSquareValue(type, Relative(owner, s)) * 8;
  }
  for (Side owner : {kFirst, kSecond}) {
    for (int t = kPawn; t <= kRook; ++t) score[owner] += pos.Hand[owner][t] * kCaptureValue[t] * 11;
    score[owner] += KingSafety(pos, owner);
  }
  return score[side] - score[Opponent(side)];
}

int DeepScore(const Position& after, Side mover, int depth, int bound, SearchControl& control,
              bool& complete) {
  // The search object holds a move buffer per ply: too large for the stack.
  const auto search = std::make_unique<DeepSearch>(control);
  const int alpha = bound;
  const int beta = kInfiniteScore;
  const int value = -search->Search(after, Opponent(mover), depth, -beta, -alpha, 1);
  complete = !control.Stopped();
  return value;
}

}  // namespace shogi::player
