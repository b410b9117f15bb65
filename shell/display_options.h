// The board view's additions that players of today expect, each switched in the 表示 menu
// and kept in the profile (section "Settings"): coordinates, the last move tinted, the
// counts of pieces in hand, whose turn it is, the legal destinations of a picked piece, and
// the view's scale. With every item off and the scale at 100 % the view is the plain one.
#pragma once

#include <vector>

#include "platform/profile.h"

namespace shogi {

struct CommandRow;

struct DisplayOptions {
  bool Coordinates = true;    // "座標": ９..１ above the board, 一..九 beside it
  bool LastMove = true;       // "最終手": its destination tinted, its origin lighter
  bool PieceCounts = true;    // "持駒数": a numeral beside every kind held twice or more
  bool TurnMessage = true;    // "手番": whose move in a game of two persons, the result after
  bool Destinations = false;  // "移動先": the legal destinations of a picked piece marked
  int Scale = 100;            // "表示倍率": 100, 150 or 200 (per cent)
  // "変化を残す": a game started at a past position keeps the moves that followed as a
  // variation (off: they are cut away).
  bool KeepVariations = true;
  bool NotesWindow = false;  // "変化とコメント": the window of the variations and the comment
  bool ScoreGraph = false;   // "評価値グラフ": the scores of the record under the board
};
constexpr int kViewScales[3] = {100, 150, 200};
// "ウィンドウに合わせる": the view scaled to fill its window, whatever its size.
constexpr int kScaleFit = 0;

// Reads the options; a missing key gives its default, a scale that is none of the three 100.
DisplayOptions LoadDisplayOptions(const Profile& profile);
void SaveDisplayOptions(Profile& profile, const DisplayOptions& options);

// The 表示 menu's rows of the options, for the command table.
void AddDisplayRows(std::vector<CommandRow>& rows);

}  // namespace shogi
