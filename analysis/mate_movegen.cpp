// The mate solver's check and evasion generators.
#include "analysis/mate_movegen.h"

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "rules/attack.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

// The square one step `d` from `s`, or 0 at the board's edge.
constexpr Square StepFrom(Square s, int d) {
  return (kSquareFlags[s] & BitOfStep(d)) ? s + d : 0;
}

// A set of squares: bit q of the pair of words for square q.
struct SquareBits {
  std::uint64_t w[2] = {};

  // Both words are written by a choice rather than one of them by its index: a set kept in
  // registers stays there, and one on the stack is not read back in halves just written.
  constexpr void Add(Square q) {
    const std::uint64_t bit = std::uint64_t{1} << (q & 63);
    w[0] |= q < 64 ? bit : 0;
    w[1] |= q < 64 ? 0 : bit;
  }
  constexpr bool Has(Square q) const { return ((q < 64 ? w[0] : w[1]) >> (q & 63)) & 1; }
  constexpr SquareBits& operator|=(const SquareBits& o) {
    w[0] |= o.w[0];
    w[1] |= o.w[1];
    return *this;
  }
  constexpr bool Meets(const SquareBits& o) const {
    return ((w[0] & o.w[0]) | (w[1] & o.w[1])) != 0;
  }
  constexpr SquareBits operator&(const SquareBits& o) const {
    return SquareBits{{w[0] & o.w[0], w[1] & o.w[1]}};
  }
  constexpr SquareBits Without(const SquareBits& o) const {
    return SquareBits{{w[0] & ~o.w[0], w[1] & ~o.w[1]}};
  }
  constexpr void Remove(Square q) {
    const std::uint64_t bit = std::uint64_t{1} << (q & 63);
    w[0] &= q < 64 ? ~bit : ~std::uint64_t{0};
    w[1] &= q < 64 ? ~std::uint64_t{0} : ~bit;
  }
  constexpr bool Empty() const { return (w[0] | w[1]) == 0; }
  // The number of squares: by halves of bits, without the processor's own count, which the
  // portable instruction set lacks (the library's fallback is a call).
  constexpr int Count() const { return CountBits(w[0]) + CountBits(w[1]); }
  static constexpr int CountBits(std::uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555ull;
    x = (x & 0x3333333333333333ull) + ((x >> 2) & 0x3333333333333333ull);
    x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Full;
    return static_cast<int>((x * 0x0101010101010101ull) >> 56);
  }
  // The lowest and the highest square of a set that is not empty.
  constexpr Square Lowest() const {
    return w[0] != 0 ? std::countr_zero(w[0]) : 64 + std::countr_zero(w[1]);
  }
  constexpr Square Highest() const {
    return w[1] != 0 ? 127 - std::countl_zero(w[1]) : 63 - std::countl_zero(w[0]);
  }
  // Calls visit(q) for every square q of the set, in ascending order.
  template <typename F>
  void ForEach(F&& visit) const {
    for (int i = 0; i < 2; ++i) {
      for (std::uint64_t rest = w[i]; rest != 0; rest &= rest - 1)
        visit(static_cast<Square>(64 * i + std::countr_zero(rest)));
    }
  }
};

// The occupied squares and those of the first player's pieces. The board's bytes are read
// sixteen at a time: the boards of mate problems hold few pieces.
struct BoardBits {
  SquareBits occupied, first;
};
inline BoardBits ReadBoard(const Position& pos) {
  const std::uint8_t* b = pos.bytes();  // the board, then the hands: bits past 81 dropped
  BoardBits out;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  std::uint64_t first[6], empty[6];
  for (int i = 0; i < 6; ++i) {
    const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + 16 * i));
    first[i] = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpgt_epi8(v, zero)));
    empty[i] = static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(v, zero)));
  }
  out.first.w[0] = first[0] | first[1] << 16 | first[2] << 32 | first[3] << 48;
  out.first.w[1] = (first[4] | first[5] << 16) & 0x3FFFF;
  out.occupied.w[0] = ~(empty[0] | empty[1] << 16 | empty[2] << 32 | empty[3] << 48) & ~1ull;
  out.occupied.w[1] = ~(empty[4] | empty[5] << 16) & 0x3FFFF;
#else
  for (int q = 1; q <= kSquareCount; ++q) {
    if (static_cast<std::int8_t>(b[q]) > 0) out.first.Add(q);
    if (b[q] != 0) out.occupied.Add(q);
  }
#endif
  return out;
}

// How a first-player piece of `type` reaches the neighbour one step `d` from its square.
constexpr std::uint8_t ReachOf(int type, int d) {
  switch (d) {
    case kUp:
      return kForwardReach[type];
    case kUpLeft:
    case kUpRight:
      return kForwardDiagonalReach[type];
    case kLeftward:
    case kRightward:
    case kDown:
      return kSidewaysReach[type];
    case kDownLeft:
    case kDownRight:
      return kBackwardDiagonalReach[type];
  }
  return 0;
}

// Whether a piece with reach `reach` toward the king attacks it from `distance` squares away
// (the squares between being empty).
constexpr bool ReachesAt(std::uint8_t reach, int distance) {
  return distance == 1 ? reach != 0 : reach == kSlide;
}

bool UnpromotedPawnInFile(const Position& pos, Side side, int file) {
  const int pawn = CodeOf(kPawn, side);
  for (int rank = 1; rank <= 9; ++rank) {
    if (pos.Board[SquareOf(file, rank)] == pawn) return true;
  }
  return false;
}

// The two squares from which a first-player knight attacks `k` (0 where off the board):
// two ranks below, one file to either side, file - 1 first.
inline void KnightSquares(Square k, Square (&out)[2]) {
  Square a = StepFrom(k, kDownLeft), b = StepFrom(k, kDownRight);
  out[0] = a ? StepFrom(a, kDown) : 0;
  out[1] = b ? StepFrom(b, kDown) : 0;
}

// Calls form(promote) for each form of the first player's move f -> t of a piece of `type`
// that the generator lists, promoting first (the knight: plain first).
template <typename F>
inline void ForEachForm(int type, Square f, Square t, bool full, F&& form) {
  const bool can = CanPromote(type) && (f <= 27 || t <= 27);
  const bool must = ((type == kPawn || type == kLance) && t <= 9) || (type == kKnight && t <= 18);
  const bool reduced_away = !full && can && (type == kPawn || type == kBishop || type == kRook);
  const bool plain = !must && !reduced_away;
  if (type == kKnight) {
    if (plain) form(0);
    if (can) form(1);
  } else {
    if (can) form(1);
    if (plain) form(0);
  }
}

// Alignment of two squares: the king step leading from a toward b when they share a rank,
// file or diagonal (0 otherwise), and their distance in steps.
struct Alignment {
  std::int8_t step[82][82];
  std::int8_t distance[82][82];
};
constexpr Alignment MakeAlignment() {
  Alignment a{};
  for (Square x = 1; x <= 81; ++x) {
    for (Square y = 1; y <= 81; ++y) {
      const int df = FileOf(y) - FileOf(x), dr = RankOf(y) - RankOf(x);
      const int adf = df < 0 ? -df : df, adr = dr < 0 ? -dr : dr;
      if (x == y || !(df == 0 || dr == 0 || adf == adr)) continue;
      a.step[x][y] = static_cast<std::int8_t>((dr > 0   ? 9
                                               : dr < 0 ? -9
                                                        : 0) +
                                              (df > 0   ? 1
                                               : df < 0 ? -1
                                                        : 0));
      a.distance[x][y] = static_cast<std::int8_t>(adf > adr ? adf : adr);
    }
  }
  return a;
}
constexpr Alignment kAlignment = MakeAlignment();

// The order in which the generators visit the lines around the king: the file below, the
// lower diagonals, (the knight squares,) the rank, the upper diagonals, the file above.
constexpr int kAllLines[] = {kDown,     kDownRight, kDownLeft, kRightward,
                             kLeftward, kUpRight,   kUpLeft,   kUp};

// The index of a step in kAllLines.
constexpr int LineIndex(int step) {
  int i = 0;
  while (kAllLines[i] != step) ++i;
  return i;
}

// The place of a line from the king in that order; the knight squares come third.
constexpr int LineGroup(int step) {
  switch (step) {
    case kDown:
      return 0;
    case kDownRight:
      return 1;
    case kDownLeft:
      return 2;
    case kRightward:
      return 4;
    case kLeftward:
      return 5;
    case kUpRight:
      return 6;
    case kUpLeft:
      return 7;
  }
  return 8;  // kUp
}

// The squares of each line from each square, by the order of kAllLines; the squares a
// first-player piece of each type reaches in one step (a knight in its jump); the lines
// along which each type slides, as bits by that order; the squares from which a piece of
// each type attacks each square (a king there: checks it) when the squares between are
// empty; the squares from which a second-player piece of any type could attack each square.
struct PieceReach {
  SquareBits line[82][8];
  SquareBits step[16][82];
  std::uint8_t slides[16];
  SquareBits attacks[16][82];
  SquareBits defended_from[82];
};
constexpr PieceReach MakePieceReach() {
  PieceReach out{};
  for (Square f = 1; f <= kSquareCount; ++f) {
    for (int i = 0; i < 8; ++i) {
      const int d = kAllLines[i];
      for (Square t = StepFrom(f, d); t; t = StepFrom(t, d)) out.line[f][i].Add(t);
      if (const Square t = StepFrom(f, d)) {
        for (int type = 1; type < 16; ++type) {
          if (type != kKnight && ReachOf(type, d) != 0) out.step[type][f].Add(t);
        }
      }
    }
    for (int side_step : {kUpLeft, kUpRight}) {
      const Square a = StepFrom(f, side_step);
      if (const Square t = a ? StepFrom(a, kUp) : 0) out.step[kKnight][f].Add(t);
    }
  }
  for (int type = 1; type < 16; ++type) {
    for (Square k = 1; k <= kSquareCount; ++k) {
      for (Square t = 1; t <= kSquareCount; ++t) {
        const int step = kAlignment.step[t][k];
        const bool attacks =
            type == kKnight
                ? (k + 19 == t ? FileOf(t) > 1 : (k + 17 == t && FileOf(t) < 9))
                : step != 0 && ReachesAt(ReachOf(type, step), kAlignment.distance[t][k]);
        if (attacks) out.attacks[type][k].Add(t);
      }
    }
    for (int i = 0; i < 8; ++i) {
      if (ReachOf(type, kAllLines[i]) == kSlide)
        out.slides[type] |= static_cast<std::uint8_t>(1 << i);
    }
  }
  for (Square t = 1; t <= kSquareCount; ++t) {
    // A second-player knight attacks t from where a first-player knight on t jumps to.
    out.defended_from[t] = out.step[kKnight][t];
    for (int i = 0; i < 8; ++i) out.defended_from[t] |= out.line[t][i];
  }
  return out;
}
constexpr PieceReach kPieceReach = MakePieceReach();

// The king's steps, toward the attacker's side (usually the open board) first.
constexpr int kKingEscapes[] = {kDown,      kDownLeft, kDownRight, kLeftward,
                                kRightward, kUpLeft,   kUpRight,   kUp};
// The squares next to each square, in that order.
struct Neighbours {
  int count;
  Square squares[8];
};
constexpr std::array<Neighbours, 82> MakeNeighbours() {
  std::array<Neighbours, 82> out{};
  for (Square k = 1; k <= kSquareCount; ++k) {
    for (int d : kKingEscapes) {
      if (const Square t = StepFrom(k, d)) out[k].squares[out[k].count++] = t;
    }
  }
  return out;
}
constexpr std::array<Neighbours, 82> kNeighbours = MakeNeighbours();

// Which types can attack or occupy a set of a king's neighbours all at once while they check
// the king, the board taken as empty and without edges (a king in the middle of the board
// stands for every king): by_shape[m] holds a bit by type for the neighbours of mask m, bit j
// of m the step kKingEscapes[j]; the king, which never checks, has no bit. And the types a
// piece of each type can move as (itself, promoted).
struct CoverTypes {
  std::uint16_t by_shape[256];
  std::uint16_t forms[16];
};
constexpr CoverTypes MakeCoverTypes() {
  CoverTypes out{};
  constexpr Square k = SquareOf(5, 5);
  for (int type = 1; type < 16; ++type) {
    if (type == kKing) continue;
    for (Square t = 1; t <= kSquareCount; ++t) {
      if (!kPieceReach.attacks[type][k].Has(t)) continue;
      unsigned covered = 0;
      for (int j = 0; j < 8; ++j) {
        const Square n = k + kKingEscapes[j];
        if (n == t || kPieceReach.attacks[type][n].Has(t)) covered |= 1u << j;
      }
      for (unsigned m = covered;; m = (m - 1) & covered) {
        out.by_shape[m] |= static_cast<std::uint16_t>(1u << type);
        if (m == 0) break;
      }
    }
    out.forms[type] =
        static_cast<std::uint16_t>(1u << type | (CanPromote(type) ? 1u << PromotedType(type) : 0u));
  }
  return out;
}
constexpr CoverTypes kCoverTypes = MakeCoverTypes();

// The bit of kKingEscapes' order for a neighbour of the king, by the step to it (+ 10).
constexpr std::array<std::uint8_t, 21> MakeStepBits() {
  std::array<std::uint8_t, 21> out{};
  for (int j = 0; j < 8; ++j) out[kKingEscapes[j] + 10] = static_cast<std::uint8_t>(1u << j);
  return out;
}
constexpr std::array<std::uint8_t, 21> kStepBits = MakeStepBits();

// The lines from each square (bits by the order of kAllLines) that pass the square of a king
// or one of its neighbours, by the king's square.
struct LinesNearKing {
  std::uint8_t lines[82][82];
};
constexpr LinesNearKing MakeLinesNearKing() {
  LinesNearKing out{};
  for (Square k = 1; k <= kSquareCount; ++k) {
    SquareBits box;
    box.Add(k);
    for (int j = 0; j < kNeighbours[k].count; ++j) box.Add(kNeighbours[k].squares[j]);
    for (Square f = 1; f <= kSquareCount; ++f) {
      for (int i = 0; i < 8; ++i) {
        if (kPieceReach.line[f][i].Meets(box)) out.lines[f][k] |= static_cast<std::uint8_t>(1 << i);
      }
    }
  }
  return out;
}
constexpr LinesNearKing kLinesNearKing = MakeLinesNearKing();

// The first square of `occupied` on the line of kAllLines[i] from f, or 0.
inline Square FirstOnLine(Square f, int i, const SquareBits& occupied) {
  const SquareBits on_line = kPieceReach.line[f][i] & occupied;
  if (on_line.Empty()) return 0;
  return kAllLines[i] > 0 ? on_line.Lowest() : on_line.Highest();
}

// The squares a line piece on f reaches along the line of kAllLines[i] over the squares not
// in `occupied`: up to and including the first that is.
inline SquareBits RayOf(Square f, int i, const SquareBits& occupied) {
  const Square first = FirstOnLine(f, i, occupied);
  const SquareBits& line = kPieceReach.line[f][i];
  return first == 0 ? line : line.Without(kPieceReach.line[first][i]);
}

// Adds to `out` the squares a line piece on f reaches along each line of `lines` (bits by the
// order of kAllLines).
inline void AddRays(SquareBits& out, Square f, unsigned lines, const SquareBits& occupied) {
  for (; lines != 0; lines &= lines - 1) out |= RayOf(f, std::countr_zero(lines), occupied);
}

// Whether a first-player piece of `type` on t attacks `target` when the squares between are
// empty.
inline bool Reaches(int type, Square t, Square target) {
  return kPieceReach.attacks[type][target].Has(t);
}

// Whether a first-player piece of `type` on t attacks `target`, the squares `gone` and
// `lifted` taken as empty (the moved piece's origin, the king stepping away; 0: none).
bool AttacksWith(const Position& pos, int type, Square t, Square target, Square gone,
                 Square lifted) {
  if (!Reaches(type, t, target)) return false;
  if (type == kKnight) return true;
  const int step = kAlignment.step[t][target];
  for (Square s = t + step; s != target; s += step) {
    if (pos.Board[s] != 0 && s != gone && s != lifted) return false;
  }
  return true;
}

// Whether a first-player piece of `type` standing on t attacks the king on k through the
// present position (the squares between them must be empty). Kings never count: a king
// beside the enemy king is no check but an illegal move.
bool DirectCheck(const Position& pos, int type, Square t, Square k) {
  return type != kKing && AttacksWith(pos, type, t, k, 0, 0);
}

// What a check must do to take every free square of the king: land where its piece attacks
// or occupies each of them, the board taken as empty (the squares for each type are made
// when first asked for), unless its piece leaves a square from which it uncovers a line
// onto them. Without free squares every check qualifies.
class EscapeCover {
 public:
  // Every check of the king on k qualifies.
  explicit EscapeCover(Square k) : k_(k) {}
  // `liners`, `lines`: the line pieces whose lines pass near the king, and those lines, as
  // CheckEscapes reads them.
  EscapeCover(const Position& pos, const BoardBits& board, const KingEscapes& escapes,
              const std::uint8_t* liners, const std::uint8_t* lines, int liner_count)
      : k_(pos.King[kSecond]), escapes_(&escapes) {
    if (escapes.count == 0) {
      escapes_ = nullptr;
      return;
    }
    may_uncover_ = false;
    SquareBits free;
    for (int i = 0; i < escapes.count; ++i) {
      free.Add(escapes.squares[i]);
      shape_ |= kStepBits[escapes.squares[i] - k_ + 10];
    }
    // A first-player piece that is the first one a line piece meets, on a line that goes on
    // to a free square.
    for (int j = 0; j < liner_count; ++j) {
      for (unsigned rest = lines[j]; rest != 0; rest &= rest - 1) {
        const int i = std::countr_zero(rest);
        const Square b = FirstOnLine(liners[j], i, board.occupied);
        if (b == 0 || !board.first.Has(b)) continue;
        if (kPieceReach.line[b][i].Meets(free)) uncovering_.Add(b);
        may_uncover_ = may_uncover_ || kPieceReach.line[b][i].Has(k_);
      }
    }
  }
  // False when no first-player piece stands between the king and a first-player line piece
  // aimed at it: no move uncovers a check, and phase 3 has nothing to add.
  bool MayUncover() const { return may_uncover_; }
  // The types that may take every free square from some square (bits by type).
  unsigned CoveringTypes() const { return escapes_ ? kCoverTypes.by_shape[shape_] : 0xFFFFu; }
  // The first player's pieces whose leaving uncovers a line onto a free square.
  const SquareBits& Uncovering() const { return uncovering_; }
  // False when no check can take every free square: no piece uncovers a line onto one, and
  // none of `types` (bits by type: the forms of the pieces on the board and in hand) can take
  // them all from any square.
  bool MayCover(unsigned types) const {
    return may_uncover_ || !uncovering_.Empty() || (CoveringTypes() & types) != 0;
  }
  // The squares from which a piece of `type` checks the king and may take every free square,
  // when the piece on `origin` (0: a drop) moves there.
  SquareBits Within(int type, Square origin) {
    const SquareBits& checking = kPieceReach.attacks[type][k_];
    if (!escapes_ || (origin != 0 && uncovering_.Has(origin))) return checking;
    if (!(made_ >> type & 1)) {
      made_ |= 1u << type;
      const bool can = kCoverTypes.by_shape[shape_] >> type & 1;
      SquareBits bits = can ? checking : SquareBits{};
      for (int i = 0; i < escapes_->count && !bits.Empty(); ++i) {
        SquareBits here = kPieceReach.attacks[type][escapes_->squares[i]];
        here.Add(escapes_->squares[i]);
        bits = bits & here;
      }
      std::memcpy(from_[type], bits.w, sizeof bits.w);
    }
    return SquareBits{{from_[type][0], from_[type][1]}};
  }

 private:
  Square k_;
  const KingEscapes* escapes_ = nullptr;
  unsigned shape_ = 0;  // the free squares by kStepBits
  SquareBits uncovering_;
  bool may_uncover_ = true;  // known false only when the line pieces were read
  unsigned made_ = 0;
  std::uint64_t from_[16][2];  // left unset until made
};

// Phase 1: drops that check, square by square around the king.
void AddCheckingDrops(const Position& pos, Square k, EscapeCover& cover, CheckList& out) {
  const std::int8_t* hand = pos.Hand[kFirst];
  // Where each type may be dropped, as SquareBits words: every type's is written below, so the
  // array is not set first (that cost more than the rest of a typical call).
  std::uint64_t targets[8][2];
  bool any = false;
  const unsigned types = cover.CoveringTypes();
  for (int type = kPawn; type <= kRook; ++type) {
    const SquareBits to =
        hand[type] > 0 && (types >> type & 1) ? cover.Within(type, 0) : SquareBits{};
    std::memcpy(targets[type], to.w, sizeof to.w);
    any = any || !to.Empty();
  }
  if (!any) return;
  auto drop = [&](int type, Square t) {
    if (SquareBits{{targets[type][0], targets[type][1]}}.Has(t)) out.Add(DropOrigin(type), t, 0);
  };
  if (Square t = StepFrom(k, kDown); t && pos.Board[t] == 0) {
    drop(kGold, t);
    drop(kSilver, t);
    drop(kRook, t);
    const bool pawn = hand[kPawn] > 0 && !UnpromotedPawnInFile(pos, kFirst, FileOf(t));
    if (RankOf(k) == 1) {
      if (pawn) drop(kPawn, t);
      drop(kLance, t);
    } else {
      drop(kLance, t);
      if (pawn) drop(kPawn, t);
    }
    for (t = StepFrom(t, kDown); t && pos.Board[t] == 0; t = StepFrom(t, kDown)) {
      drop(kRook, t);
      drop(kLance, t);
    }
  }
  for (int d : {kDownRight, kDownLeft}) {
    Square t = StepFrom(k, d);
    if (!t || pos.Board[t] != 0) continue;
    drop(kGold, t);
    drop(kSilver, t);
    drop(kBishop, t);
    for (t = StepFrom(t, d); t && pos.Board[t] == 0; t = StepFrom(t, d)) drop(kBishop, t);
  }
  Square knights[2];
  KnightSquares(k, knights);
  for (Square t : knights) {
    if (t && pos.Board[t] == 0) drop(kKnight, t);
  }
  for (int d : {kRightward, kLeftward}) {
    Square t = StepFrom(k, d);
    if (!t || pos.Board[t] != 0) continue;
    drop(kRook, t);
    drop(kGold, t);
    for (t = StepFrom(t, d); t && pos.Board[t] == 0; t = StepFrom(t, d)) drop(kRook, t);
  }
  for (int d : {kUpRight, kUpLeft}) {
    Square t = StepFrom(k, d);
    if (!t || pos.Board[t] != 0) continue;
    drop(kBishop, t);
    drop(kSilver, t);
    for (t = StepFrom(t, d); t && pos.Board[t] == 0; t = StepFrom(t, d)) drop(kBishop, t);
  }
  if (Square t = StepFrom(k, kUp); t && pos.Board[t] == 0) {
    drop(kRook, t);
    drop(kGold, t);
    for (t = StepFrom(t, kUp); t && pos.Board[t] == 0; t = StepFrom(t, kUp)) drop(kRook, t);
  }
}

// Calls visit(t) for every destination of the first player's piece on f.
template <typename F>
void ForEachDestination(const Position& pos, Square f, int type, F&& visit) {
  if (type == kKnight) {
    for (int side_step : {kUpLeft, kUpRight}) {
      Square a = StepFrom(f, side_step);
      Square t = a ? StepFrom(a, kUp) : 0;
      if (t && pos.Board[t] <= 0) visit(t);
    }
    return;
  }
  for (int d : kAllLines) {
    const std::uint8_t reach = ReachOf(type, d);
    if (reach == 0) continue;
    for (Square t = StepFrom(f, d); t; t = StepFrom(t, d)) {
      if (pos.Board[t] > 0) break;
      visit(t);
      if (pos.Board[t] != 0 || reach != kSlide) break;
    }
  }
}

// Phase 2: board moves that give direct check, grouped by their destination around the
// king: the file below, the lower diagonals, the knight squares, the rank, the upper
// diagonals, the file above, nearer squares first on each line.
void AddDirectChecks(const Position& pos, const BoardBits& board, Square k, bool full,
                     EscapeCover& cover, CheckList& out) {
  struct Keyed {  // left unset until found: the array is made for every call
    int key;
    std::uint8_t to, from;
  };
  Keyed found[kMaxMateChecks];
  int n = 0;
  const unsigned types = cover.CoveringTypes();
  board.first.ForEach([&](Square f) {
    const int type = pos.Board[f];
    if (type == kKing) return;
    if (!(kCoverTypes.forms[type] & types) && !cover.Uncovering().Has(f)) return;
    // The squares from which the piece, promoted or not, could check the king (and take its
    // free squares).
    const int promoted = CanPromote(type) ? PromotedType(type) : type;
    // A piece that only steps checks from a square of its steps: most stand too far.
    SquareBits checking = kPieceReach.attacks[type][k];
    checking |= kPieceReach.attacks[promoted][k];
    if (kPieceReach.slides[type] == 0 && !kPieceReach.step[type][f].Meets(checking)) return;
    SquareBits from = cover.Within(type, f);
    from |= cover.Within(promoted, f);
    if (from.Empty()) return;
    // A bishop, rook, horse or dragon whose lines meet none of them even on an empty board
    // (the usual case) is done: these move as they are attacked.
    constexpr unsigned kSymmetricSliders = 1u << kBishop | 1u << kRook |
                                           1u << (kBishop + kPromoteOffset) |
                                           1u << (kRook + kPromoteOffset);
    if ((kSymmetricSliders >> type & 1) && !kPieceReach.attacks[type][f].Meets(from)) return;
    // Those it reaches: a step, or along a line up to the first piece (only the lines that
    // pass one of them are followed).
    SquareBits reach = kPieceReach.step[type][f];
    unsigned lines = 0;
    for (unsigned rest = kPieceReach.slides[type]; rest != 0; rest &= rest - 1) {
      const int i = std::countr_zero(rest);
      if (kPieceReach.line[f][i].Meets(from)) lines |= 1u << i;
    }
    AddRays(reach, f, lines, board.occupied);
    // The squares in ascending order: a knight's two jumps share a place in the order, the
    // leftward one (the lower square) first.
    (reach & from).ForEach([&](Square t) {
      if (pos.Board[t] > 0) return;
      ForEachForm(type, f, t, full, [&](int promote) {
        if (n >= kMaxMateChecks || !DirectCheck(pos, promote ? PromotedType(type) : type, t, k))
          return;
        const int line = kAlignment.step[k][t];
        const int group = line == 0 ? 3 : LineGroup(line);
        const MoveCode m = EncodeMove(f, t, promote);
        found[n++] = {group * 16 + kAlignment.distance[k][t], m.to, m.from};
      });
    });
  });
  // Insertion sort keeps the scan order within a square; the lists are short.
  for (int i = 1; i < n; ++i) {
    const Keyed x = found[i];
    int j = i;
    for (; j > 0 && found[j - 1].key > x.key; --j) found[j] = found[j - 1];
    found[j] = x;
  }
  for (int i = 0; i < n; ++i) {
    if (out.count < kMaxMateChecks) out.moves[out.count++] = MoveCode{found[i].to, found[i].from};
  }
}

// Phase 3: moves of an own piece that stands between the king and an own line piece.
void AddUncoveringChecks(const Position& pos, const BoardBits& board, Square k, bool full,
                         CheckList& out) {
  for (int i = 0; i < 8; ++i) {
    const int d = kAllLines[i];
    const Square blocker = FirstOnLine(k, i, board.occupied);
    if (blocker == 0 || !board.first.Has(blocker)) continue;
    const Square t = FirstOnLine(blocker, i, board.occupied);
    if (t == 0 || pos.Board[t] <= 0 || ReachOf(pos.Board[t], -d) != kSlide) continue;
    // The blocker uncovers the line unless it stays on it (between the king and the piece).
    SquareBits between = kPieceReach.line[k][i].Without(kPieceReach.line[t][i]);
    between.Remove(t);
    const int type = pos.Board[blocker];
    ForEachDestination(pos, blocker, type, [&](Square to) {
      if (between.Has(to)) return;
      ForEachForm(type, blocker, to, full, [&](int promote) {
        // Direct checks were listed in phase 2.
        if (!DirectCheck(pos, promote ? PromotedType(type) : type, to, k)) {
          out.Add(blocker, to, promote);
        }
      });
    });
  }
}

// The second player's forms of f -> t (plain first), for a piece of `type`.
inline void AddDefenderForms(int type, Square f, Square t, EvasionList& out) {
  const bool can = CanPromote(type) && (f >= 55 || t >= 55);
  const bool must = ((type == kPawn || type == kLance) && t >= 73) || (type == kKnight && t >= 64);
  if (!must) out.Add(f, t, 0);
  if (can) out.Add(f, t, 1);
}

// The second player's pieces that attack t, in the order of the rules' attack test: by the
// line they come from (the second player's forward first), the knights after the forward
// diagonals.
int DefendersOf(const Position& pos, const SquareBits& occupied, Square t, Square* out) {
  struct Look {
    int line;                   // the index in kAllLines of the step from t toward the piece
    const std::uint8_t* reach;  // the piece's reach toward t
  };
  static constexpr Look kLooks[8] = {{LineIndex(kUp), kForwardReach},
                                     {LineIndex(kUpRight), kForwardDiagonalReach},
                                     {LineIndex(kUpLeft), kForwardDiagonalReach},
                                     {LineIndex(kRightward), kSidewaysReach},
                                     {LineIndex(kLeftward), kSidewaysReach},
                                     {LineIndex(kDownRight), kBackwardDiagonalReach},
                                     {LineIndex(kDownLeft), kBackwardDiagonalReach},
                                     {LineIndex(kDown), kSidewaysReach}};
  int n = 0;
  for (int i = 0; i < 8; ++i) {
    const Look& look = kLooks[i];
    const Square a = FirstOnLine(t, look.line, occupied);
    if (a != 0 && pos.Board[a] < 0) {
      const std::uint8_t reach = look.reach[-pos.Board[a]];
      if (kAlignment.distance[t][a] == 1 ? reach != 0 : reach == kSlide) out[n++] = a;
    }
    if (i == 1 || i == 2) {
      const int d = kAllLines[look.line];
      const Square knight = StepFrom(t, d) ? t + d + kUp : 0;
      if (knight >= 1 && pos.Board[knight] == -kKnight) out[n++] = knight;
    }
  }
  return n;
}

// Whether a first-player line piece attacks `target` once the square `gone` is empty, the
// king's square `lifted` taken as empty.
bool UncoversOnto(const Position& pos, Square gone, Square target, Square lifted) {
  const int step = kAlignment.step[target][gone];
  if (step == 0) return false;
  for (Square s = target + step; s != gone; s += step) {
    if (pos.Board[s] != 0 && s != lifted) return false;
  }
  for (Square s = StepFrom(gone, step); s; s = StepFrom(s, step)) {
    if (pos.Board[s] == 0 || s == lifted) continue;
    return pos.Board[s] > 0 && ReachOf(pos.Board[s], -step) == kSlide;
  }
  return false;
}

// Adds the moves of second-player pieces other than the king onto t that leave the king
// on k unattacked.
// The king stands in check from one piece and t is that piece's square or a square between
// it and the king, so the move answers the check; only a piece leaving a line through the
// king can expose it, and t cannot block that line again: a piece on it between the king and
// the checking piece would have blocked the check.
void AddDefenderMovesTo(const Position& pos, const BoardBits& board, Square k, Square t,
                        EvasionList& out) {
  // Most squares have no piece but the king on a line or a knight's jump from them.
  SquareBits pieces = board.occupied.Without(board.first);
  pieces.Remove(k);
  if (!kPieceReach.defended_from[t].Meets(pieces)) return;
  Square from[16];
  const int n = DefendersOf(pos, board.occupied, t, from);
  for (int i = 0; i < n; ++i) {
    const Square f = from[i];
    if (f == k || (i > 0 && f == from[i - 1])) continue;
    if (UncoversOnto(pos, f, k, 0)) continue;
    AddDefenderForms(-pos.Board[f], f, t, out);
  }
}

// Adds the second player's drops on the interposing square t, between the king and the one
// line piece that checks it: a piece put there blocks the check and opens no line.
void AddDefenderDropsOn(const Position& pos, Square t, EvasionList& out) {
  const std::int8_t* hand = pos.Hand[kSecond];
  if (hand[kPawn] > 0 && t <= 72 && !UnpromotedPawnInFile(pos, kSecond, FileOf(t)) &&
      !(pos.King[kFirst] > 0 && PawnDropMate(pos, kSecond, t) == -1)) {
    out.Add(DropOrigin(kPawn), t, 0);
  }
  if (hand[kLance] > 0 && t <= 72) out.Add(DropOrigin(kLance), t, 0);
  if (hand[kKnight] > 0 && t <= 63) out.Add(DropOrigin(kKnight), t, 0);
  for (int type = kSilver; type <= kRook; ++type) {
    if (hand[type] > 0) out.Add(DropOrigin(type), t, 0);
  }
}

// The king's neighbours on k not held by its own pieces nor in `attacked`.
KingEscapes EscapesBeside(const Position& pos, Square k, const SquareBits& attacked) {
  KingEscapes out;
  const Neighbours& next = kNeighbours[k];
  for (int i = 0; i < next.count; ++i) {  // without branches: which squares are free is random
    const Square t = next.squares[i];
    out.squares[out.count] = t;
    out.count += (pos.Board[t] >= 0) & !attacked.Has(t);
  }
  return out;
}

}  // namespace

KingEscapes FreeKingSquares(const Position& pos) {
  return CheckEscapes(pos).Now();
}

// One pass over the pieces answers the king's eight steps, which one attack test a square
// would answer with eight walks round each. The lines that pass away from the king and its
// neighbours are not followed.
void CheckEscapes::Read(const Position& pos) {
  pos_ = &pos;
  liner_count_ = 0;
  unsigned forms = 0;
  const Square k = pos.King[kSecond];
  BoardBits board = ReadBoard(pos);
  board.occupied.Remove(k);
  SquareBits steps, twice;
  board.first.ForEach([&](Square f) {
    const int type = pos.Board[f];
    forms |= kCoverTypes.forms[type];
    const SquareBits& step = kPieceReach.step[type][f];
    twice |= steps & step;
    steps |= step;
    const unsigned near = kPieceReach.slides[type] & kLinesNearKing.lines[f][k];
    // The piece counts allow forty pieces at most; the bound keeps a corrupt board harmless.
    if (near != 0 && liner_count_ < kMaxLiners) {
      SquareBits rays;
      AddRays(rays, f, near, board.occupied);
      liners_[liner_count_] = static_cast<std::uint8_t>(f);
      lines_[liner_count_] = static_cast<std::uint8_t>(near);
      std::memcpy(rays_[liner_count_++], rays.w, sizeof rays.w);
    }
  });
  std::memcpy(occupied_, board.occupied.w, sizeof occupied_);
  std::memcpy(first_, board.first.w, sizeof first_);
  std::memcpy(steps_, steps.w, sizeof steps_);
  std::memcpy(twice_, twice.w, sizeof twice_);
  forms_ = forms;
}

KingEscapes CheckEscapes::Now() const {
  SquareBits attacked{{steps_[0], steps_[1]}};
  for (int i = 0; i < liner_count_; ++i) attacked |= SquareBits{{rays_[i][0], rays_[i][1]}};
  return EscapesBeside(*pos_, pos_->King[kSecond], attacked);
}

KingEscapes CheckEscapes::After(const Position& next, MoveCode m) const {
  const Square k = pos_->King[kSecond], t = DestinationOf(m);
  const Square f = IsDrop(m) ? 0 : m.from;
  SquareBits occupied{{occupied_[0], occupied_[1]}}, attacked{{steps_[0], steps_[1]}};
  occupied.Add(t);
  if (f != 0) {  // the moved piece's steps leave the squares no other piece reaches
    const SquareBits& gone = kPieceReach.step[pos_->Board[f]][f];
    attacked = attacked.Without(gone.Without(SquareBits{{twice_[0], twice_[1]}}));
    occupied.Remove(f);
  }
  for (int i = 0; i < liner_count_; ++i) {
    const Square g = liners_[i];
    if (g == f) continue;
    const SquareBits rays{{rays_[i][0], rays_[i][1]}};
    if (rays.Has(t) || (f != 0 && rays.Has(f))) {
      AddRays(attacked, g, lines_[i], occupied);
    } else {
      attacked |= rays;
    }
  }
  const int type = next.Board[t];
  attacked |= kPieceReach.step[type][t];
  AddRays(attacked, t, kPieceReach.slides[type] & kLinesNearKing.lines[t][k], occupied);
  return EscapesBeside(next, k, attacked);
}

// The first player's promotion zone, squares 1..27.
constexpr SquareBits kPromotionZone{{(std::uint64_t{1} << 28) - 2, 0}};

void CheckEstimate::Read(const Position& pos) {
  ready_ = true;
  count_ = 0;
  const BoardBits board = ReadBoard(pos);
  board.first.ForEach([&](Square f) {
    const int type = pos.Board[f];
    // The piece counts allow forty pieces at most; the bound keeps a corrupt board harmless.
    if (type == kKing || count_ >= kMaxPieces) return;
    SquareBits reach = kPieceReach.step[type][f];
    AddRays(reach, f, kPieceReach.slides[type], board.occupied);
    square_[count_] = static_cast<std::uint8_t>(f);
    type_[count_] = static_cast<std::uint8_t>(type);
    std::memcpy(reach_[count_++], reach.w, sizeof reach.w);
  });
}

int CheckEstimate::After(const Position& next) const {
  const Square k = next.King[kSecond];
  const BoardBits board = ReadBoard(next);
  // The squares from which a piece attacks the king with nothing between.
  SquareBits open = kPieceReach.attacks[kKnight][k];
  AddRays(open, k, 0xFF, board.occupied);
  const SquareBits landing = open.Without(board.first);
  int n = 0;
  for (int i = 0; i < count_; ++i) {
    const int type = type_[i];
    if (next.Board[square_[i]] != type) continue;  // taken by the reply
    SquareBits from = kPieceReach.attacks[type][k];
    if (CanPromote(type)) {  // promoting moves start or end in the promotion zone
      const SquareBits promoted = kPieceReach.attacks[PromotedType(type)][k];
      from |= square_[i] <= 27 ? promoted : promoted & kPromotionZone;
    }
    n += (from & landing & SquareBits{{reach_[i][0], reach_[i][1]}}).Count();
  }
  const SquareBits empty = open.Without(board.occupied);
  for (int type = kPawn; type <= kRook; ++type) {
    if (next.Hand[kFirst][type] > 0) n += (kPieceReach.attacks[type][k] & empty).Count();
  }
  return n;
}

bool MayCoverEscapes(const Position& pos, MoveCode m, const KingEscapes& escapes) {
  const Square t = DestinationOf(m), k = pos.King[kSecond];
  Square from = 0;
  int type;
  if (IsDrop(m)) {
    type = DroppedType(m.from);
  } else {
    from = m.from;
    type = TypeOf(pos.Board[from]);
    if (IsPromotion(m)) type = PromotedType(type);
  }
  for (int i = 0; i < escapes.count; ++i) {
    const Square e = escapes.squares[i];
    if (e != t && !AttacksWith(pos, type, t, e, from, k) &&
        (from == 0 || !UncoversOnto(pos, from, e, k)))
      return false;
  }
  return true;
}

void GenerateChecks(const Position& pos, bool full, CheckList& out) {
  const Square k = pos.King[kSecond];
  const BoardBits board = ReadBoard(pos);
  EscapeCover all(k);
  AddCheckingDrops(pos, k, all, out);
  AddDirectChecks(pos, board, k, full, all, out);
  AddUncoveringChecks(pos, board, k, full, out);
}

void GenerateCoveringChecks(const CheckEscapes& reading, const KingEscapes& escapes,
                            CheckList& out) {
  const Position& pos = *reading.pos_;
  const Square k = pos.King[kSecond];
  BoardBits board{{{reading.occupied_[0], reading.occupied_[1]}},
                  {{reading.first_[0], reading.first_[1]}}};
  board.occupied.Add(k);
  EscapeCover cover(pos, board, escapes, reading.liners_, reading.lines_, reading.liner_count_);
  unsigned types = reading.forms_;
  for (int type = kPawn; type <= kRook; ++type) types |= (pos.Hand[kFirst][type] > 0) << type;
  if (!cover.MayCover(types)) return;
  AddCheckingDrops(pos, k, cover, out);
  AddDirectChecks(pos, board, k, true, cover, out);
  if (cover.MayUncover()) AddUncoveringChecks(pos, board, k, true, out);
}

int GenerateEvasions(const Position& pos, EvasionList& out, bool first_only) {
  return GenerateEvasions(pos, FreeKingSquares(pos), out, first_only);
}

int GenerateEvasions(const Position& pos, const KingEscapes& steps, EvasionList& out,
                     bool first_only) {
  const Square k = pos.King[kSecond];
  const int start = out.count;
  for (int i = 0; i < steps.count; ++i) {
    out.Add(k, steps.squares[i], 0);
    if (first_only) return 1;
  }
  const BoardBits board = ReadBoard(pos);
  // The checking pieces: a double check leaves only the king.
  int checks = 0;
  Square c = 0;
  board.first.ForEach([&](Square f) {
    if (!AttacksWith(pos, pos.Board[f], f, k, 0, 0)) return;
    ++checks;
    c = f;
  });
  if (checks != 1) return out.count - start;

  AddDefenderMovesTo(pos, board, k, c, out);
  if (first_only && out.count > start) return 1;

  // Interpositions, only against a line piece standing away from the king.
  if (kAlignment.distance[k][c] > 1) {
    const int step = kAlignment.step[k][c];
    for (Square s = k + step; s != c; s += step) {
      AddDefenderDropsOn(pos, s, out);
      AddDefenderMovesTo(pos, board, k, s, out);
      if (first_only && out.count > start) return 1;
    }
  }
  return out.count - start;
}

Position TurnPosition(const Position& pos) {
  Position out{};
  for (Square q = 1; q <= 81; ++q) out.Board[82 - q] = static_cast<std::int8_t>(-pos.Board[q]);
  for (int t = 0; t < 8; ++t) {
    out.Hand[kFirst][t] = pos.Hand[kSecond][t];
    out.Hand[kSecond][t] = pos.Hand[kFirst][t];
  }
  for (Side s : {kFirst, kSecond}) {
    const int k = pos.King[s];
    out.King[Opponent(s)] = static_cast<std::int8_t>(k > 0 ? 82 - k : k);
  }
  return out;
}

MoveCode TurnMove(MoveCode move) {
  const int to = 82 - DestinationOf(move);
  const int from = IsDrop(move) ? move.from : 82 - move.from;
  return EncodeMove(from, to, IsPromotion(move) ? 1 : 0);
}

}  // namespace shogi
