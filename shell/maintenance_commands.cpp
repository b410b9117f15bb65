// The handlers of the whole-database items of the menus 棋泉 and Tarvel.
#include "shell/maintenance_commands.h"

#include <array>
#include <optional>
#include <vector>

#include "database/date_sort.h"
#include "database/duplicates.h"
#include "database/game_database.h"
#include "database/maintenance.h"
#include "database/merge.h"
#include "database/search_list.h"
#include "platform/cp932.h"
#include "shell/database_command_scope.h"
#include "shell/database_commands.h"
#include "shell/file_dialogs.h"

namespace shogi {
namespace {

// A refusal or failure; an empty message (a question answered no) shows nothing.
void Warn(ShellContext& ctx, const char* caption, const std::string& message) {
  if (!message.empty())
    ctx.Ui.ShowMessage(caption, message, MessageButtons::kOk, MessageIcon::kWarning);
}

// Runs a database routine in state 4: its status words go to the status bar, its questions
// to yes/no boxes captioned `caption`, the window takes its messages once per record. The
// state before it comes back however it ends.
template <class Routine>
int RunRoutine(ShellContext& ctx, const char* caption, Routine routine) {
  DatabaseCommandScope running(ctx.State, ctx.View, "");
  CommandHooks hooks;
  hooks.Status = [&ctx](const char* word) { ctx.View.SetStatusText(word); };
  hooks.Progress = WindowProgress(ctx.View);
  hooks.Ask = [&ctx, caption](const std::string& question) {
    return AskYesNo(ctx.Ui, caption, question);
  };
  return routine(hooks);
}

// After a rewrite the old game numbers and the old search list no longer hold.
void NoteRewritten(DatabaseSelection& selection) {
  selection.CurrentRecordNo = 0;
  selection.SearchCount = 0;
}

// The list of `kind` opens now (the view opens it once the handler returns).
ViewUpdate ListOpens(DatabaseKind kind) {
  ViewUpdate update;
  update.Redraw(MenuKindOf(kind).OpenList);
  return update;
}

// A file dialog of the database's format titled "<caption>・<what>".
std::optional<std::string> AskFileOf(ShellContext& ctx, ProgramSettings& settings,
                                     DatabaseKind kind, const char* what) {
  const std::string title = std::string(FormatOf(kind).Caption) + "・" + what;
  return AskDatabaseFileName(ctx, settings, MenuKindOf(kind).Dialog, title.c_str(),
                             MenuKindOf(kind).FileKey);
}

// A number of the 順番入れ換え dialog: one to five decimal digits, else 0 (no number).
int SwapNumberOf(std::string_view text) {
  if (text.empty() || text.size() > 5) return 0;
  int number = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return 0;
    number = number * 10 + (c - '0');
  }
  return number;
}

constexpr std::array<const char*, 3> kRenameTitles = {"棋士番号一括変更", "棋戦番号一括変更",
                                                      "戦型番号一括変更"};

}  // namespace

bool YearbookModeOn(const ProgramSettings& settings) {
  return settings.Yearbook == kYearbookModeValue;
}

SwapInput CheckSwapFields(SwapRequest& request, std::string& message) {
  const int first = SwapNumberOf(request.FirstText), second = SwapNumberOf(request.SecondText);
  if (CheckSwapNumbers(first, second, request.Count, message) == 0) {
    request.First = first;
    request.Second = second;
    return SwapInput::kAccepted;
  }
  return first < 1 || first > request.Count ? SwapInput::kFirst : SwapInput::kSecond;
}

RenameInput CheckRenameRequest(RenameNumbersRequest& request, std::string& message,
                               std::string& caption) {
  const RenameInput input = CheckRenameNumbers(request.OldText, request.NewText, request.Highest,
                                               request.Old, request.New, message, caption);
  if (input != RenameInput::kAccepted && caption.empty()) caption = request.Caption;
  return input;
}

bool BrowseYearbookFile(UserInterface& ui, std::string& field, bool tarvel_file) {
  const FileDialogText tarvel = MenuKindOf(DatabaseKind::kTarvel).Dialog;
  FileDialogRequest request;
  request.Title = kYearbookTitle;
  request.Filters = ParseFilterText(tarvel_file ? tarvel.Filter : kYearbookInputFilter);
  request.InitialPath = field;
  request.MayBeNew = tarvel_file;
  const FileDialogResult answer = ui.ChooseOpenFile(request);
  if (!answer.Chosen) return false;
  field = tarvel_file ? WithDefaultExtension(answer.Path, tarvel.DefaultExtension) : answer.Path;
  return true;
}

ViewUpdate SortCommand(ShellContext& ctx, DatabaseKind kind) {
  if (!ListsEnabled(ctx.State, kind)) return {};
  const SortOrderChoice choice = ctx.Ui.ChooseSortOrder();
  if (choice == SortOrderChoice::kCancel) return {};
  const DatabaseFormat& format = FormatOf(kind);
  DatabaseSelection& selection = SelectionOf(ctx.State, kind);
  std::string message;
  if (RunRoutine(ctx, format.Caption, [&](const CommandHooks& hooks) {
        return SortDatabase(format, selection.Paths, choice == SortOrderChoice::kDescending, hooks,
                            message);
      }) != 0) {
    Warn(ctx, format.Caption, message);
    return {};
  }
  NoteRewritten(selection);
  return ListOpens(kind);
}

ViewUpdate DuplicateCheckCommand(ShellContext& ctx, const std::string& folder, DatabaseKind kind) {
  if (!ListsEnabled(ctx.State, kind)) return {};
  const DatabaseFormat& format = FormatOf(kind);
  DatabaseSelection& selection = SelectionOf(ctx.State, kind);
  int pairs = 0;
  std::string message;
  // The pairs go straight into the search list, each on two lines, the earlier game first.
  if (RunRoutine(ctx, format.Caption, [&](const CommandHooks& hooks) {
        return FindDuplicates(format, selection.Paths, SearchListPath(format, folder), hooks, pairs,
                              message);
      }) != 0) {
    Warn(ctx, format.Caption, message);
    return {};
  }
  selection.CurrentRecordNo = 0;
  selection.SearchCount = 2 * pairs;
  ShowInformation(ctx.Ui, format.Caption, message);
  return selection.SearchCount > 1 ? ListOpens(kind) : ViewUpdate{};
}

ViewUpdate MergeCommand(ShellContext& ctx, ProgramSettings& settings, DatabaseKind kind) {
  if (!ListsEnabled(ctx.State, kind)) return {};
  const DatabaseFormat& format = FormatOf(kind);
  DatabaseSelection& selection = SelectionOf(ctx.State, kind);
  Warn(ctx, format.Caption, MergeWarning(format, selection.Paths));
  const std::optional<std::string> source =
      AskFileOf(ctx, settings, kind, "合併する棋譜ファイルの指定");
  if (!source) return {};
  std::string message;
  if (RunRoutine(ctx, format.Caption, [&](const CommandHooks& hooks) {
        return MergeDatabase(format, selection.Paths, *source, hooks, message);
      }) != 0) {
    Warn(ctx, format.Caption, message);
    return {};
  }
  NoteRewritten(selection);
  return {};
}

ViewUpdate MergeDistributedCommand(ShellContext& ctx, Profile& profile, ProgramSettings& settings) {
  if (!ListsEnabled(ctx.State, DatabaseKind::kKisen)) return {};
  DatabaseSelection& selection = ctx.State.Kisen;
  ShowInformation(ctx.Ui, kDistributedCaption, kMessageChooseDistributed);
  const std::optional<std::string> distributed = AskDatabaseFileName(
      ctx, settings, {kDistributedFilter, "idx"}, kDistributedDialogTitle, "配布");
  if (!distributed) return {};
  RememberFileName(profile, settings, "配布", *distributed);
  std::string message;
  if (RunRoutine(ctx, kDistributedCaption, [&](const CommandHooks& hooks) {
        return MergeDistributed(kKisenFormat, selection.Paths, *distributed, hooks, message);
      }) != 0) {
    Warn(ctx, kDistributedCaption, message);
    return {};
  }
  NoteRewritten(selection);
  ShowInformation(ctx.Ui, kDistributedCaption, message);
  return {};
}

ViewUpdate RemoveDatabaseCommand(ShellContext& ctx, ProgramSettings& settings, DatabaseKind kind) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  const DatabaseFormat& format = FormatOf(kind);
  const std::optional<std::string> chosen =
      AskFileOf(ctx, settings, kind, "削除棋譜ファイルの指定");
  if (!chosen) return {};
  std::string message;
  if (RunRoutine(ctx, format.Caption, [&](const CommandHooks& hooks) {
        return RemoveDatabase(format, *chosen, hooks, message);
      }) != 0) {
    Warn(ctx, format.Caption, message);
    return {};
  }
  DatabaseSelection& selection = SelectionOf(ctx.State, kind);
  if (selection.Chosen()) {
    const DatabaseState state = ProbeDatabase(format, selection.Paths, message);
    if (state == DatabaseState::kMissing || state == DatabaseState::kDamaged)
      selection = DatabaseSelection{};
  }
  return {};
}

ViewUpdate SwapGamesCommand(ShellContext& ctx) {
  if (!ListsEnabled(ctx.State, DatabaseKind::kTarvel)) return {};
  DatabaseSelection& selection = ctx.State.Tarvel;
  SwapRequest request;
  std::string message;
  if (DatabaseGameCount(kTarvelFormat, selection.Paths, request.Count, message) != 0) {
    Warn(ctx, kTarvelFormat.Caption, message);
    return {};
  }
  if (!ctx.Ui.EditSwapNumbers(request)) return {};
  if (RunRoutine(ctx, kSwapCaption, [&](const CommandHooks& hooks) {
        return SwapGames(kTarvelFormat, selection.Paths, request.First, request.Second, hooks,
                         message);
      }) != 0) {
    Warn(ctx, kSwapCaption, message);
    return {};
  }
  NoteRewritten(selection);
  return {};
}

namespace {

// Shows a bulk change's outcome; after a change the search list is rebuilt and the list opens.
ViewUpdate FinishRename(ShellContext& ctx, DatabaseKind kind, int result,
                        const std::string& message) {
  const char* caption = FormatOf(kind).Caption;
  if (result != 0) {
    Warn(ctx, caption, message);
    return {};
  }
  SelectionOf(ctx.State, kind).SearchCount = 0;
  ShowInformation(ctx.Ui, caption, message);
  return ListOpens(kind);
}

}  // namespace

ViewUpdate RenameNumbersCommand(ShellContext& ctx, DatabaseKind kind, RenamedList list) {
  if (!ListsEnabled(ctx.State, kind)) return {};
  const DatabaseFormat& format = FormatOf(kind);
  RenameNumbersRequest request;
  request.Title = kRenameTitles[static_cast<std::size_t>(list)];
  request.Highest = RenamedFields(format, list).Highest;
  request.Caption = format.Caption;
  if (!ctx.Ui.EditRenameNumbers(request)) return {};
  int changed = 0;
  std::string message;
  const int result = RunRoutine(ctx, format.Caption, [&](const CommandHooks& hooks) {
    return RenameNumbers(format, SelectionOf(ctx.State, kind).Paths, list, request.Old, request.New,
                         hooks, changed, message);
  });
  return FinishRename(ctx, kind, result, message);
}

ViewUpdate RenamePlayerNamesCommand(ShellContext& ctx, const std::string& folder) {
  if (!ListsEnabled(ctx.State, DatabaseKind::kTarvel)) return {};
  RenameNamesRequest request;
  for (const std::string& name : LoadPlayerNames(folder)) request.Names.push_back(Utf8(name));
  if (!ctx.Ui.EditRenameNames(request)) return {};
  int changed = 0;
  std::string message;
  const int result = RunRoutine(ctx, kTarvelFormat.Caption, [&](const CommandHooks& hooks) {
    return RenamePlayerNames(kTarvelFormat, ctx.State.Tarvel.Paths, Cp932(request.Old),
                             Cp932(request.New), hooks, changed, message);
  });
  return FinishRename(ctx, DatabaseKind::kTarvel, result, message);
}

ViewUpdate YearbookCommand(ShellContext& ctx) {
  if (!DatabaseFileItemsEnabled(ctx.State)) return {};
  YearbookFiles files;
  if (!ctx.Ui.EditYearbookImport(files)) return {};
  int converted = 0;
  std::string message;
  if (RunRoutine(ctx, kYearbookTitle, [&](const CommandHooks& hooks) {
        return ImportYearbook(files, converted, hooks.Progress, message);
      }) != 0) {
    Warn(ctx, kYearbookTitle, message);
    return {};
  }
  // An import over the chosen Tarvel database replaced its games.
  DatabasePaths imported;
  std::string unused;
  if (DatabasePathsOf(files.Database, imported, unused) == 0)
    ForgetRewrittenDatabase(ctx.State, kTarvelFormat, imported);
  ShowInformation(ctx.Ui, kYearbookTitle, message);
  return {};
}

}  // namespace shogi
