// The database menus' shared texts and enabling rules.
#include "shell/database_menu.h"

namespace shogi {

FileDialogText DialogTextOf(DatabaseKind kind) {
  return kind == DatabaseKind::kKisen
             ? FileDialogText{"棋泉ファイル(*.idx)|*.idx|全てのファイル(*.*)|*.*||", "idx"}
             : FileDialogText{"Tarvelファイル(*.mix)|*.mix|全てのファイル(*.*)|*.*||", "mix"};
}

bool DatabaseFileItemsEnabled(const ProgramState& state) {
  return state.InteractionState != kStateDatabase;
}

bool ListsEnabled(const ProgramState& state, DatabaseKind kind) {
  return DatabaseFileItemsEnabled(state) && SelectionOf(state, kind).Chosen();
}

bool RegistrationEnabled(const ProgramState& state, DatabaseKind kind) {
  return ListsEnabled(state, kind) && state.InteractionState != kStateSetUp;
}

bool OverwriteEnabled(const ProgramState& state, DatabaseKind kind) {
  return RegistrationEnabled(state, kind) && SelectionOf(state, kind).CurrentRecordNo >= 1;
}

bool KisenListsEnabled(const ProgramState& state) {
  return ListsEnabled(state, DatabaseKind::kKisen);
}
bool TarvelListsEnabled(const ProgramState& state) {
  return ListsEnabled(state, DatabaseKind::kTarvel);
}
bool KisenRegistrationEnabled(const ProgramState& state) {
  return RegistrationEnabled(state, DatabaseKind::kKisen);
}
bool TarvelRegistrationEnabled(const ProgramState& state) {
  return RegistrationEnabled(state, DatabaseKind::kTarvel);
}
bool KisenOverwriteEnabled(const ProgramState& state) {
  return OverwriteEnabled(state, DatabaseKind::kKisen);
}
bool TarvelOverwriteEnabled(const ProgramState& state) {
  return OverwriteEnabled(state, DatabaseKind::kTarvel);
}

}  // namespace shogi
