// The window program's commands, one row each: its number, menu label, prompt, handler,
// enabling rule and check-mark rule. The frame builds its menus and tool bar from these rows
// (shell/menu_layout.h places them), its menu-update handler asks CommandEnabled and
// CommandChecked, and a menu click runs RunCommand.
#pragma once

#include <string>
#include <vector>

#include "shell/command_row.h"

namespace shogi {

// Every command, in menu order within each group.
const std::vector<CommandRow>& CommandTable();
// The row of `id`, or nullptr.
const CommandRow* FindCommand(int id);

// Whether the command may run now: its row's rule, and never while the program is busy (the
// computer thinking, a mate analysis) or a piece is being dragged. Pumped messages reach the
// menus during a search; nothing that changes the game may run under it.
[[nodiscard]] bool CommandEnabled(const ProgramState& state, int id);
// Whether the command's menu item is checked now.
[[nodiscard]] bool CommandChecked(const ProgramState& state, int id);
// Runs the command if it is enabled; what the view must redraw.
ViewUpdate RunCommand(CommandEnv& env, int id);

// The text of the about box "バージョン情報".
inline constexpr const char* kAboutCaption = "バージョン情報";
inline constexpr const char* kAboutText =
    "Shogi 将棋ワークベンチ\n対局・棋譜再現・盤面設定・棋譜の読み書き";
inline constexpr const char* kWindowPositionCaption = "初期位置";
inline constexpr const char* kWindowPositionQuestion =
    "画面の初期位置を現在表示中の画面と同じにしますか？";

}  // namespace shogi
