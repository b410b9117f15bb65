// The search and list items of the database menus, and the list dialog's session.
#include "shell/search_commands.h"

#include "database/game_extract.h"
#include "database/game_search.h"
#include "database/maintenance.h"
#include "platform/cp932.h"
#include "shell/database_command_scope.h"
#include "shell/database_menu.h"
#include "shell/file_dialogs.h"
#include "shell/record_notes.h"

namespace shogi {
namespace {

CommandHooks AskingHooks(ShellContext& ctx, const char* caption) {
  CommandHooks hooks;
  hooks.Progress = WindowProgress(ctx.View);
  hooks.Ask = [&ctx, caption](const std::string& question) {
    return AskYesNo(ctx.Ui, caption, question);
  };
  return hooks;
}

}  // namespace

bool ReverseListChecked(const ProgramState& state, int kind) {
  return state.Lists.ReverseOf(FormatOf(static_cast<DatabaseKind>(kind)));
}

bool AcceptSearchConditions(UserInterface& ui, const SearchConditions& typed, SearchDates& dates,
                            SearchField& focus) {
  SearchCheckFailure failure;
  if (CheckSearchDates(typed, dates, failure) == 0) return true;
  ui.ShowMessage(failure.Caption, failure.Message, MessageButtons::kOk, MessageIcon::kWarning);
  focus = failure.Field;
  return false;
}

GameListSession::GameListSession(ShellContext& ctx, const std::string& folder, DatabaseKind kind)
    : ctx_(ctx),
      folder_(folder),
      kind_(kind),
      searched_(ctx.State.Search.Mode, ctx.State.Search.SearchPosition) {}

bool GameListSession::Open() {
  std::string message;
  if (list_.Open(FormatOf(kind_), folder_, SelectionOf(ctx_.State, kind_), message) != 0) {
    Warn(message);
    return false;
  }
  BuildPage();
  return true;
}

const char* GameListSession::Title() const {
  return MenuKindOf(kind_).ListTitle;
}

std::string GameListSession::Header() const {
  return Utf8(list_.HeaderLine(ctx_.State.Lists));
}

void GameListSession::BuildPage() {
  std::string message;
  page_.clear();
  lines_.clear();
  if (list_.Page(ctx_.State.Lists, searched_, page_, message) != 0) Warn(message);
  for (const GameList::Line& line : page_) lines_.push_back(Utf8(line.Text));
}

void GameListSession::Warn(const std::string& text) {
  ctx_.Ui.ShowMessage(FormatOf(kind_).Caption, text, MessageButtons::kOk, MessageIcon::kWarning);
}

int GameListSession::RecordOfLine(int line) const {
  if (line < 0 || line >= static_cast<int>(page_.size())) return 0;
  return page_[static_cast<std::size_t>(line)].RecordNo;
}

bool GameListSession::Scroll(GameList::ScrollAction action, int thumb) {
  if (!list_.Scroll(action, thumb)) return false;
  BuildPage();
  return true;
}

void GameListSession::AdvanceColumn(int which) {
  AdvanceListColumn(ctx_.State.Lists, which);
  BuildPage();
}

ViewUpdate TakeLoadedGame(ShellContext& ctx, const GameRecord& record, const std::string& status) {
  // The game replaces the record as a read record file does: no game, no replay and no
  // clock go on over it.
  ProgramState& s = ctx.State;
  s.Record = record;
  s.Record.Clocks[0] = s.Record.Clocks[1] = 0;
  ClearNotes(s);
  MarkRecordSaved(s);
  s.Clock.RunningSide = kNoRunningClock;
  RebuildShown(s);
  s.InteractionState = kStateIdle;
  ClearMessage(s.Message);
  ViewUpdate update;
  update.Redraw(kViewEverything | kViewFullRefresh);
  update.Stop(kTimerClock | kTimerReplayForward | kTimerReplayBack);
  ctx.View.SetStatusText(status);
  return update;
}

bool GameListSession::Choose(int line) {
  const int number = RecordOfLine(line);
  if (number < 1) return false;
  ProgramState& s = ctx_.State;
  GameRecord record = s.Record;
  std::string status, message;
  if (LoadListedGame(FormatOf(kind_), folder_, number, searched_, SelectionOf(s, kind_), record,
                     status, message) != number) {
    Warn(message);
    return false;
  }
  update_ = TakeLoadedGame(ctx_, record, status);
  return true;
}

bool GameListSession::Delete(int line) {
  const int number = RecordOfLine(line);
  if (number < 1) {
    Warn(kMessageNothingSelected);
    return false;
  }
  std::string message;
  DatabaseSelection& selection = SelectionOf(ctx_.State, kind_);
  const CommandHooks hooks = AskingHooks(ctx_, FormatOf(kind_).Caption);
  const int count_before = list_.Count();
  if (list_.DeleteListed(number, hooks, selection, message) != 0) {
    if (!message.empty()) Warn(message);
    if (list_.Count() == count_before) return false;  // nothing was deleted
  }
  if (list_.Count() == 0) {
    Cancel();
    return true;
  }
  BuildPage();
  return false;
}

void GameListSession::WriteListed() {
  const DatabaseFormat& format = FormatOf(kind_);
  const FileDialogText text = MenuKindOf(kind_).Dialog;
  FileDialogRequest request;
  request.Title = MenuKindOf(kind_).ExtractTitle;
  request.Filters = ParseFilterText(text.Filter);
  request.InitialPath = folder_;
  const FileDialogResult answer = ctx_.Ui.ChooseSaveFile(request);
  if (!answer.Chosen) return;
  const std::string chosen = WithDefaultExtension(answer.Path, text.DefaultExtension);
  std::string message;
  if (ExtractGames(format, SelectionOf(ctx_.State, kind_).Paths, list_.ListPath(), list_.Count(),
                   chosen, AskingHooks(ctx_, format.Caption), message) != 0 &&
      !message.empty()) {
    Warn(message);
  }
}

void GameListSession::Cancel() {
  const std::string message = list_.Close(SelectionOf(ctx_.State, kind_));
  if (!message.empty()) Warn(message);
}

ViewUpdate OpenGameList(ShellContext& ctx, const std::string& folder, DatabaseKind kind) {
  if (!ListsEnabled(ctx.State, kind)) return {};
  GameListSession session(ctx, folder, kind);
  if (!session.Open()) return {};
  ctx.Ui.ShowGameList(session);
  return session.Update();
}

ViewUpdate SearchDatabase(ShellContext& ctx, const std::string& folder, DatabaseKind kind) {
  ProgramState& s = ctx.State;
  if (!RegistrationEnabled(s, kind)) return {};
  const DatabaseFormat& format = FormatOf(kind);
  SearchConditions conditions = s.Search;
  SearchDates dates;
  if (!ctx.Ui.EditSearchConditions(conditions, dates, LoadSearchChoices(format, folder))) {
    return {};
  }
  conditions.SearchPosition = s.Shown;
  s.Search = conditions;
  s.SearchedDates = dates;
  int found = 0;
  std::string message;
  int failed = 0;
  {
    DatabaseCommandScope running(s, ctx.View, kSearchingStatus);
    failed = RunSearch(format, folder, s.Search, dates, SelectionOf(s, kind), s.Lists, found,
                       WindowProgress(ctx.View), message);
  }
  if (failed != 0) {
    ctx.Ui.ShowMessage(kSearchCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return {};
  }
  ShowInformation(ctx.Ui, kSearchCaption, SearchOutcomeMessage(found));
  if (found == 0) return {};
  return OpenGameList(ctx, folder, kind);
}

ViewUpdate ToggleReverseList(ShellContext& ctx, DatabaseKind kind) {
  if (!ListsEnabled(ctx.State, kind)) return {};
  bool& reverse = ctx.State.Lists.ReverseOf(FormatOf(kind));
  reverse = !reverse;
  return {};
}

}  // namespace shogi

namespace shogi {

void ShellDialogs::ShowGameList(GameListSession& session) {
  session.Cancel();
}

}  // namespace shogi
