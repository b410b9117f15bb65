// What the menus 棋泉 and Tarvel share: the file dialog's type list of each database kind and
// the enabling rules of their items, each for the database kind of its item.
#pragma once

#include "database/database_format.h"
#include "shell/program_state.h"

namespace shogi {

// The file dialog's type list and default extension of each format.
struct FileDialogText {
  const char* Filter;
  const char* DefaultExtension;
};
FileDialogText DialogTextOf(DatabaseKind kind);

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

bool KisenListsEnabled(const ProgramState& state);
bool TarvelListsEnabled(const ProgramState& state);
bool KisenRegistrationEnabled(const ProgramState& state);
bool TarvelRegistrationEnabled(const ProgramState& state);
bool KisenOverwriteEnabled(const ProgramState& state);
bool TarvelOverwriteEnabled(const ProgramState& state);

}  // namespace shogi
