// The book's random tables, position key and move encoding.
#include "analysis/book_format.h"

#include <initializer_list>
#include <random>

namespace shogi {
namespace {

// The board tables in the order Bonanza draws them at each square: pawn .. dragon, 13 left
// out.
constexpr int kDrawnBoardTypes[] = {
    kPawn, kLance,        kKnight,        kSilver,         kGold,           kBishop, kRook,
    kKing, kPromotedPawn, kPromotedLance, kPromotedKnight, kPromotedSilver, kHorse,  kDragon};

// Bonanza's tables: MT19937 with its reference seed 5489, nothing skipped, each value two
// outputs with the first in the high half, drawn square by square (the mover's 14 board
// tables, then the other side's), then the hand pawns count by count (mover, other), then
// lance, knight, silver and gold count by count (the mover's four, the other side's four),
// then bishop and rook the same way.
BookKeyTables MakeTables() {
  BookKeyTables t{};
  std::mt19937 generator(5489u);
  auto draw = [&generator] {
    const std::uint64_t high = generator();
    return high << 32 | generator();
  };
  for (int sq = 0; sq < kBookSquares; ++sq) {
    for (int side = 0; side < 2; ++side) {
      for (int type : kDrawnBoardTypes) t.Board[side][type][sq] = draw();
    }
  }
  auto draw_hands = [&](std::initializer_list<int> types) {
    for (int n = 0; n < kBookHandCounts[*types.begin()]; ++n) {
      for (int side = 0; side < 2; ++side) {
        for (int type : types) t.Hand[side][type][n] = draw();
      }
    }
  };
  draw_hands({kPawn});
  draw_hands({kLance, kKnight, kSilver, kGold});
  draw_hands({kBishop, kRook});
  return t;
}

constexpr bool IsBookSquare(int b) {
  return b >= 0 && b < kBookSquares;
}

}  // namespace

const BookKeyTables& BookTables() {
  static const BookKeyTables tables = MakeTables();
  return tables;
}

BookView BookViewOf(const Position& pos, Side to_move) {
  BookView view{};
  const int sign = to_move == kFirst ? 1 : -1;
  for (Square q = 1; q <= kSquareCount; ++q) {
    // The second player's view is the board turned: its square q is the real 82 - q.
    const Square real = to_move == kFirst ? q : kSquareCount + 1 - q;
    view.Board[BookSquareOf(q)] = static_cast<std::int8_t>(sign * pos.Board[real]);
  }
  for (int type = kPawn; type <= kRook; ++type) {
    view.Hand[0][type] = pos.Hand[to_move][type];
    view.Hand[1][type] = pos.Hand[Opponent(to_move)][type];
  }
  return view;
}

BookKey BookKeyOf(const BookView& view) {
  const BookKeyTables& t = BookTables();
  std::uint64_t key = 0, mirror = 0;
  for (int b = 0; b < kBookSquares; ++b) {
    const int code = view.Board[b];
    const int type = TypeOf(code);
    if (code == 0 || type > kDragon) continue;  // 13 has zero tables
    const int owner = code > 0 ? 0 : 1;
    key ^= t.Board[owner][type][b];
    mirror ^= t.Board[owner][type][MirrorBookSquare(b)];
  }
  for (int owner = 0; owner < 2; ++owner) {
    for (int type = kPawn; type <= kRook; ++type) {
      const int count = view.Hand[owner][type];
      if (count <= 0) continue;
      // A hand never holds more than the table's count; a larger one is read as full.
      const int slot = (count > kBookHandCounts[type] ? kBookHandCounts[type] : count) - 1;
      key ^= t.Hand[owner][type][slot];
      mirror ^= t.Hand[owner][type][slot];
    }
  }
  return mirror < key ? BookKey{mirror, true} : BookKey{key, false};
}

std::uint16_t BookMoveOf(MoveCode move, Side side, bool mirrored) {
  auto book_square = [&](Square real) {
    const int b = BookSquareOf(side == kFirst ? real : kSquareCount + 1 - real);
    return mirrored ? MirrorBookSquare(b) : b;
  };
  const int to = book_square(DestinationOf(move));
  const int from = IsDrop(move) ? kBookDropBase + DroppedType(move.from) : book_square(move.from);
  return static_cast<std::uint16_t>(to | from << 7 | (IsPromotion(move) ? kBookPromotionBit : 0));
}

bool MoveOfBookMove(std::uint16_t book_move, Side side, bool mirrored, MoveCode& move) {
  const int to = book_move & 0x7F, from = book_move >> 7 & 0x7F;
  const bool drop = from > kBookDropBase;
  if (!IsBookSquare(to) || from > kBookDropBase + kRook || (book_move & 0x8000) != 0 ||
      (drop && (book_move & kBookPromotionBit) != 0))
    return false;
  auto real_square = [&](int b) {
    const Square q = SquareOfBookSquare(mirrored ? MirrorBookSquare(b) : b);
    return side == kFirst ? q : kSquareCount + 1 - q;
  };
  const int origin = drop ? DropOrigin(from - kBookDropBase) : real_square(from);
  move = EncodeMove(origin, real_square(to), (book_move & kBookPromotionBit) ? 1 : 0);
  return true;
}

}  // namespace shogi
