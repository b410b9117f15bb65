// Looking a position up in a Bonanza-format book ("Book検索"): the record of its key, its
// moves turned back onto the real board, and each move's share.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "rules/position.h"

namespace shogi {

inline constexpr const char kMessageBookPositionMissing[] = "この局面は存在しません。";

// One book move of the position: the move on the real board, its stored frequency, and its
// share as the lookup dialog shows it.
struct BookMoveShare {
  MoveCode Move;
  std::uint16_t Frequency = 0;
  std::string Share;  // "%12.7f" of frequency x 100 / the record's total; "100" for 0xFFFF
};

// The share text of `frequency` in a record whose frequencies add up to `total` (> 0).
std::string BookShareText(std::uint16_t frequency, std::uint32_t total);

// Looks up `pos` with `to_move` to move in the book at `path`: the first record of the
// key's bucket with the position's key. Returns 0 with its moves in file order (moves that
// cannot be played in `pos` are left out); or 1 with "%sがアクセス出来ません。" (the file
// does not open), "fseek errror(%s)" (the table entry or the bucket lies beyond the file's
// end) or "この局面は存在しません。" (no record, a record of more than 32 moves, a record
// whose frequencies add up to 0, or a bucket whose records do not fit it). Never writes.
[[nodiscard]] int LookUpBook(const std::string& path, const Position& pos, Side to_move,
                             std::vector<BookMoveShare>& moves, std::string& message);

}  // namespace shogi
