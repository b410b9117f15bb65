// LegalMoves and the rule tests the game driver runs after every move.
#include "rules/move_rules.h"

#include <algorithm>

#include "rules/attack.h"

namespace shogi {
namespace {

// A second-player marker used to stand in for a capturing piece.
constexpr std::int8_t kMarker[2] = {1, -1};

}  // namespace

bool IsPlayableMove(const Position& pos, Side side, MoveCode move) {
  if (!IsWellFormedMove(move)) return false;
  const int to = DestinationOf(move);
  if (TypeOf(pos.Board[to]) == kKing) return false;
  if (IsDrop(move)) return pos.Board[to] == 0 && pos.Hand[side][DroppedType(move.from)] > 0;
  if (!BelongsTo(pos.Board[move.from], side)) return false;
  // One buffer for every call: a fresh one would clear its 8 KB each time, and every
  // database read checks each of its moves here.
  static thread_local MoveBuffer moves;
  moves.count = 0;
  GeneratePieceMoves(pos, side, move.from, moves);
  return std::find(moves.moves, moves.moves + moves.count, move) != moves.moves + moves.count;
}

int PawnDropMate(const Position& pos_in, Side side, Square p) {
  const Side defender = Opponent(side);
  const int forward = side == kFirst ? kUp : kDown;  // the pawn's step, toward the king
  const Square k = p + forward;
  if (!IsSquare(k) || pos_in.Board[k] != CodeOf(kKing, defender)) return 0;

  Position pos = pos_in;  // scratch copy; every change below is undone
  // Can a defender (the king included) take the pawn on p?
  Square takers[16];
  int n = AttackersOf(pos, p, defender, takers);
  for (int i = 0; i < n; ++i) {
    Square a = takers[i];
    if (i > 0 && a == takers[i - 1]) continue;
    std::int8_t piece = pos.Board[a];
    pos.Board[a] = 0;
    bool possible;
    if (a == k) {
      possible = AttackedBy(pos, p, side) == 0;
    } else {
      // A pinned piece cannot take: with it on p, the king must not be attacked.
      pos.Board[p] = kMarker[defender];
      possible = AttackedBy(pos, k, side) == 0;
      pos.Board[p] = 0;
    }
    pos.Board[a] = piece;
    if (possible) return 0;
  }

  // Can the king flee? The king is lifted so that sliders through its square count.
  static constexpr int kEscapes[7] = {kDownLeft,  kLeftward, kUpLeft, kDownRight,
                                      kRightward, kUpRight,  kUp};
  pos.Board[k] = 0;
  pos.Board[p] = static_cast<std::int8_t>(CodeOf(kPawn, side));
  for (int e : kEscapes) {
    int step = side == kFirst ? e : -e;
    if (!(kSquareFlags[k] & BitOfStep(step))) continue;
    Square t = k + step;
    if (BelongsTo(pos.Board[t], defender)) continue;
    if (AttackedBy(pos, t, side) == 0) return 0;
  }
  return -1;
}

int RepetitionCount(const GameRecord& record, const Position& shown) {
  Position pos = record.InitialPosition;
  int count = 1;
  const int end = record.PlyCount < kMaxMoves ? record.PlyCount : kMaxMoves;
  for (int i = record.StartIndex; i < end; ++i) {
    if ((i & 1) == (record.PlyCount & 1) && std::memcmp(&pos, &shown, 98) == 0) ++count;
    MoveCode m = record.MoveList[i];
    if (!IsWellFormedMove(m)) break;
    ApplyMove(pos, m, SideOfPly(i));
  }
  return count;
}

int PerpetualCheckScore(const GameRecord& record, const Position& after) {
  const Side m = SideOfPly(record.PlyCount);
  const Side opp = Opponent(m);
  const int end = record.PlyCount < kMaxMoves ? record.PlyCount : kMaxMoves;
  const std::int8_t* hand_after = after.Hand[m];

  int score = 0;
  int repetitions = 0;
  int cycle_start = -1;  // the first ply of the replay below
  Position pos = record.InitialPosition;
  for (int i = record.StartIndex; i < end; ++i) {
    if (SideOfPly(i) != m && std::memcmp(pos.Board, after.Board, 82) == 0) {
      const std::int8_t* hand = pos.Hand[m];
      bool more_now = false, equal = true;
      for (int t = 7; t >= 1; --t) {
        if (hand_after[t] > hand[t]) more_now = true;
        if (hand_after[t] != hand[t]) equal = false;
      }
      if (!more_now) {
        score = score == 0 ? -2 : score - 12;
        if (equal) {
          if (repetitions == 0) cycle_start = i;
          ++repetitions;
        }
      }
    }
    MoveCode mv = record.MoveList[i];
    if (!IsWellFormedMove(mv)) return score;
    ApplyMove(pos, mv, SideOfPly(i));
  }
  if (repetitions == 0) return 0;

  // Were all positions from the first repetition on checks by m? Only the squares matter:
  // the opponent's pieces merely block, so its drops are marked as pawns of its colour and
  // its promotions are ignored.
  Position replay = after;
  Square king = after.King[opp];
  if (king <= 0) return score;
  for (int i = cycle_start; i < end; i += 2) {
    if (AttackedBy(replay, king, m) == 0) return score;
    score -= 1;
    MoveCode reply = record.MoveList[i];
    int to = DestinationOf(reply);
    if (IsDrop(reply)) {
      replay.Board[to] = static_cast<std::int8_t>(CodeOf(kPawn, opp));
    } else {
      if (reply.from == king) king = to;
      replay.Board[to] = replay.Board[reply.from];
      replay.Board[reply.from] = 0;
    }
    if (i + 1 < end) {
      MoveCode own = record.MoveList[i + 1];
      int own_to = DestinationOf(own);
      if (IsDrop(own)) {
        replay.Board[own_to] = static_cast<std::int8_t>(CodeOf(DroppedType(own.from), m));
      } else {
        int code = replay.Board[own.from];
        if (IsPromotion(own)) code += code > 0 ? kPromoteOffset : -kPromoteOffset;
        replay.Board[own_to] = static_cast<std::int8_t>(code);
        replay.Board[own.from] = 0;
      }
    }
  }
  return repetitions >= 3 ? kPerpetualCheck : score;
}

int LegalMoves(const GameRecord& record, const Position& pos, LegalMoveList& out) {
  const Side side = SideOfPly(record.PlyCount);
  const Side opp = Opponent(side);
  const int opp_king_code = CodeOf(kKing, opp);
  MoveBuffer buffer;
  buffer.count = 0;
  GeneratePseudoLegal(pos, side, buffer);
  int n = 0;
  for (int i = 0; i < buffer.count; ++i) {
    const MoveCode m = buffer.moves[i];
    const int from = m.from, to = DestinationOf(m), promote = IsPromotion(m) ? 1 : 0;
    if (pos.Board[to] != opp_king_code) {
      if (from == DropOrigin(kPawn) && PawnDropMate(pos, side, to) == -1) continue;
      Position next = pos;
      ApplyMove(next, from, side, to, promote);
      if (InCheck(next, side)) continue;
      if (InCheck(next, opp) && PerpetualCheckScore(record, next) == kPerpetualCheck) continue;
    }
    out.origin[n] = from;
    out.destination[n] = to;
    out.promote[n] = promote;
    ++n;
  }
  out.count = n;
  return n;
}

bool IsLegalMove(const GameRecord& record, const Position& pos, MoveCode move) {
  static thread_local LegalMoveList moves;
  const int n = LegalMoves(record, pos, moves);
  for (int i = 0; i < n; ++i) {
    if (moves.Move(i) == move) return true;
  }
  return false;
}

PositionCheck CheckPosition(const Position& pos, Side side_to_move, bool both_kings) {
  if (pos.King[kSecond] <= 0 || (both_kings && pos.King[kFirst] <= 0)) {
    return PositionCheck::kMissingKing;
  }
  for (Square s = 1; s <= 81; ++s) {
    int code = pos.Board[s], rank = RankOf(s);
    if (code == kPawn || code == kLance || code == kKnight) {
      if (rank == 1 || (code == kKnight && rank == 2)) return PositionCheck::kDeadPiece;
    } else if (code == -kPawn || code == -kLance || code == -kKnight) {
      if (rank == 9 || (code == -kKnight && rank == 8)) return PositionCheck::kDeadPiece;
    }
  }
  for (int file = 1; file <= 9; ++file) {
    int first = 0, second = 0;
    for (int rank = 1; rank <= 9; ++rank) {
      int code = pos.Board[SquareOf(file, rank)];
      if (code == kPawn && rank >= 2) ++first;
      if (code == -kPawn && rank <= 8) ++second;
    }
    if (first > 1 || second > 1) return PositionCheck::kTwoPawns;
  }
  if (InCheck(pos, Opponent(side_to_move))) return PositionCheck::kOpponentInCheck;
  return PositionCheck::kPlayable;
}

}  // namespace shogi
