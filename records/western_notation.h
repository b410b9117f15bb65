// The western move notation of the Shotest logs and the Shokidoki games: "P7g-7f",
// "Bx2b+"-like moves with the origin given, "S*5e" drops.
#pragma once

#include <string_view>

#include "rules/position.h"

namespace shogi {

// Reads the move at the front of `text` as a move of `side` in `pos`: "+" for a promoted
// piece, the letter P L N S G B R K, then "*" or "'" and the destination for a drop, or the
// origin, "-" or "x" and the destination, then "+" when the move promotes. A square is a
// file digit and a rank letter a..i (a is rank 1). `length` is the number of bytes read.
// False when the text is no such move or the piece is not on the origin.
[[nodiscard]] bool ReadWesternMove(std::string_view text, const Position& pos, Side side,
                                   MoveCode& move, std::size_t& length);

// Whether `c` begins a western move ("+" or a piece letter).
bool BeginsWesternMove(char c);

}  // namespace shogi
