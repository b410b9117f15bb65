// Exchange counts, preliminary scores and positional values of the computer player.
//
// Preliminary scores. A drop onto a square the opponent attacks is judged by the exchange
// count (below). A move onto an attacked square is judged by the exchange
// outcome (either side may stop): when it loses material the move scores by the piece it
// risks, -20 for a pawn, lance or knight, -40 for a silver, gold or promoted minor piece,
// -60 for a bishop, rook, horse or dragon, and half of that (rounded towards -10) when the
// destination is still defended. Every other move scores 0.
#include "analysis/player_tactics.h"

#include <algorithm>
#include <cstdlib>

#include "rules/attack.h"

namespace shogi::player {
namespace {

int ValueOfCode(int code) {
  return kCaptureValue[TypeOf(code)];
}

// The least valuable attacker of `side` on `square` (the first found among equals), 0 if none.
Square CheapestAttacker(const Position& pos, Square square, Side side) {
  Square attackers[16];
  const int n = AttackersOf(pos, square, side, attackers);
  Square best = 0;
  int best_value = 1 << 20;
  for (int i = 0; i < n; ++i) {
    const int v = ValueOfCode(pos.Board[attackers[i]]);
    if (v < best_value) {
      best_value = v;
      best = attackers[i];
    }
  }
  return best;
}

// The captures on `square` in order, starting with the opponent of `side`; gains[i] is the
// value taken by capture i. Stops when the side to capture has no attacker or a king has
// just captured. With `safe_kings` a king captures only when no enemy piece attacks the
// square any more. Returns the number of captures.
int CaptureSequence(Position pos, Square square, Side side, int* gains, bool safe_kings) {
  int n = 0;
  Side capturer = Opponent(side);
  while (n < 32) {
    const Square from = CheapestAttacker(pos, square, capturer);
    if (from == 0) break;
    const int mover = pos.Board[from];
    if (safe_kings && TypeOf(mover) == kKing && AttackedBy(pos, square, Opponent(capturer)) != 0)
      break;
    gains[n] = ValueOfCode(pos.Board[square]);
    ++n;
    pos.Board[square] = static_cast<std::int8_t>(mover);
    pos.Board[from] = 0;
    if (TypeOf(mover) == kKing) break;
    capturer = Opponent(capturer);
  }
  return n;
}

// Type groups of the preliminary penalty: pawn, lance, knight; silver, gold and the promoted
// minor pieces; bishop, rook, horse and dragon.
int RiskPenalty(int type) {
  switch (type) {
    case kPawn:
    case kLance:
    case kKnight:
      return -20;
    case kBishop:
    case kRook:
    case kHorse:
    case kDragon:
      return -60;
    default:
      return -40;
  }
}

int DistanceBetween(Square a, Square b) {
  return std::max(std::abs(FileOf(a) - FileOf(b)), std::abs(RankOf(a) - RankOf(b)));
}

int PieceSquare(Side side, int type, Square s) {
  return PieceSquareValue(type, Relative(side, s));
}

}  // namespace

int ExchangeCount(const Position& after, Square square, Side side) {
  int gains[32];
  const int n = CaptureSequence(after, square, side, gains, false);
  int total = 0;
  for (int i = 0; i < n; ++i) total += (i % 2 == 0) ? -gains[i] : gains[i];
  return total;
}

int ExchangeOutcome(const Position& after, Square square, Side side) {
  int gains[32];
  const int n = CaptureSequence(after, square, side, gains, true);
  // Backwards: value[i] is what the side making capture i nets from it on, if it captures.
  int value = 0;
  for (int i = n - 1; i >= 0; --i) value = std::max(0, gains[i] - value);
  return -value;
}

int HangingLoss(const Position& pos, Side side, Square except) {
  const Side other = Opponent(side);
  int worst = 0;
  for (Square s = 1; s <= 81; ++s) {
    const int code = pos.Board[s];
    if (s == except || !BelongsTo(code, side) || TypeOf(code) == kKing) continue;
    if (AttackedBy(pos, s, other) == 0) continue;
    worst = std::max(worst, -ExchangeOutcome(pos, s, side));
  }
  return worst;
}

bool GivesCheck(const Position& pos, Side side, MoveCode move) {
  const Side other = Opponent(side);
  if (!pos.HasKing(other)) return false;
  Position next = pos;
  ApplyMove(next, move, side);
  return AttackedBy(next, next.King[other], side) != 0;
}

int PositionalGain(const Position& pos, Side side, MoveCode move) {
  const Square to = DestinationOf(move);
  const Side other = Opponent(side);
  const Square own_king = pos.HasKing(side) ? pos.King[side] : 0;
  const Square their_king = pos.HasKing(other) ? pos.King[other] : 0;
  int value = 0;
  if (IsDrop(move)) {
    const int type = DroppedType(move.from);
    value = PieceSquare(side, type, to) - 1;  // a piece in hand keeps its options
    if (their_king && DistanceBetween(to, their_king) <= 2) value += 2;
    if (own_king && (type == kGold || type == kSilver) && DistanceBetween(to, own_king) <= 1)
      value += 1;
    return value;
  }
  const Square from = OriginOf(move);
  const int type = TypeOf(pos.Board[from]);
  const int new_type = IsPromotion(move) ? PromotedType(type) : type;
  if (type == kKing) {
    // A king is better behind its golds and silvers.
    auto guards = [&](Square k) {
      int n = 0;
      for (Square s = 1; s <= 81; ++s) {
        const int t = TypeOf(pos.Board[s]);
        if (s != from && BelongsTo(pos.Board[s], side) && (t == kGold || t == kSilver) &&
            DistanceBetween(s, k) == 1)
          ++n;
      }
      return n;
    };
    return guards(to) - guards(from);
  }
  value = PieceSquare(side, new_type, to) - PieceSquare(side, type, from);
  if (own_king && (type == kGold || type == kSilver)) {
    const bool was_near = DistanceBetween(from, own_king) <= 2;
    const bool is_near = DistanceBetween(to, own_king) <= 2;
    if (was_near && !is_near) value -= 2;
    if (!was_near && is_near) value += 1;
  }
  if (their_king) {
    // Pieces that close in on the opponent's king build the attack; a major or promoted
    // piece wandering on the far side does nothing.
    const int closer = DistanceBetween(from, their_king) - DistanceBetween(to, their_king);
    value += std::clamp(closer, -1, 1);
    if (DistanceBetween(to, their_king) <= 2 && DistanceBetween(from, their_king) > 2) value += 1;
  }
  return value;
}

CandidateTactics AssessCandidate(const Position& pos, Side side, MoveCode move) {
  CandidateTactics t;
  const Square to = DestinationOf(move);
  const Side other = Opponent(side);
  Position after = pos;
  ApplyMove(after, move, side);
  const bool attacked = AttackedBy(after, to, other) != 0;
  // The rest of the board: a piece rescued from capture, or one left hanging.
  const int elsewhere = HangingLoss(pos, side) - HangingLoss(after, side, to);

  if (IsDrop(move)) {
    const int type = DroppedType(move.from);
    t.gain = PositionalGain(pos, side, move) + elsewhere;
    if (!attacked) return t;
    const bool defended = AttackedBy(after, to, side) != 0;
    if ((type == kBishop || type == kRook) && !defended) {
      t.preliminary = -100;
      return t;
    }
    const int outcome = ExchangeCount(after, to, side);
    if (outcome > 0) {
      t.preliminary = 1;
    } else if (outcome < 0) {
      t.preliminary = outcome - ((type == kBishop || type == kRook) ? 4 : 10);
    }
    return t;
  }

  const int captured = TypeOf(pos.Board[to]);
  const int type = TypeOf(pos.Board[OriginOf(move)]);
  if (captured != 0) {
    t.gain = kCaptureValue[captured] + (IsPromotion(move) ? kPromotionGain[type] : 0);
  } else {
    t.gain = PositionalGain(pos, side, move) + (IsPromotion(move) ? kPromotionGain[type] : 0);
  }
  t.gain += elsewhere;
  if (!attacked) return t;
  const int outcome = ExchangeOutcome(after, to, side);  // <= 0: what the replies take back
  const int captured_value = captured != 0 ? kCaptureValue[captured] : 0;
  if (captured_value + outcome < 0) {
    // The move loses material: the piece it risks sets the penalty.
    const int penalty = RiskPenalty(IsPromotion(move) ? PromotedType(type) : type);
    const bool defended = AttackedBy(after, to, side) != 0;
    t.preliminary = defended ? std::min(-11, penalty / 2) : penalty;
  }
  t.loss = -outcome;
  return t;
}

}  // namespace shogi::player
