// The KI2 move text: destination, piece and, where the destination alone is ambiguous, the
// relative words 右 左 直 上 引 寄 行 or 打, in both directions.
#pragma once

#include <string>
#include <string_view>

#include "records/notation.h"
#include "rules/game_record.h"

namespace shogi {

// Width of the KI2 move field, padded with ASCII spaces.
constexpr std::size_t kKi2MoveFieldWidth = 16;

// The KI2 text of `move` played by `mover` from `before`, in a 16-byte cp932 field:
// `side_mark` (cp932, e.g. "▲", "△" or "・"), the destination or "同　" when it equals
// `previous_destination`, the piece name, the relative words or 打, and 成 / 不成 where the
// move could promote. The move must be well-formed.
std::string FormatKi2Move(MoveCode move, const Position& before, Side mover,
                          int previous_destination, std::string_view side_mark);

// The same for the move at `index` of `record` (StartIndex <= index, a well-formed move):
// the position before it is rebuilt by replaying the record.
std::string FormatKi2Move(const GameRecord& record, int index, std::string_view side_mark);

// Reads one KI2 token ("▲７六歩", "△同　銀", "▲５八金右", with or without its side mark)
// as a move of `side` in `pos`. The moving piece is found among the pseudo-legal moves of
// `side`, narrowed by the relative words; when no piece on the board fits, the token is a
// drop. On success `pos` holds the position after the move and `previous_destination` its
// destination. False, with `pos` unchanged, when the token names no square or piece, when
// neither a board move nor a drop from the hand fits it, when the relative words fit no
// piece or still leave two (上 is read for 直 and 行 too, as other programs write it, as long
// as one piece fits), or when the move is not playable (IsPlayableMove: it would take a king).
[[nodiscard]] bool ParseKi2Move(std::string_view token, Position& pos, Side side,
                                int& previous_destination, MoveCode& move);

// The position of the next side mark ("▲", or `gote_mark`: "△" in KI2 files, "▽" in some
// other programs' files) at or after byte `i`, stepping by whole characters so that a trail
// byte is never taken for the start of a mark; npos when there is none.
std::size_t NextKi2Mark(std::string_view line, std::size_t i, Kanji gote_mark);
std::size_t NextKi2Mark(std::string_view line, std::size_t i);

}  // namespace shogi
