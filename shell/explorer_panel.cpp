// The 局面統計 panel's rows, its double-clicks, and 局面インデックス作成.
#include "shell/explorer_panel.h"

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "database/game_database.h"
#include "database/game_list.h"
#include "database_files/name_lists.h"
#include "platform/cp932.h"
#include "platform/file_path.h"
#include "records/ki2_notation.h"
#include "rules/movegen.h"
#include "shell/command_row.h"
#include "shell/database_command_scope.h"
#include "shell/search_commands.h"

namespace shogi {
namespace {

// The loop's progress for a long pass: the box (once the pass has run for `delay`) with
// "done / total" and the window's messages; false once the person pressed キャンセル.
LoopProgress BoxProgress(ShellContext& ctx, const char* caption, const char* what,
                         std::chrono::milliseconds delay) {
  const auto started = std::chrono::steady_clock::now();
  return [&ctx, caption, what, started, delay](std::int64_t done, std::int64_t total) {
    if (std::chrono::steady_clock::now() - started < delay) return true;
    char text[128];
    std::snprintf(text, sizeof text, "%s %lld / %lld", what, static_cast<long long>(done),
                  static_cast<long long>(total));
    const bool go_on = ctx.Ui.ShowProgress(caption, text);
    ctx.View.PumpMessages();
    return go_on;
  };
}

std::string Share(int games, int of) {
  char text[32];
  std::snprintf(text, sizeof text, "%d (%d%%)", games, of > 0 ? (games * 100 + of / 2) / of : 0);
  return text;
}

}  // namespace

std::optional<DatabaseKind> ExplorerDatabase(const ProgramState& state) {
  if (SelectionOf(state, state.LastChosenDatabase).Chosen()) return state.LastChosenDatabase;
  for (DatabaseKind kind : {DatabaseKind::kKisen, DatabaseKind::kTarvel}) {
    if (SelectionOf(state, kind).Chosen()) return kind;
  }
  return std::nullopt;
}

bool ExplorerPanel::Asked::operator==(const Asked& other) const {
  return Kind == other.Kind && Base == other.Base && Stamp == other.Stamp && Ply == other.Ply &&
         Shown == other.Shown;
}

bool ExplorerPanel::Follow(ShellContext& ctx) {
  if (busy_) return false;
  ProgramState& state = ctx.State;
  const std::optional<DatabaseKind> kind = ExplorerDatabase(state);
  if (!kind) {
    asked_.reset();
    const bool changed = view_.Heading != kExplorerNoDatabase;
    view_ = ExplorerPanelView{};
    view_.Heading = kExplorerNoDatabase;
    return changed;
  }
  if (state.InteractionState != kStateIdle) {
    asked_.reset();
    if (view_.Heading == kExplorerNotIdle) return false;
    view_ = ExplorerPanelView{};
    view_.Heading = kExplorerNotIdle;
    return true;
  }
  const DatabaseFormat& format = FormatOf(*kind);
  const DatabasePaths& paths = SelectionOf(state, *kind).Paths;
  Asked asked{*kind, paths.Base, {}, state.Shown, state.Record.PlyCount};
  (void)StampOf(format, paths, asked.Stamp);
  if (asked_ && *asked_ == asked) return false;

  ExplorerQuery query;
  query.Target = state.Shown;
  query.ToMove = SideOfPly(state.Record.PlyCount);
  ExplorerAnswer answer;
  IndexUse use = IndexUse::kMissing;
  std::string message;
  busy_ = true;
  int status = 0;
  {
    DatabaseCommandScope scope(state);
    status = ExplorePosition(format, paths, query,
                             BoxProgress(ctx, kExplorerCaption, "局面統計", progress_delay_),
                             answer, use, message);
    ctx.Ui.EndProgress();
  }
  busy_ = false;
  if (*IndexUseNote(use) != '\0') ctx.View.SetStatusText(IndexUseNote(use));
  if (status != 0) {
    // A stopped or failed pass is asked again at the next change of the position.
    asked_.reset();
    view_ = ExplorerPanelView{};
    view_.Heading = message;
    return true;
  }
  asked_ = asked;
  Show(state, *kind, answer);
  return true;
}

void ExplorerPanel::Show(const ProgramState& state, DatabaseKind kind,
                         const ExplorerAnswer& answer) {
  const DatabaseFormat& format = FormatOf(kind);
  view_ = ExplorerPanelView{};
  char heading[256];
  const std::string file =
      PathText(FilePath(SelectionOf(state, kind).Paths.Index(format)).filename());
  std::snprintf(heading, sizeof heading, "%s %s: %d局", format.Caption, file.c_str(), answer.Games);
  view_.Heading = heading;
  const int ply = state.Record.PlyCount;
  const Side side = SideOfPly(ply);
  const int previous = ply > state.Record.StartIndex && ply - 1 < kMaxMoves
                           ? DestinationOf(state.Record.MoveList[ply - 1])
                           : 0;
  const std::string mark = Cp932(side == kFirst ? "▲" : "△");
  for (const ExplorerMove& m : answer.Moves) {
    ExplorerMoveRow row;
    row.Move = m.Move;
    row.Text = TrimRight(Utf8(FormatKi2Move(m.Move, state.Shown, side, previous, mark)));
    row.Games = std::to_string(m.Games);
    row.FirstWins = Share(m.Shares[static_cast<int>(ResultShare::kFirstWins)], m.Games);
    row.SecondWins = Share(m.Shares[static_cast<int>(ResultShare::kSecondWins)], m.Games);
    row.Other = Share(m.Shares[static_cast<int>(ResultShare::kOther)], m.Games);
    view_.Moves.push_back(std::move(row));
  }
  // The players from the index records, through the name lists.
  DatabaseNames names;
  LoadDatabaseNames(format, folder_, names);
  GameDatabase db;
  std::string message;
  const bool open = db.Open(format, SelectionOf(state, kind).Paths, RecordFile::Mode::kRead,
                            message, TruncatedDatabase::kReadWhole) == 0;
  for (const ExplorerGame& g : answer.Newest) {
    ExplorerGameRow row;
    row.Number = g.Number;
    row.Ply = g.Ply;
    row.NumberText = std::to_string(g.Number);
    char date[32];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", g.Year, g.Month, g.Day);
    row.Date = date;
    std::uint8_t record[kMaxIndexRecordBytes];
    if (open && db.ReadIndex(g.Number, record)) {
      const IndexFields fields = format.ReadIndex(record, names);
      row.FirstPlayer = TrimRight(Utf8(fields.FirstPlayer));
      row.SecondPlayer = TrimRight(Utf8(fields.SecondPlayer));
      row.Result = StoredResultText(
          g.Result, HandicapOfStoredCode(format.Scheme, fields.HandicapCode) != Handicap::kEven);
    }
    row.PlyText = std::to_string(g.Ply) + "手目";
    view_.Games.push_back(std::move(row));
  }
}

ViewUpdate ExplorerPanel::PlayMove(ShellContext& ctx, int row) {
  ProgramState& state = ctx.State;
  if (row < 0 || row >= static_cast<int>(view_.Moves.size()) ||
      state.InteractionState != kStateIdle)
    return {};
  GameRecord& r = state.Record;
  const MoveCode move = view_.Moves[row].Move;
  if (r.PlyCount + 1 >= kMaxMoves || !IsLegalMove(r, state.Shown, move)) return {};
  if (!(MoveFollows(r) && r.MoveList[r.PlyCount] == move)) {
    // Another line from here on: the moves after the position and the result go.
    r.MoveList[r.PlyCount] = move;
    r.MoveTimes[r.PlyCount] = 0;
    CutRecordAt(r, r.PlyCount + 1);
    r.ResultCode = kResultNone;
  }
  ++r.PlyCount;
  RebuildShown(state);
  ClearMessage(state.Message);
  ViewUpdate update;
  update.Redraw(kViewEverything);
  return update;
}

ViewUpdate ExplorerPanel::LoadGame(ShellContext& ctx, int row) {
  ProgramState& state = ctx.State;
  const std::optional<DatabaseKind> kind = ExplorerDatabase(state);
  if (row < 0 || row >= static_cast<int>(view_.Games.size()) || !kind ||
      state.InteractionState != kStateIdle)
    return {};
  const ExplorerGameRow& game = view_.Games[row];
  auto record = std::make_unique<GameRecord>();
  std::string status, message;
  const DatabaseFormat& format = FormatOf(*kind);
  const int ply = game.Ply;
  if (LoadGameShownAt(
          format, folder_, game.Number, [ply](const GameRecord&) { return ply; },
          SelectionOf(state, *kind), *record, status, message) != game.Number) {
    ctx.Ui.ShowMessage(format.Caption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return {};
  }
  return TakeLoadedGame(ctx, *record, status);
}

bool ExplorerShown(const ProgramState& state, int) {
  return state.ExplorerShown;
}

ViewUpdate ToggleExplorer(ShellContext& ctx) {
  ctx.State.ExplorerShown = !ctx.State.ExplorerShown;
  ViewUpdate update;
  update.Redraw(kViewFullRefresh);
  return update;
}

bool IndexBuildEnabled(const ProgramState& state, int kind) {
  return state.InteractionState == kStateIdle &&
         SelectionOf(state, static_cast<DatabaseKind>(kind)).Chosen();
}

ViewUpdate BuildIndexCommand(ShellContext& ctx, DatabaseKind kind) {
  ProgramState& state = ctx.State;
  if (state.InteractionState != kStateIdle || !SelectionOf(state, kind).Chosen()) return {};
  const DatabaseFormat& format = FormatOf(kind);
  const auto started = std::chrono::steady_clock::now();
  IndexBuildReport report;
  std::string message;
  int status = 0;
  {
    DatabaseCommandScope scope(state, ctx.View, "局面インデックスを作成中です。");
    status = BuildPositionIndex(
        format, SelectionOf(state, kind).Paths, kDefaultExplorerPlies,
        BoxProgress(ctx, format.Caption, "局面インデックス", kProgressDelay), report, message);
    ctx.Ui.EndProgress();
  }
  if (status != 0) {
    ctx.Ui.ShowMessage(format.Caption, message, MessageButtons::kOk, MessageIcon::kWarning);
    return {};
  }
  const std::chrono::duration<double> seconds = std::chrono::steady_clock::now() - started;
  char text[160];
  std::snprintf(text, sizeof text, "局面インデックスを作成しました（%d局、%lld局面、%.1f秒）。",
                report.Games, static_cast<long long>(report.Positions), seconds.count());
  ctx.View.SetStatusText(text);
  return {};
}

void AddExplorerRows(std::vector<CommandRow>& rows) {
  rows.push_back({kCmdShowExplorer, "局面統計",
                  "表示中の局面のデータベースでの指し手と勝敗を盤の横に表示する。\n局面統計",
                  [](CommandEnv& e, int) { return ToggleExplorer(e.Ctx); }, 0, AnyState,
                  ExplorerShown});
}

}  // namespace shogi
