// The Bonanza-format opening book (book.bin): its file layout, the book's square numbering,
// the 16-bit book move, and the 64-bit position key with Bonanza's random tables, so that
// books made by Bonanza and books made here read the same.
#pragma once

#include <cstdint>

#include "rules/position.h"

namespace shogi {

// File layout (integers little-endian):
//   bucket table  16 384 entries of 6 bytes from offset 0:
//                   0-3  file offset of the bucket; the first bucket starts at 98 304
//                   4-5  the bucket's size in bytes
//   buckets       one after the other in table order; bucket b holds the records of the
//                 positions whose key mod 16 384 is b
//   book record   0     record size s = 9 + 4 n, n <= 32 moves
//                 1-8   position key
//                 9-    n entries of 4 bytes: 0-1 book move, 2-3 frequency (unsigned)
// The frequencies of a record add up to 65 535; 0xFFFF in one entry stands for 100 %.
constexpr int kBookBuckets = 16384;
constexpr int kBookTableEntryBytes = 6;
constexpr std::uint32_t kBookTableBytes = kBookBuckets * kBookTableEntryBytes;  // 98 304
constexpr int kBookRecordHeadBytes = 9;
constexpr int kBookEntryBytes = 4;
constexpr int kBookMaxMoves = 32;
constexpr std::uint32_t kBookMaxBucketBytes = 0xFFFF;  // the table's 2-byte size
constexpr std::uint32_t kBookFrequencyTotal = 65535;
constexpr std::uint16_t kBookWholeFrequency = 0xFFFF;

constexpr int BookBucketOf(std::uint64_t key) {
  return static_cast<int>(key % kBookBuckets);
}

// Book squares are Bonanza's numbers 9 x (rank - 1) + (9 - file): 0 is 9一, 8 is 1一, 80 is
// 1九. The same square with its file turned (f -> 10 - f) is the square's mirror image.
constexpr int kBookSquares = 81;
constexpr int BookSquareOf(Square sq) {
  return 9 * (RankOf(sq) - 1) + (9 - FileOf(sq));
}
constexpr Square SquareOfBookSquare(int book_square) {
  return SquareOf(9 - book_square % 9, book_square / 9 + 1);
}
constexpr int MirrorBookSquare(int book_square) {
  return book_square - book_square % 9 + (8 - book_square % 9);
}

// The 16-bit book move: bits 0-6 destination book square; bits 7-13 origin book square, or
// 80 + piece type (81..87) for a drop; bit 14 promotion. Moves are seen from the side to move.
constexpr int kBookDropBase = 80;
constexpr std::uint16_t kBookPromotionBit = 1u << 14;

// `move`, played by `side`, as the book stores it; `mirrored` turns the squares to their
// mirror images (drop origins stay). `move` must be well-formed.
std::uint16_t BookMoveOf(MoveCode move, Side side, bool mirrored);
// A stored book move back as `side`'s move on the real board; false when a field names no
// square or piece (the bytes came from a file).
[[nodiscard]] bool MoveOfBookMove(std::uint16_t book_move, Side side, bool mirrored,
                                  MoveCode& move);

// A position as the key sees it: from the side to move (the second player's position is
// turned by 180 degrees with the colours and hands exchanged), the mover's pieces positive,
// squares in book numbers. Hand[0] is the mover's hand.
struct BookView {
  std::int8_t Board[kBookSquares];
  std::int8_t Hand[2][8];
};
BookView BookViewOf(const Position& pos, Side to_move);

// The position key: the smaller of the key of the view and that of its mirror image
// (every square mirrored), and whether the mirror image's key was taken (strictly smaller).
struct BookKey {
  std::uint64_t Key = 0;
  bool Mirrored = false;
};
BookKey BookKeyOf(const BookView& view);
inline BookKey BookKeyOf(const Position& pos, Side to_move) {
  return BookKeyOf(BookViewOf(pos, to_move));
}

// Bonanza's random tables, [0] the side to move's, [1] the other side's. Board tables are
// indexed by piece type (1..15; 0 and 13 stay 0) and book square, hand tables by piece type
// (1..7) and count - 1 (18 pawns, 4 lances, knights, silvers and golds, 2 bishops and rooks).
constexpr int kBookHandSlots = 18;
struct BookKeyTables {
  std::uint64_t Board[2][16][kBookSquares];
  std::uint64_t Hand[2][8][kBookHandSlots];
};
// The most pieces of each type one hand can hold: the hand tables' lengths.
inline constexpr int kBookHandCounts[8] = {0, 18, 4, 4, 4, 4, 2, 2};
const BookKeyTables& BookTables();

}  // namespace shogi
