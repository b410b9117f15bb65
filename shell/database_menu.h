// What the menus 棋泉 and Tarvel share: one descriptor per database kind (its titles, its
// file dialog's type list, its commands) and the enabling rules of their items, each for the
// database kind of its item.
#pragma once

#include "database_files/database_format.h"
#include "shell/command_ids.h"
#include "shell/program_state.h"
#include "shell/view_update.h"

namespace shogi {

// The file dialog's type list and default extension of each format.
struct FileDialogText {
  const char* Filter;
  const char* DefaultExtension;
};

// --- enabling rules ---
// No database command runs during another one (InteractionState 4). Choosing a database and
// opening a list touch nothing of the game, so they run in every other state; the list
// items, like every Kisen or Tarvel command but the file items, wait for a database to be
// chosen in this run.
bool DatabaseFileItemsEnabled(const ProgramState& state);
bool ListsEnabled(const ProgramState& state, DatabaseKind kind);
// Registration stores the record as it stands, also in the middle of a game or a replay;
// not in set-up, where the position being edited is not yet the record's start. 検索条件
// follows the same rule: a listed game replaces the record.
bool RegistrationEnabled(const ProgramState& state, DatabaseKind kind);
// 修正登録 also needs a current game (CurrentRecordNo ≥ 1) of that database.
bool OverwriteEnabled(const ProgramState& state, DatabaseKind kind);

// The same rules for a command row whose argument is the DatabaseKind.
bool ListsEnabledFor(const ProgramState& state, int kind);
bool RegistrationEnabledFor(const ProgramState& state, int kind);
bool OverwriteEnabledFor(const ProgramState& state, int kind);

// The file items: 棋泉 ﾌｧｲﾙ名, Tarvel ﾌｧｲﾙ名 and Tarvel ﾌｧｲﾙ名２. The two Tarvel items choose
// the one Tarvel database, each from a starting path of its own.
enum class DatabaseFileItem : int { kKisen, kTarvel, kTarvel2 };

// What tells the two database menus apart besides the format (whose Caption names the
// database in boxes and prompts): the shell's titles, the view's list, and the commands of
// the items both menus have, from which the command table makes both menus' rows.
struct DatabaseMenuKind {
  DatabaseKind Kind;
  DatabaseFileItem FileItem;  // its ﾌｧｲﾙ名
  FileDialogText Dialog;
  const char* FileKey;       // section "ファイル名": where its other file dialogs start
  const char* ListTitle;     // the list dialog CKisen / CTarvel
  const char* ExtractTitle;  // the save dialog of the list's 新規作成
  ViewPart OpenList;         // the view's part that opens its list
  int File, Register, Overwrite, Search, List, Reverse;  // the commands
  int EditPlayers, EditTournaments, EditOpenings;
  int Sort, Duplicates, Merge, Remove, RenameTournaments, RenameOpenings, PositionIndex;
};
inline constexpr DatabaseKind kDatabaseKinds[] = {DatabaseKind::kKisen, DatabaseKind::kTarvel};
const DatabaseMenuKind& MenuKindOf(DatabaseKind kind);

}  // namespace shogi
