// Positions as SFEN and moves in USI notation, the forms other shogi software exchanges.
#pragma once

#include <string>
#include <string_view>

#include "rules/position.h"

namespace shogi {

// The standard initial position as SFEN.
inline constexpr std::string_view kStartSfen =
    "lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1";

// Reads an SFEN (board, side to move, hands, optional move number) or the word "startpos".
// King squares are set from the board (kNoKing where a side has none). On a malformed text
// returns nonzero with a message in `message` and leaves the outputs untouched.
[[nodiscard]] int ParseSfen(std::string_view text, Position& pos, Side& side_to_move,
                            int& move_number, std::string& message);

// The SFEN of a position. Hands are written in the usual order (rook, bishop, gold, silver,
// knight, lance, pawn; the first player's first).
std::string ToSfen(const Position& pos, Side side_to_move, int move_number = 1);

// Reads a USI move ("7g7f", "8h2b+", "P*5e"). Only the form is checked, not legality.
[[nodiscard]] bool ParseUsiMove(std::string_view text, MoveCode& move);

// The USI text of a well-formed move code.
std::string FormatUsiMove(MoveCode move);

}  // namespace shogi
