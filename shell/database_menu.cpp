// The database menus' shared texts and enabling rules.
#include "shell/database_menu.h"

namespace shogi {

namespace {

constexpr DatabaseMenuKind kMenuKinds[] = {
    {DatabaseKind::kKisen,
     DatabaseFileItem::kKisen,
     {"棋泉ファイル(*.idx)|*.idx|全てのファイル(*.*)|*.*||", "idx"},
     "棋泉",
     "棋　泉　一　覧　表",
     "棋泉・新規棋譜ファイル名の設定",
     kViewOpenKisenList,
     kCmdKisenFile,
     kCmdKisenRegister,
     kCmdKisenOverwrite,
     kCmdKisenSearch,
     kCmdKisenList,
     kCmdKisenReverse,
     kCmdKisenPlayers,
     kCmdKisenTournaments,
     kCmdKisenOpenings,
     kCmdKisenSort,
     kCmdKisenDuplicates,
     kCmdKisenMerge,
     kCmdKisenRemove,
     kCmdKisenRenameTournaments,
     kCmdKisenRenameOpenings,
     kCmdKisenPositionIndex},
    {DatabaseKind::kTarvel,
     DatabaseFileItem::kTarvel,
     {"Tarvelファイル(*.mix)|*.mix|全てのファイル(*.*)|*.*||", "mix"},
     "Tarvel",
     "Ｔａｒｖｅｌ　一　覧　表",
     "Tarvel・新規棋譜ファイル名の設定",
     kViewOpenTarvelList,
     kCmdTarvelFile,
     kCmdTarvelRegister,
     kCmdTarvelOverwrite,
     kCmdTarvelSearch,
     kCmdTarvelList,
     kCmdTarvelReverse,
     kCmdTarvelPlayers,
     kCmdTarvelTournaments,
     kCmdTarvelOpenings,
     kCmdTarvelSort,
     kCmdTarvelDuplicates,
     kCmdTarvelMerge,
     kCmdTarvelRemove,
     kCmdTarvelRenameTournaments,
     kCmdTarvelRenameOpenings,
     kCmdTarvelPositionIndex},
};

}  // namespace

const DatabaseMenuKind& MenuKindOf(DatabaseKind kind) {
  return kMenuKinds[kind == DatabaseKind::kKisen ? 0 : 1];
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

bool ListsEnabledFor(const ProgramState& state, int kind) {
  return ListsEnabled(state, static_cast<DatabaseKind>(kind));
}
bool RegistrationEnabledFor(const ProgramState& state, int kind) {
  return RegistrationEnabled(state, static_cast<DatabaseKind>(kind));
}
bool OverwriteEnabledFor(const ProgramState& state, int kind) {
  return OverwriteEnabled(state, static_cast<DatabaseKind>(kind));
}

}  // namespace shogi
