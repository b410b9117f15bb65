// The texts of the board view: the players' lines, the clocks, the move counter, the last
// move and the move list. All results are UTF-8 for drawing.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "rules/game_record.h"

namespace shogi {

// A player's line: the mark ("▲" or "△") and the cp932 name, the whole line cut to 14 cp932
// bytes without splitting a character.
constexpr std::size_t kPlayerLineBytes = 14;
std::string PlayerLine(bool first_player, std::string_view cp932_name);

// A side's cumulative clock: "(01:05:00)" (hours modulo 100), or with the clock in minutes
// "(1:05)     " (hours and minutes, five spaces after).
std::string ClockText(std::int32_t seconds, bool in_minutes);

// "%d手目" with the moves played to the shown position; with the clock in minutes and a move
// shown, "%d手目(%ld)" adds the whole minutes the last move took, unless that is 0.
std::string MoveCounterText(const GameRecord& record, bool in_minutes);

// The last move played to the shown position in move notation with its side mark, e.g.
// "▲７六歩"; "" before the first move.
std::string LastMoveText(const GameRecord& record);

// A move that `mover` would play from `shown`, the position at record.PlyCount, in move
// notation with its side mark ("▲２二金打"); "同" when the side to move answers the last move
// on its square.
std::string MoveTextFrom(const GameRecord& record, const Position& shown, Side mover,
                         MoveCode move);

// The ten lines of the move list: the last ten moves up to the shown position, or with
// `next_moves` the next ten from it; blank lines where there are fewer.
std::array<std::string, 10> MoveListLines(const GameRecord& record, bool next_moves);
// The ply to show after a click on line 0..9 of that list (the position after the line's
// move), or -1 when the line holds no move.
int MoveListPly(const GameRecord& record, bool next_moves, int line);

}  // namespace shogi
