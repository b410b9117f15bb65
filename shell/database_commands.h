// The menus 棋泉 and Tarvel: choosing the database (ﾌｧｲﾙ名, and ﾌｧｲﾙ名２ for Tarvel), creating
// it when it is not there, registering the record as a new game (新規登録) or over the game
// last read or registered (修正登録), and opening the name lists in the text editor
// (棋士名変更, 棋戦名変更, 戦型名変更). The database work itself is database/game_database.h,
// which shogi-tool db uses as well.
#pragma once

#include <optional>
#include <string>

#include "database_files/database_format.h"
#include "platform/profile.h"
#include "shell/database_menu.h"
#include "shell/settings.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char* kCreateDatabaseQuestion = "ファイルを新規に作成しますか？";
inline constexpr const char* kNewRegistrationOnly = "新規登録しかできません。";
inline constexpr const char* kEditorFailed = "テキストエディタを起動できません。";

// "%d番目に上書きしますが、よろしいでしょうか？" for game `number`.
std::string OverwriteQuestion(int number);

// The question asked when a chosen database's count claims more games than its files hold
// whole (`whole` of them).
inline constexpr const char* kRepairQuestion =
    "ファイルに異常があります。\n登録件数を読み込める%d件に直しますか？";
std::string RepairQuestion(int whole);

// An open-file dialog titled `title` with `text`'s type list, starting from the path kept
// under `file_key` (section "ファイル名"; the program folder when none is kept): the chosen
// name with the default extension, or nothing when cancelled.
std::optional<std::string> AskDatabaseFileName(ShellContext& ctx, ProgramSettings& settings,
                                               const FileDialogText& text, const char* title,
                                               const char* file_key);

// After a command replaced or rewrote the files of the database at `paths`: the database
// chosen in the menu of `format` forgets its current game and its search list when it names
// those files, since their numbers no longer hold.
void ForgetRewrittenDatabase(ProgramState& state, const DatabaseFormat& format,
                             const DatabasePaths& paths);

// ﾌｧｲﾙ名 / ﾌｧｲﾙ名２: the file dialog of the format, starting from the item's remembered path.
// On OK the path is remembered and the database chosen (its current game and search list
// reset): a malformed name is refused; a missing index is created after the question
// "ファイルを新規に作成しますか？" (いいえ, or a failure, leaves no database chosen); a pair
// whose count claims more games than its files hold is chosen after the question whether to
// set its count to its whole games (いいえ: its whole games can be read, nothing writes to
// it); a pair that cannot be read is reported and not chosen. A database that was there
// opens its list; a new one does not.
ViewUpdate ChooseDatabaseFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings,
                              DatabaseFileItem item);

// 新規登録: the record as a new game of the chosen database, with the name lists of
// `folder` (the program folder); it becomes the current game. A failure is shown in a box
// captioned "棋泉" / "Tarvel".
ViewUpdate RegisterNewGame(ShellContext& ctx, const std::string& folder, DatabaseKind kind);

// 修正登録: after the question, the record over the current game; "新規登録しかできません。"
// when there is none.
ViewUpdate RegisterOverCurrentGame(ShellContext& ctx, const std::string& folder, DatabaseKind kind);

// 棋士名変更 / 棋戦名変更 / 戦型名変更: list `list` of `folder` in the text editor. A list
// that is not there yet is created empty first, after the question
// "ファイルを新規に作成しますか？".
ViewUpdate EditNameList(ShellContext& ctx, const std::string& folder, DatabaseKind kind,
                        NameList list);

}  // namespace shogi
