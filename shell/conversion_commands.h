// The conversion items of the Tarvel menu: 棋泉->Tarvel and Tarvel->棋泉 (a database into the
// other format beside it), Tarvel->定跡 (the .JSK opening book of a Tarvel database beside
// it) and 定跡ファイル (the book the computer player reads). The work itself is
// database/conversion.h and database/jsk_book.h, which shogi-tool db uses as well.
#pragma once

#include "database/conversion.h"
#include "platform/profile.h"
#include "shell/settings.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char* kJskCaption = "Tarvel->定跡";
inline constexpr const char* kJskDialogTitle = "Tarvel->定跡・変換ファイル名の設定";
inline constexpr const char* kJskOverwriteQuestion =
    "すでに定跡ファイルが存在します。\n上書きしてよろしいでしょうか？　";
inline constexpr const char* kJskFileTitle = "定跡ファイル名の設定";
inline constexpr const char* kJskFileFilter = "定跡ファイル(*.jsk)|*.jsk|全てのファイル(*.*)|*.*||";
inline constexpr const char* kConvertingProgress = "　変換中";

// 棋泉->Tarvel / Tarvel->棋泉: the source's file dialog; a malformed name, a missing or
// damaged source are refused; an existing target asks "すでに棋譜ファイルが存在します。…"
// (いいえ ends); the conversion runs in state 4 with the program folder's player list; after
// 棋泉->Tarvel the three list questions follow. Messages are captioned with the item.
ViewUpdate ConvertDatabaseCommand(ShellContext& ctx, ProgramSettings& settings,
                                  const DatabaseConversion& conversion);

// Tarvel->定跡: the Tarvel file dialog; the book is the chosen base path + ".JSK" (in the
// database's case); an existing book asks "すでに定跡ファイルが存在します。…". Nothing is
// shown on success.
ViewUpdate WriteJskCommand(ShellContext& ctx, ProgramSettings& settings);

// 定跡ファイル: the file dialog from the current book; on OK the path is kept under "定跡".
ViewUpdate ChooseJskFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings);

}  // namespace shogi
