// The search and list items of the menus 棋泉 and Tarvel: 検索条件 (the search dialog
// CKensaku, then the search), 一覧表 (the list dialog CKisen / CTarvel, also opened after a
// database is chosen and after a search that found games) and 逆順表示 (the list's order).
// The rules are the database's (database/search_conditions.h, game_search.h, game_list.h);
// the dialogs only show what a GameListSession gives and hand the person's actions to it.
#pragma once

#include <string>
#include <vector>

#include "database/game_list.h"
#include "shell/shell_context.h"

namespace shogi {

// 検索条件 and 一覧表 need a chosen database and no other database command; a listed game
// replaces the record, so not while a position is being set up (RegistrationEnabled).
// 逆順表示 only changes the next list (ListsEnabled); its check mark:
bool ReverseListChecked(const ProgramState& state, int kind);

// The search dialog's OK: the dates of `typed` checked with CheckSearchDates. False after the
// refusal's message box, with `focus` the field that gets the focus and its text selected
// (the dialog stays open); true with `dates`.
[[nodiscard]] bool AcceptSearchConditions(UserInterface& ui, const SearchConditions& typed,
                                          SearchDates& dates, SearchField& focus);

// The list dialog while it is open: the page of the database's list as lines of text
// (UTF-8), the scroll bar, the buttons and the double-click. Everything it does follows
// GameList; messages go to boxes captioned with the database's name.
class GameListSession {
 public:
  GameListSession(ShellContext& ctx, const std::string& folder, DatabaseKind kind);

  // Opens the list; false after the message (no games, a file that cannot be read).
  [[nodiscard]] bool Open();

  DatabaseKind Kind() const { return kind_; }
  const char* Title() const;
  std::string Header() const;                                       // UTF-8
  const std::vector<std::string>& Lines() const { return lines_; }  // UTF-8
  int Top() const { return list_.Top(); }
  int ScrollMax() const { return list_.ScrollMax(); }

  // The scroll bar: true when the page was built again (the thumb then goes to Top()).
  bool Scroll(GameList::ScrollAction action, int thumb = 0);
  // 情報１ (`which` 0) and 情報２ (1).
  void AdvanceColumn(int which);
  // A double-click on page line `line`: the game loaded at the searched ply. True when the
  // dialog is to close (a game was loaded).
  bool Choose(int line);
  // 削除 with page line `line` selected (-1: none). True when the dialog is to close: the
  // list became empty (the close rule then ran).
  bool Delete(int line);
  // 新規作成: the listed games, in the list file's order, into a new database.
  void WriteListed();
  // キャンセル (or the close box): the close rule of the list.
  void Cancel();

  // What the board view must redraw once the dialog has closed.
  const ViewUpdate& Update() const { return update_; }

 private:
  void BuildPage();
  void Warn(const std::string& text);
  int RecordOfLine(int line) const;

  ShellContext& ctx_;
  std::string folder_;
  DatabaseKind kind_;
  PositionPattern searched_;
  GameList list_;
  std::vector<GameList::Line> page_;
  std::vector<std::string> lines_;
  ViewUpdate update_;
};

// A game loaded from a database (`status` its result message or "") replaces the record as
// a read record file does, shown at its PlyCount; what the view must redraw.
ViewUpdate TakeLoadedGame(ShellContext& ctx, const GameRecord& record, const std::string& status);

// 一覧表, and the list after choosing a database, after a search, after a sort or a
// duplicate check: opens the list dialog of the database `kind` (with the name lists of
// `folder`, the program folder) and returns when it is closed.
ViewUpdate OpenGameList(ShellContext& ctx, const std::string& folder, DatabaseKind kind);

// 検索条件: the search dialog over the kept conditions; on OK the board's position becomes
// the search position and the database is searched ("    検索中" in the status bar and
// InteractionState 4 meanwhile); the outcome in a box captioned "検索"; games found open the
// list.
ViewUpdate SearchDatabase(ShellContext& ctx, const std::string& folder, DatabaseKind kind);

// 逆順表示: the list of database `kind` in the other order from now on.
ViewUpdate ToggleReverseList(ShellContext& ctx, DatabaseKind kind);

}  // namespace shogi
