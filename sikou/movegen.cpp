// The pseudo-legal and legal move lists of the thinking library and the pawn-drop mate test.
#include "movegen.h"

#include "game.h"
#include "repetition.h"

namespace thinking {

namespace {

// Drops of `type` on every empty square from `first` onward: ascending for the first
// player, descending for the second (whose `first` is its own mirror square).
void AddDrops(const Position& pos, Side s, int type, int first, int last, CandidateList& list) {
  const int step = s == kFirst ? 1 : -1;
  for (int sq = first; sq != last + step; sq += step) {
    if (!pos.Board[sq]) list.Push(MakeDrop(type, sq));
  }
}

}  // namespace

void GeneratePseudoLegal(const Position& pos, Side s, CandidateList& list) {
  const bool first = s == kFirst;
  // A rook dropped into the opponent's camp is the strongest drop, so it comes first.
  if (pos.Hand[s][kRook] > 0) {
    if (first) {
      AddDrops(pos, s, kRook, 1, 27, list);
    } else {
      AddDrops(pos, s, kRook, 81, 55, list);
    }
  }
  for (int i = 1; i <= kSquareCount; ++i) {
    const int sq = first ? i : 82 - i;
    if (BelongsTo(pos.Board[sq], s)) AddPieceMoves(pos, s, sq, false, list);
  }
  if (pos.Hand[s][kPawn] > 0) {
    // Both sides take the files 1..9 and each file from rank 1 down; the far rank is skipped.
    for (int file = 1; file <= 9; ++file) {
      if (HasPawnInFile(pos, s, file)) continue;
      for (int rank = first ? 2 : 1; rank <= (first ? 9 : 8); ++rank) {
        const int sq = SquareOf(file, rank);
        if (!pos.Board[sq]) list.Push(MakeDrop(kPawn, sq));
      }
    }
  }
  struct DropRange {
    int type, first_start, second_start;
  };
  constexpr DropRange kRanges[] = {
      {kLance, 10, 72}, {kKnight, 19, 63}, {kSilver, 1, 81},
      {kGold, 1, 81},   {kBishop, 1, 81},  {kRook, 28, 54},
  };
  for (const DropRange& r : kRanges) {
    if (pos.Hand[s][r.type] <= 0) continue;
    if (first) {
      AddDrops(pos, s, r.type, r.first_start, 81, list);
    } else {
      AddDrops(pos, s, r.type, r.second_start, 1, list);
    }
  }
}

bool PawnDropMates(const Position& pos, Side s, int sq) {
  const Side o = Opponent(s);
  const int king = pos.KingSquare(o);
  if (!king || !IsSquare(sq) || Next(sq, s == kFirst ? kN : kS) != king) return false;
  Position work = pos;
  const std::int8_t pawn = static_cast<std::int8_t>(CodeOf(kPawn, s));
  work.Board[sq] = pawn;
  // Can anything take the pawn? The king only onto an unguarded square, any other piece only
  // if that does not expose the king.
  int takers[kMaxReaching];
  const int n = PiecesReaching(work, sq, o, takers);
  for (int i = 0; i < n; ++i) {
    const int from = takers[i];
    const std::int8_t code = work.Board[from];
    work.Board[from] = 0;
    work.Board[sq] = code;
    const bool safe = TypeOf(code) == kKing ? !IsAttacked(work, sq, s) : !IsAttacked(work, king, s);
    work.Board[from] = code;
    work.Board[sq] = pawn;
    if (safe) return false;
  }
  // Can the king step away? It is lifted off its square so that lines through it count.
  work.Board[king] = 0;
  for (int dir = 0; dir < kDirectionCount; ++dir) {
    const int to = Next(king, dir);
    if (!to || to == sq || BelongsTo(work.Board[to], o)) continue;
    if (!IsAttacked(work, to, s)) return false;
  }
  return true;
}

void GenerateLegal(const Game& game, CandidateList& list) {
  const Position& pos = game.position;
  const Side s = game.SideToMove();
  const Side o = Opponent(s);
  CandidateList pseudo;
  GeneratePseudoLegal(pos, s, pseudo);
  list.count = 0;
  for (int i = 0; i < pseudo.count; ++i) {
    const Move& m = pseudo.move[i];
    const int target = pos.Board[m.to];
    if (!IsDrop(m) && IsEnemy(target, s) && TypeOf(target) == kKing) {
      list.Push(m);  // the opponent left its king en prise: taking it wins at once
      continue;
    }
    if (IsDrop(m) && DropType(m) == kPawn && PawnDropMates(pos, s, m.to)) continue;
    Position after = pos;
    ApplyMove(after, m, s);
    const int own = after.KingSquare(s);
    if (own && IsAttacked(after, own, o)) continue;
    const int theirs = after.KingSquare(o);
    if (theirs && IsAttacked(after, theirs, s) && IsPerpetualCheck(game, after)) continue;
    list.Push(m);
  }
}

}  // namespace thinking
