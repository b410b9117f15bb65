// 局面統計: the panel beside the board that follows the shown position through the chosen
// database (the one chosen last of 棋泉 and Tarvel): how many games reach it, each move
// played from it with its games and results, and the newest of those games. A double-click
// on a move plays it on the board, on a game loads that game at the position. The menus'
// 局面インデックス作成 builds the position index that answers it at once. The answers are
// database/position_index.h's; the window only shows the rows built here.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

#include "database/position_index.h"
#include "database/position_index_file.h"
#include "shell/shell_context.h"

namespace shogi {

inline constexpr const char kExplorerCaption[] = "局面統計";
inline constexpr const char kExplorerNoDatabase[] =
    "棋泉またはTarvelのファイル名を設定すると、表示中の局面の統計を表示します。";
// A pass shows the progress box once it has run this long.
inline constexpr std::chrono::milliseconds kProgressDelay{300};

inline constexpr const char kExplorerNotIdle[] =
    "対局・盤面設定・連続再現・処理の間は表示しません。";

// The database the panel reads: the one of 棋泉 and Tarvel chosen last, else none.
std::optional<DatabaseKind> ExplorerDatabase(const ProgramState& state);

// One line of the move table (UTF-8): "▲７六歩", the games and the three shares with their
// percentages ("12 (40%)").
struct ExplorerMoveRow {
  MoveCode Move;
  std::string Text, Games, FirstWins, SecondWins, Other;
};
// One line of the game table (UTF-8).
struct ExplorerGameRow {
  int Number = 0, Ply = 0;
  std::string NumberText, Date, FirstPlayer, SecondPlayer, Result, PlyText;
};
struct ExplorerPanelView {
  std::string Heading;  // the database and the count, or why there is no answer
  std::vector<ExplorerMoveRow> Moves;
  std::vector<ExplorerGameRow> Games;
};

class ExplorerPanel {
 public:
  // `folder`: the program folder with the name lists; a pass shows the progress box once
  // it has run for `progress_delay`.
  explicit ExplorerPanel(std::string folder,
                         std::chrono::milliseconds progress_delay = kProgressDelay)
      : folder_(std::move(folder)), progress_delay_(progress_delay) {}

  // Brings the panel to the shown position while the record is browsed (state idle; in any
  // other state it is emptied with kExplorerNotIdle); true when its view changed. A pass over the
  // database shows its progress in the progress box (its キャンセル stops the pass and the panel
  // says so) with the other database commands held meanwhile; a stale or damaged index is said in
  // the status bar.
  bool Follow(ShellContext& ctx);
  // The next Follow asks again, also for the same position.
  void Forget() { asked_.reset(); }
  const ExplorerPanelView& View() const { return view_; }

  // A double-click on move row `row`: the move played on the board after the shown position
  // (the record's own next move is stepped to; another one replaces the moves after the
  // position and the result).
  ViewUpdate PlayMove(ShellContext& ctx, int row);
  // A double-click on game row `row`: the game loaded from the database at its ply, as a
  // game of the list is.
  ViewUpdate LoadGame(ShellContext& ctx, int row);

 private:
  // What an answer was asked for: the database as it was, the position and the side.
  struct Asked {
    DatabaseKind Kind;
    std::string Base;
    DatabaseStamp Stamp;
    Position Shown;
    int Ply;
    bool operator==(const Asked& other) const;
  };
  void Show(const ProgramState& state, DatabaseKind kind, const ExplorerAnswer& answer);

  std::string folder_;
  std::chrono::milliseconds progress_delay_;
  std::optional<Asked> asked_;
  ExplorerPanelView view_;
  bool busy_ = false;
};

// 表示 局面統計: the panel shown or hidden (off at each start), and its check mark.
ViewUpdate ToggleExplorer(ShellContext& ctx);
bool ExplorerShown(const ProgramState& state, int);

// 局面インデックス作成 of the 棋泉 and Tarvel menus (with a chosen database, state idle): the
// position index of the database built with the progress box (キャンセル stops it, the old
// index stays); the outcome in the status bar, a failure in a box captioned with the
// database's name.
ViewUpdate BuildIndexCommand(ShellContext& ctx, DatabaseKind kind);
// Its enabling rule, for the row whose argument is the DatabaseKind: idle, the database chosen.
bool IndexBuildEnabled(const ProgramState& state, int kind);

struct CommandRow;
// The row of 局面統計, for the command table (局面インデックス作成 is a database menus' item).
void AddExplorerRows(std::vector<CommandRow>& rows);

}  // namespace shogi
