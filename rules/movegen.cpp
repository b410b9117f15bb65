// The pseudo-legal move generators for both sides.
#include "rules/movegen.h"

#include "rules/attack.h"

#if defined(_MSC_VER)
#define SHOGI_UNREACHABLE() __assume(0)
#else
#define SHOGI_UNREACHABLE() __builtin_unreachable()
#endif

namespace shogi {
namespace {

// Rank counted from the mover's far side: 1 is the rank where its pawns can no longer move.
template <Side S>
constexpr int RelativeRank(Square s) {
  return S == kFirst ? RankOf(s) : 10 - RankOf(s);
}

// Adds origin -> to for a piece whose promotion depends only on the destination rank
// (pawn, lance: forced on the last rank; knight: forced on the last two ranks).
template <Side S>
inline void AddForcedPromotion(MoveBuffer& out, int from, int to, int forced_ranks) {
  int r = RelativeRank<S>(to);
  if (r <= forced_ranks) {
    out.Add(from, to, 1);
  } else if (r <= 3) {
    out.Add(from, to, 0);
    out.Add(from, to, 1);
  } else {
    out.Add(from, to, 0);
  }
}

// Adds from -> to for a silver, bishop or rook: both forms when either end is in the zone.
template <Side S>
inline void AddOptionalPromotion(MoveBuffer& out, int from, int to) {
  out.Add(from, to, 0);
  if (InPromotionZone(S, from) || InPromotionZone(S, to)) out.Add(from, to, 1);
}

// One step in direction d (the mover's view) if the square exists and holds no own piece.
template <Side S>
inline int StepTarget(const Position& pos, int from, int d) {
  int step = Toward<S>(d);
  if (!(kSquareFlags[from] & BitOfStep(step))) return 0;
  int to = from + step;
  // The flag guarantees a square; say so, as GCC cannot see it through the table.
  if (!IsSquare(to)) SHOGI_UNREACHABLE();
  return Own<S>(pos.Board[to]) ? 0 : to;
}

enum class Promotion { kNever, kOptional };

template <Side S>
inline void AddSteps(const Position& pos, MoveBuffer& out, int from, const int* steps, int n,
                     Promotion promotion) {
  for (int i = 0; i < n; ++i) {
    if (int to = StepTarget<S>(pos, from, steps[i])) {
      if (promotion == Promotion::kOptional) {
        AddOptionalPromotion<S>(out, from, to);
      } else {
        out.Add(from, to, 0);
      }
    }
  }
}

template <Side S>
inline void AddSlides(const Position& pos, MoveBuffer& out, int from, const int* steps, int n,
                      Promotion promotion) {
  for (int i = 0; i < n; ++i) {
    int step = Toward<S>(steps[i]);
    std::uint8_t bit = BitOfStep(step);
    int to = from;
    while (kSquareFlags[to] & bit) {
      to += step;
      int p = pos.Board[to];
      if (Own<S>(p)) break;
      if (promotion == Promotion::kOptional) {
        AddOptionalPromotion<S>(out, from, to);
      } else {
        out.Add(from, to, 0);
      }
      if (p != 0) break;
    }
  }
}

constexpr int kSilverSteps[] = {kUpLeft, kUp, kUpRight, kDownLeft, kDownRight};
constexpr int kGoldSteps[] = {kUpLeft, kUp, kUpRight, kLeftward, kRightward, kDown};
constexpr int kKingSteps[] = {kUpLeft,    kUp,       kUpRight, kLeftward,
                              kRightward, kDownLeft, kDown,    kDownRight};
constexpr int kDiagonals[] = {kUpLeft, kUpRight, kDownLeft, kDownRight};
constexpr int kOrthogonals[] = {kUp, kLeftward, kRightward, kDown};

// The moves of the piece on `from`, which belongs to S.
template <Side S>
void GeneratePieceMoves(const Position& pos, MoveBuffer& out, int from) {
  switch (TypeOf(pos.Board[from])) {
    case kPawn:
      if (int to = StepTarget<S>(pos, from, kUp)) AddForcedPromotion<S>(out, from, to, 1);
      break;
    case kLance: {
      int step = Toward<S>(kUp);
      int to = from;
      while (kSquareFlags[to] & BitOfStep(step)) {
        to += step;
        int p = pos.Board[to];
        if (Own<S>(p)) break;
        AddForcedPromotion<S>(out, from, to, 1);
        if (p != 0) break;
      }
      break;
    }
    case kKnight:
      // Two ranks forward, one file aside (file - 1 first from the mover's view); only
      // where that rank and file exist.
      if (RelativeRank<S>(from) >= 3) {
        int ahead = from + 2 * Toward<S>(kUp);
        for (int side_step : {kLeftward, kRightward}) {
          int step = Toward<S>(side_step);
          int to = ahead + step;
          if ((kSquareFlags[from] & BitOfStep(step)) && !Own<S>(pos.Board[to]))
            AddForcedPromotion<S>(out, from, to, 2);
        }
      }
      break;
    case kSilver:
      AddSteps<S>(pos, out, from, kSilverSteps, 5, Promotion::kOptional);
      break;
    case kGold:
    case kPromotedPawn:
    case kPromotedLance:
    case kPromotedKnight:
    case kPromotedSilver:
      AddSteps<S>(pos, out, from, kGoldSteps, 6, Promotion::kNever);
      break;
    case kBishop:
      AddSlides<S>(pos, out, from, kDiagonals, 4, Promotion::kOptional);
      break;
    case kRook:
      AddSlides<S>(pos, out, from, kOrthogonals, 4, Promotion::kOptional);
      break;
    case kKing:
      AddSteps<S>(pos, out, from, kKingSteps, 8, Promotion::kNever);
      break;
    case kHorse:
      AddSlides<S>(pos, out, from, kDiagonals, 4, Promotion::kNever);
      AddSteps<S>(pos, out, from, kOrthogonals, 4, Promotion::kNever);
      break;
    case kDragon:
      AddSlides<S>(pos, out, from, kOrthogonals, 4, Promotion::kNever);
      AddSteps<S>(pos, out, from, kDiagonals, 4, Promotion::kNever);
      break;
    default:
      break;  // code 13 does not occur
  }
}

template <Side S>
void GenerateBoardMoves(const Position& pos, MoveBuffer& out) {
  for (int from = 1; from <= 81; ++from) {
    if (Own<S>(pos.Board[from])) GeneratePieceMoves<S>(pos, out, from);
  }
}

template <Side S>
void GenerateDrops(const Position& pos, MoveBuffer& out) {
  const std::int8_t* hand = pos.Hand[S];
  if (hand[kPawn] > 0) {
    const int own_pawn = CodeOf(kPawn, S);
    for (int file = 1; file <= 9; ++file) {
      bool has_pawn = false;
      for (int rank = 1; rank <= 9; ++rank) {
        if (pos.Board[SquareOf(file, rank)] == own_pawn) {
          has_pawn = true;
          break;
        }
      }
      if (has_pawn) continue;
      for (int rank = 1; rank <= 9; ++rank) {
        int to = SquareOf(file, rank);
        if (RelativeRank<S>(to) >= 2 && pos.Board[to] == 0) out.Add(DropOrigin(kPawn), to, 0);
      }
    }
  }
  for (int type = kLance; type <= kRook; ++type) {
    if (hand[type] <= 0) continue;
    int lowest_rank = type == kLance ? 2 : type == kKnight ? 3 : 1;
    for (int to = 1; to <= 81; ++to) {
      if (pos.Board[to] == 0 && RelativeRank<S>(to) >= lowest_rank)
        out.Add(DropOrigin(type), to, 0);
    }
  }
}

}  // namespace

void GeneratePseudoLegal(const Position& pos, Side side, MoveBuffer& out) {
  if (side == kFirst) {
    GenerateBoardMoves<kFirst>(pos, out);
    GenerateDrops<kFirst>(pos, out);
  } else {
    GenerateBoardMoves<kSecond>(pos, out);
    GenerateDrops<kSecond>(pos, out);
  }
}

void GeneratePieceMoves(const Position& pos, Side side, Square from, MoveBuffer& out) {
  if (!IsSquare(from) || !BelongsTo(pos.Board[from], side)) return;
  if (side == kFirst) {
    GeneratePieceMoves<kFirst>(pos, out, from);
  } else {
    GeneratePieceMoves<kSecond>(pos, out, from);
  }
}

}  // namespace shogi
