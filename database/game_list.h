// The list of a database's games (menu 一覧表): the games of the search list twenty lines
// at a time, with two columns the user picks, the scroll bar's rules, the reverse order,
// and loading a listed game at the searched position.
//
// The window's list dialogs (CKisen, CTarvel) only show what a GameList gives:
//   opening      GameList::Open; on 1 a message box (the format's caption) and no dialog.
//                Then the header (HeaderLine) and the page (Page) into the list box, the
//                scroll bar's range 0..ScrollMax() and its thumb at Top().
//   scroll bar   Scroll(action, thumb); when it returns true the page is built again and
//                the thumb set to Top().
//   情報１/情報２   AdvanceListColumn(settings, 0 / 1), then the header and the page again.
//   double-click LoadListedGame with the line's RecordNo; the dialog closes, the board
//                shows the record, the status bar `status`.
//   キャンセル     Close(selection); a message that is not empty goes to a message box.
// 逆順表示 toggles ListSettings::Reverse of the database; the next page follows it.
#pragma once

#include <string>
#include <vector>

#include "database/game_database.h"
#include "database_files/database_format.h"
#include "database_files/position_pattern.h"
#include "rules/game_record.h"

namespace shogi {

struct CommandHooks;  // database/database_rewrite.h

// The column types of the list, in the order 情報１ and 情報２ step through them.
enum ListColumn : int {
  kColumnTournament = 0,  // 棋戦: the tournament name
  kColumnOpening = 1,     // 戦型: the opening name
  kColumnMove = 2,        // 指し手: the move played from the searched position
  kColumnGameNumber = 3,  // 局: the game number within the match
  kColumnResult = 4,      // 勝敗: the result, in the handicap wording for a handicap game
  kColumnMoveCount = 5,   // 手数: the number of moves
  kColumnHandicap = 6,    // 手合い: the start position's name
  kColumnNextMove = 7,    // 指し手２: the move after the one of 指し手
};
constexpr int kListColumnCount = 8;

// The header text of a column type (UTF-8); "" outside 0..7.
const char* ListColumnHeader(int column);

// What the lists keep for the program run: the two column choices, shared by the Kisen and
// the Tarvel list, and the 逆順表示 flag of each database (by DatabaseKind).
struct ListSettings {
  int Columns[2] = {kColumnTournament, kColumnOpening};
  bool Reverse[2] = {kKisenFormat.ReverseListAtStart, kTarvelFormat.ReverseListAtStart};

  bool& ReverseOf(const DatabaseFormat& format) { return Reverse[static_cast<int>(format.Kind)]; }
  bool ReverseOf(const DatabaseFormat& format) const {
    return Reverse[static_cast<int>(format.Kind)];
  }
};

// 情報１ (`which` 0) or 情報２ (1): the next column type, 7 wrapping to 0.
void AdvanceListColumn(ListSettings& settings, int which);

constexpr int kListPageLines = 20;

inline constexpr const char kMessageNoDataLeft[] = "表示対象データがなくなりました。";

// The ply a game is shown at when it is loaded from the list: the first ply before whose
// move it reaches the searched position, or its start when it never does or there is no
// position search (`searched` not active).
int ShownPly(const GameRecord& game, const PositionPattern& searched);

// The list dialog's model of one database.
class GameList {
 public:
  // Opens the list of the database `selection` has chosen, with the lists of `folder` (the
  // program folder). The entries are those of the search list file, up to SearchCount of
  // them; when SearchCount is 0 (no list built since the last change) or the file holds
  // none, the list of every game 1..N (of a damaged database, its whole games) is written
  // first and SearchCount becomes N. The list starts at its top. The entries stay in the
  // file: a page reads its own. 0; or 1 with "表示対象データがありません。" (no games), a
  // message of the database files, or "ファイルが作成できません。" (the search list cannot
  // be written).
  [[nodiscard]] int Open(const DatabaseFormat& format, const std::string& folder,
                         DatabaseSelection& selection, std::string& message);

  // The search list file the entries are read from, in its order (新規作成 writes the games
  // in this order).
  const std::string& ListPath() const { return list_path_; }

  // The number of entries, and `ListTop`: the entry the page starts from.
  int Count() const { return count_; }
  int Top() const { return top_; }
  // The scroll bar's range is 0..ScrollMax(), its thumb at Top().
  int ScrollMax() const;

  enum class ScrollAction { kArrowUp, kArrowDown, kThumbReleased, kOther };
  // Arrow up: 20 entries back, not below 0. Arrow down: 20 entries on, or to the last page
  // (Count() - 20, not below 0) when fewer than 40 entries remain from the top. Thumb
  // released: the top becomes `thumb` (kept inside the range). Other actions do nothing.
  // Returns whether the top changed, that is whether the page is to be built again.
  bool Scroll(ScrollAction action, int thumb = 0);

  // " 番号     先手         後手       対局日  %-8s 　　　　%s" with the headers of the two
  // chosen columns (cp932).
  std::string HeaderLine(const ListSettings& settings) const;

  // A line of the page and the game it names.
  struct Line {
    int RecordNo = 0;
    std::string Text;  // "%6d %-12s %-12s %02d/%2d/%2d %-16s %s", cp932
  };
  // The page: up to 20 entries from the top, or with 逆順表示 counted back from the last
  // entry, skipping Top() of them. Each line holds the game number, both players, the date
  // (year modulo 100) and the cells of the two chosen columns; the move columns are taken
  // at `searched`'s ply (ShownPly). An entry that names no game of the database gives no
  // line. 0 with `lines`; or 1 with a message of the database files ("ファイルに異常が
  // あります。" also for a search list that cannot be read).
  [[nodiscard]] int Page(const ListSettings& settings, const PositionPattern& searched,
                         std::vector<Line>& lines, std::string& message) const;

  // 削除 of game `number` (a listed game): DeleteGame (asking through `hooks`), then its
  // entry leaves the list, every larger number becomes one less, the top follows
  // RenumberListAfterDeletion, the list file is written anew and SearchCount becomes the new
  // length. 0; or 1 with DeleteGame's message and the list as it was; or 1 with
  // "ファイルが作成できません。" when only the list file could not be written (the game is
  // gone; the list is then empty and SearchCount 0, so the next list shows the whole
  // database).
  [[nodiscard]] int DeleteListed(int number, const CommandHooks& hooks,
                                 DatabaseSelection& selection, std::string& message);

  // キャンセル: when SearchCount changed while the list was open, CurrentRecordNo becomes 0;
  // when it dropped to 0, the answer is "表示対象データがなくなりました。" (UTF-8), else "".
  std::string Close(DatabaseSelection& selection) const;

 private:
  const DatabaseFormat* format_ = &kKisenFormat;
  DatabasePaths paths_;
  DatabaseNames names_;
  std::string list_path_;
  int count_ = 0;
  int top_ = 0;
  int count_at_open_ = 0;
};

// Loads game `number` of the chosen database as a double-click on its line does: the game
// shown at ShownPly, `number` the current game, and `status` the game's result message
// (ResultText) when that ply is its end, else "". Returns `number`; or 0 with a message
// (ReadGame's) and the record and selection untouched.
[[nodiscard]] int LoadListedGame(const DatabaseFormat& format, const std::string& folder,
                                 int number, const PositionPattern& searched,
                                 DatabaseSelection& selection, GameRecord& record,
                                 std::string& status, std::string& message);
// The same with the game shown at the ply `shown` gives.
[[nodiscard]] int LoadGameShownAt(const DatabaseFormat& format, const std::string& folder,
                                  int number, const ShownPlyHook& shown,
                                  DatabaseSelection& selection, GameRecord& record,
                                  std::string& status, std::string& message);

// The list's 勝敗 text of a stored result code (UTF-8; "" for a code outside 0..8), the
// handicap game's wording when `handicap`.
const char* StoredResultText(int result, bool handicap);

}  // namespace shogi
