// The yearbook import (将棋年鑑): the games of a yearbook data set — game headers, a move
// index and move data — converted into a new Tarvel database.
#pragma once

#include <string>
#include <string_view>

#include "database/database_rewrite.h"

namespace shogi {

// The file names of the 将棋年鑑 dialog.
struct YearbookFiles {
  std::string Headers;    // ファイル名１: 512-byte game headers, every byte complemented
  std::string MoveIndex;  // ファイル名２: an 8-byte header, then 8 bytes per game
  std::string MoveData;   // ファイル名３: per game a 16-byte header and 4 bytes per move
  std::string Database;   // the Tarvel file (.mix) to create
};

inline constexpr const char kMessageYearbookMissing[] = "ファイル（%s）が存在しません。";
inline constexpr const char kMessageYearbookIndexUncreatable[] =
    "Kaelmoインデックスファイル（%s）が作成出来ません。";
inline constexpr const char kMessageYearbookMovesUncreatable[] =
    "Kaelmo棋譜ファイル（%s）が作成出来ません。";
inline constexpr const char kMessageYearbookConverted[] = "全部で%d局変換しました。";

// The dialog's OK starts the import only when every input name has at least 4 characters
// and the Tarvel name at least 5.
bool YearbookNamesComplete(const YearbookFiles& files);

// The tournament number (Tarvel list numbering) and the game number 1..9 (0 none) that a
// game's title (cp932) names, and whether it is a 角落ち game.
struct YearbookTitle {
  int Tournament = 0;
  int GameNumber = 0;
  bool BishopHandicap = false;
};
YearbookTitle ReadYearbookTitle(std::string_view title);

// Converts the yearbook files into the Tarvel database files.Database (its base path: the
// name without its last four characters), replacing any database there only when the whole
// conversion is written. Headers whose title begins with byte 9 are not games. A move index
// or move data file that ends before the headers do ends the import there: the games
// converted until then are kept and counted. 0 with "全部で%d局変換しました。" and
// `converted`; or 1 with "ファイル（%s）が存在しません。" (the first input missing, in the
// order ファイル名３, ２, １; nothing is created), "Kaelmoインデックスファイル（%s）が作成出来
// ません。", "Kaelmo棋譜ファイル（%s）が作成出来ません。" (the new file cannot be made) or
// "ファイルが作成できません。" (nor written) or "中断しました。" (`progress`, told of every
// game converted, stopped it); nothing is created then.
[[nodiscard]] int ImportYearbook(const YearbookFiles& files, int& converted,
                                 const LoopProgress& progress, std::string& message);

}  // namespace shogi
