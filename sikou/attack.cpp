// The attack tests and the piece-reach queries of the thinking library.
#include "attack.h"

namespace thinking {

namespace {

// The look-out order of the attack test for each attacking side and, after the second and
// third direction, the knight square to look at.
constexpr int kLookOrder[2][kDirectionCount] = {
    {kS, kSW, kSE, kW, kE, kNW, kNE, kN},
    {kN, kNE, kNW, kE, kW, kSE, kSW, kS},
};

// The first piece along `dir` from `sq` (exclusive), or 0; `dist` receives its distance.
inline int FirstPiece(const Position& pos, int sq, int dir, int& dist) {
  dist = 0;
  for (int t = Next(sq, dir); t; t = Next(t, dir)) {
    ++dist;
    if (pos.Board[t]) return t;
  }
  return 0;
}

// Whether the piece on `from`, `dist` squares away from the target along `dir` (seen from the
// target), moves onto the target.
inline bool LineReaches(Side s, int code, int dir, int dist) {
  const int type = TypeOf(code);
  const int back = Reverse(dir);
  return dist == 1 ? Reaches(s, type, back) : Slides(s, type, back);
}

inline bool IsKnightOf(const Position& pos, int sq, Side s) {
  return sq && pos.Board[sq] == CodeOf(kKnight, s);
}

}  // namespace

int AttackedBy(const Position& pos, int sq, Side by) {
  const std::uint8_t* sources = kGeometry.knight[Opponent(by)][sq];
  for (int i = 0; i < kDirectionCount; ++i) {
    const int dir = kLookOrder[by][i];
    int dist;
    const int p = FirstPiece(pos, sq, dir, dist);
    if (p && BelongsTo(pos.Board[p], by) && LineReaches(by, pos.Board[p], dir, dist)) return p;
    if (i == 1 && IsKnightOf(pos, sources[1], by)) return sources[1];
    if (i == 2 && IsKnightOf(pos, sources[0], by)) return sources[0];
  }
  return 0;
}

int PiecesReaching(const Position& pos, int sq, Side s, int (&out)[kMaxReaching]) {
  const std::uint8_t* sources = kGeometry.knight[Opponent(s)][sq];
  int n = 0;
  for (int i = 0; i < kDirectionCount; ++i) {
    const int dir = kLookOrder[s][i];
    int dist;
    const int p = FirstPiece(pos, sq, dir, dist);
    if (p && BelongsTo(pos.Board[p], s) && LineReaches(s, pos.Board[p], dir, dist)) out[n++] = p;
    if (i == 1 && IsKnightOf(pos, sources[1], s)) out[n++] = sources[1];
    if (i == 2 && IsKnightOf(pos, sources[0], s)) out[n++] = sources[0];
  }
  return n;
}

bool PieceAttacks(const Position& pos, int code, int from, int to, int vacated) {
  if (!code || !IsSquare(from) || !IsSquare(to) || from == to) return false;
  const Side s = code > 0 ? kFirst : kSecond;
  const int type = TypeOf(code);
  if (type == kKnight) {
    const std::uint8_t* jumps = kGeometry.knight[s][from];
    return jumps[0] == to || jumps[1] == to;
  }
  const int dir = DirectionBetween(from, to);
  if (dir < 0) return false;
  const int t = Next(from, dir);
  if (t == to) return Reaches(s, type, dir);
  if (!Slides(s, type, dir)) return false;
  for (int x = t; x != to; x = Next(x, dir)) {
    if (pos.Board[x] && x != vacated) return false;
  }
  return true;
}

int DirectionBetween(int from, int to) {
  const int df = FileOf(to) - FileOf(from), dr = RankOf(to) - RankOf(from);
  if ((df == 0 && dr == 0) || (df != 0 && dr != 0 && df != dr && df != -dr)) return -1;
  const int step = ((df > 0) - (df < 0)) + 9 * ((dr > 0) - (dr < 0));
  for (int dir = 0; dir < kDirectionCount; ++dir) {
    if (kStep[dir] == step) return dir;
  }
  return -1;
}

bool HasPawnInFile(const Position& pos, Side s, int sq) {
  const int pawn = CodeOf(kPawn, s);
  for (int x = FileOf(sq); x <= kSquareCount; x += 9) {
    if (pos.Board[x] == pawn) return true;
  }
  return false;
}

}  // namespace thinking
