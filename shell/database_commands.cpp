// The handlers of the menus 棋泉 and Tarvel.
#include "shell/database_commands.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

#include "database/database_rewrite.h"
#include "database/game_database.h"
#include "database/position_index.h"
#include "platform/file_path.h"
#include "platform/replacing_file.h"
#include "shell/file_dialogs.h"
#include "shell/record_notes.h"
#include "shell/search_commands.h"

namespace shogi {
namespace {

// What a file item shows and remembers.
struct FileItem {
  DatabaseKind Kind;
  const char* ProfileKey;  // section "ファイル名"
  const char* Title;
};
constexpr FileItem kFileItems[] = {
    {DatabaseKind::kKisen, "棋泉", "棋泉・棋譜ファイル名の設定"},
    {DatabaseKind::kTarvel, "Tarvel", "Tarvel・棋譜ファイル名の設定"},
    {DatabaseKind::kTarvel, "Tarvel２", "Tarvel・棋譜ファイル名２の設定"},
};

void ShowWarning(ShellContext& ctx, const char* caption, const std::string& text) {
  ctx.Ui.ShowMessage(caption, text, MessageButtons::kOk, MessageIcon::kWarning);
}

// Registers the record as game `number` (0: a new one); the game becomes the current one.
void Register(ShellContext& ctx, const std::string& folder, DatabaseKind kind, int number) {
  const DatabaseFormat& format = FormatOf(kind);
  DatabaseSelection& selection = SelectionOf(ctx.State, kind);
  std::string message;
  // A database keeps the file's main line; its comments and variations stay behind.
  TellNotesNotStored(ctx, format.Caption);
  GameRecord record;
  RecordTree tree;
  FileRecord(ctx.State, record, tree);
  if (RegisterGameIndexed(format, selection.Paths, folder, record, number, message) != 0) {
    ShowWarning(ctx, format.Caption, message);
    return;
  }
  NoteRegistered(selection, number);
}

// A database whose count claims more games than its files hold: the question whether to set
// the count to the whole games, and the repair.
void OfferRepair(ShellContext& ctx, const DatabaseFormat& format, const DatabasePaths& paths) {
  int whole = 0;
  std::string message;
  if (DatabaseGameCount(format, paths, whole, message) != 0 ||
      !AskYesNo(ctx.Ui, format.Caption, RepairQuestion(whole)))
    return;
  if (RepairDatabase(format, paths, whole, message) != 0) ShowWarning(ctx, format.Caption, message);
}

}  // namespace

std::optional<std::string> AskDatabaseFileName(ShellContext& ctx, ProgramSettings& settings,
                                               const FileDialogText& text, const char* title,
                                               const char* file_key) {
  FileDialogRequest request;
  request.Title = title;
  request.Filters = ParseFilterText(text.Filter);
  const std::string* last = FileNameSlot(settings.Files, file_key);
  request.InitialPath = last ? *last : settings.Folder;
  const FileDialogResult answer = ctx.Ui.ChooseOpenFile(request);
  if (!answer.Chosen) return std::nullopt;
  return WithDefaultExtension(answer.Path, text.DefaultExtension);
}

std::string RepairQuestion(int whole) {
  char text[160];
  std::snprintf(text, sizeof text, kRepairQuestion, whole);
  return text;
}

std::string OverwriteQuestion(int number) {
  char text[96];
  std::snprintf(text, sizeof text, "%d番目に上書きしますが、よろしいでしょうか？", number);
  return text;
}

void ForgetRewrittenDatabase(ProgramState& state, const DatabaseFormat& format,
                             const DatabasePaths& paths) {
  DatabaseSelection& selection = SelectionOf(state, format.Kind);
  if (!selection.Chosen() || !SameDatabase(format, selection.Paths, paths)) return;
  selection.CurrentRecordNo = 0;
  selection.SearchCount = 0;
}

ViewUpdate ChooseDatabaseFile(ShellContext& ctx, Profile& profile, ProgramSettings& settings,
                              DatabaseFileItem item) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  const FileItem& file_item = kFileItems[static_cast<int>(item)];
  const DatabaseFormat& format = FormatOf(file_item.Kind);
  const FileDialogText text = MenuKindOf(file_item.Kind).Dialog;
  FileDialogRequest request;
  request.Title = file_item.Title;
  request.Filters = ParseFilterText(text.Filter);
  request.MayBeNew = true;
  const std::string* last = FileNameSlot(settings.Files, file_item.ProfileKey);
  request.InitialPath = last ? *last : settings.Folder;
  const FileDialogResult answer = ctx.Ui.ChooseOpenFile(request);
  if (!answer.Chosen) return {};
  const std::string chosen = WithDefaultExtension(answer.Path, text.DefaultExtension);
  RememberFileName(profile, settings, file_item.ProfileKey, chosen);

  DatabaseSelection& selection = SelectionOf(ctx.State, file_item.Kind);
  std::string message;
  if (ChooseDatabase(chosen, selection, message) != 0) {
    ShowWarning(ctx, format.NameCaption, message);
    return {};
  }
  const DatabaseState state = ProbeDatabase(format, selection.Paths, message);
  switch (state) {
    case DatabaseState::kSound:
      break;
    case DatabaseState::kTruncated:
      // Its whole games can be read as it is; nothing writes to it until it is repaired.
      OfferRepair(ctx, format, selection.Paths);
      break;
    case DatabaseState::kDamaged:
      // A pair that cannot be read is no database to work on.
      ShowWarning(ctx, format.Caption, message);
      selection.Paths = DatabasePaths{};
      break;
    case DatabaseState::kMissing:
      if (!AskYesNo(ctx.Ui, format.Caption, kCreateDatabaseQuestion)) {
        selection.Paths = DatabasePaths{};
      } else if (CreateDatabase(format, selection.Paths, message) != 0) {
        ShowWarning(ctx, format.Caption, message);
        selection.Paths = DatabasePaths{};
      }
      break;
  }
  if (selection.Chosen()) ctx.State.LastChosenDatabase = file_item.Kind;
  // A database that was there shows its list at once; a new one has nothing to show.
  if (!selection.Chosen() || state == DatabaseState::kMissing) return {};
  return OpenGameList(ctx, settings.Folder, file_item.Kind);
}

ViewUpdate RegisterNewGame(ShellContext& ctx, const std::string& folder, DatabaseKind kind) {
  if (!RegistrationEnabled(ctx.State, kind)) return {};
  Register(ctx, folder, kind, 0);
  return {};
}

ViewUpdate RegisterOverCurrentGame(ShellContext& ctx, const std::string& folder,
                                   DatabaseKind kind) {
  if (!RegistrationEnabled(ctx.State, kind)) return {};
  const DatabaseFormat& format = FormatOf(kind);
  const int number = SelectionOf(ctx.State, kind).CurrentRecordNo;
  if (number < 1) {
    ShowWarning(ctx, format.Caption, kNewRegistrationOnly);
    return {};
  }
  if (AskYesNo(ctx.Ui, format.Caption, OverwriteQuestion(number))) {
    Register(ctx, folder, kind, number);
  }
  return {};
}

ViewUpdate EditNameList(ShellContext& ctx, const std::string& folder, DatabaseKind kind,
                        NameList list) {
  if (!ListsEnabled(ctx.State, kind)) return {};
  const DatabaseFormat& format = FormatOf(kind);
  const std::string path = NameListPath(folder, list);
  // The editor of some desktops cannot open a file that is not there: an empty list is made
  // first, when the person wants it.
  if (!FileExists(path)) {
    if (!AskYesNo(ctx.Ui, format.Caption, kCreateDatabaseQuestion)) return {};
    if (!WriteFileReplacing(path, {})) {
      ShowWarning(ctx, format.Caption, kMessageCannotCreate);
      return {};
    }
  }
  if (!ctx.Ui.OpenInTextEditor(path)) ShowWarning(ctx, format.Caption, kEditorFailed);
  return {};
}

}  // namespace shogi
