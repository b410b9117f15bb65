// The board view's additions that players of today expect, each switched in the 表示 menu
// and kept in the profile (section "Settings"): coordinates, the last move tinted, the
// counts of pieces in hand, whose turn it is, the legal destinations of a picked piece, and
// the view's scale. With every item off and the scale at 100 % the view is the plain one.
#pragma once

#include "platform/profile.h"
#include "shell/command_ids.h"

namespace shogi {

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

// One switch of the 表示 menu: its command, its profile key, its label and prompt, its member.
struct DisplaySwitch {
  int Id;
  const char* Key;
  const char* Label;
  const char* Prompt;
  bool DisplayOptions::*Member;
};
inline constexpr DisplaySwitch kDisplaySwitches[] = {
    {kCmdShowCoordinates, "ShowCoordinates", "座標", "盤の上に筋、右に段の座標を表示する。\n座標",
     &DisplayOptions::Coordinates},
    {kCmdShowLastMove, "ShowLastMove", "最終手", "最後に指した手の升に色を付ける。\n最終手",
     &DisplayOptions::LastMove},
    {kCmdShowPieceCounts, "ShowPieceCounts", "持駒数",
     "持駒と駒箱の駒の数を数字で表示する。\n持駒数", &DisplayOptions::PieceCounts},
    {kCmdShowTurn, "ShowTurn", "手番", "対局中の手番と終局後の結果を表示する。\n手番",
     &DisplayOptions::TurnMessage},
    {kCmdShowDestinations, "ShowDestinations", "移動先",
     "持ち上げた駒の動ける升に印を付ける。\n移動先", &DisplayOptions::Destinations},
    {kCmdKeepVariations, "KeepVariations", "変化を残す",
     "途中の局面から対局すると、それまでの指し手を変化として残す。\n変化を残す",
     &DisplayOptions::KeepVariations},
    {kCmdShowScoreGraph, "ShowScoreGraph", "評価値グラフ",
     "盤の下に棋譜の評価値のグラフを表示する。\n評価値グラフ", &DisplayOptions::ScoreGraph},
    {kCmdShowNotes, "ShowNotes", "変化とコメント",
     "指し手の変化と局面のコメントのウィンドウを表示する。\n変化とコメント",
     &DisplayOptions::NotesWindow},
};

// Reads the options; a missing key gives its default, a scale that is none of the three 100.
DisplayOptions LoadDisplayOptions(const Profile& profile);
void SaveDisplayOptions(Profile& profile, const DisplayOptions& options);

}  // namespace shogi
