// What the shell's command handlers ask of the person: the platform's boxes and file
// dialogs and the shell's own dialogs, each filling a plain struct. A new dialog is its
// class in shell/gui/, one virtual here and its implementation in WindowDialogs. What they
// ask of the view is shell/view_hooks.h.
#pragma once

#include <string>
#include <vector>

#include "analysis/book_builder.h"
#include "database/search_conditions.h"
#include "database/yearbook.h"
#include "output/print_layout.h"
#include "platform/progress.h"
#include "platform/user_interface.h"
#include "players/engine_list.h"
#include "shell/game_conditions.h"
#include "shell/record_list.h"
#include "shell/settings.h"
#include "shell/time_editor.h"
#include "shell/view_hooks.h"
#include "shell/view_update.h"

namespace shogi {

class GameListSession;       // shell/search_commands.h
class ProblemBitmapSession;  // shell/output_commands.h
struct ProgramState;         // shell/program_state.h

// The print framework's three commands: "印刷開始", "印刷プレビュー", "プリンタの設定".
enum class PrintAction { kPrint, kPreview, kSetup };

// The "詰将棋３" dialog's data: "開始手数：" (the text of the field), the check boxes "ﾏﾙﾁﾀｽｸ"
// (message pumping during the search) and "ﾒﾓﾘﾁｪｯｸ" (the memory question).
struct MateStartSettings {
  std::string StartDepth = "1";
  bool Multitask = false;
  bool MemoryCheck = false;
};

// The "詰将棋（df-pn）" dialog's data: "時間制限（秒）：" and "置換表（MB）：", as typed.
struct DfpnSettings {
  std::string Seconds;
  std::string TableMegabytes;
};

// The answer of the "実戦詰将棋" dialog: "キャンセル", "先手番", "後手番".
enum class MateAttackerChoice { kCancel, kFirstPlayer, kSecondPlayer };

// A row of the "Bonanza 最善手 検索" dialog: a move in notation ("▲７六歩") and its score.
struct BestMoveRow {
  std::string Move;
  int Score = 0;
};

// One row of the "Bonanza Book 検索" dialog: a book move in notation and its share (UTF-8).
struct BookMoveRow {
  std::string Move;
  std::string Share;
};

// The answer of the "日付ソート" dialog: "日付順", "日付逆順" or "キャンセル".
enum class SortOrderChoice { kCancel, kAscending, kDescending };

// The "順番入れ換え" dialog: the two numbers as typed ("番と" … "番を入れ換える。") and the
// database's count the OK checks them against; on OK the two accepted numbers.
struct SwapRequest {
  int Count = 0;
  std::string FirstText, SecondText;
  int First = 0, Second = 0;
};

// The number dialogs of the bulk changes (棋士番号一括変更, 棋戦番号一括変更, 戦型番号一括変更):
// the title, the highest number, the caption of the box for equal numbers, the fields
// 変更前番号 and 変更後番号 as typed; on OK the two accepted numbers.
struct RenameNumbersRequest {
  std::string Title;
  int Highest = 0;
  std::string Caption;
  std::string OldText, NewText;
  int Old = 0, New = 0;
};

// The "棋士名一括変更" dialog: the names its two combo boxes offer and the two chosen or typed
// (変更前氏名, 変更後氏名), UTF-8.
struct RenameNamesRequest {
  std::vector<std::string> Names;
  std::string Old, New;
};

// The file dialog with the format list, CSpecialFileDialog: the platform's open or save
// dialog with the combo "棋譜のソフト名" and, when saving, the check box "消費時間の格納".
// On OK `Path`, `FormatIndex` and `StoreTimes` hold the person's choice.
struct RecordFileRequest {
  bool Save = false;
  std::string Title;
  std::vector<FileFilter> Filters;
  std::string InitialPath;
  std::vector<std::string> Formats;  // the combo's entries (UTF-8)
  int FormatIndex = 0;
  bool FormatChosen = false;  // the person picked an entry (else the file's name may decide)
  bool StoreTimes = true;
  std::string Path;
};

// The answer to saving over an existing Kaya file: "上書き", "追加登録", "修正登録",
// "キャンセル".
enum class KayaSaveChoice { kCancel, kOverwrite, kAppend, kReplace };

// The shell's dialogs and the desktop's text editor. The dialogs' checks live in UI-free code
// (conditions_dialog.h, mate_commands.h); a dialog only shows the controls and hands the
// texts over.
class ShellDialogs : public UserInterface {
 public:
  // The game-conditions dialog; false on "キャンセル".
  [[nodiscard]] virtual bool EditGameConditions(GameConditions& conditions) = 0;
  // The replay-speed dialog "再現スピード" (100..20 000 ms); false on cancel.
  [[nodiscard]] virtual bool EditReplaySpeed(int& interval_ms) = 0;
  // The "詰将棋３" dialog; true on "開始", false on "中止". On "開始" the dialog checks the
  // start depth with ParseMateStartDepth (shell/mate_commands.h) and stays open on an error.
  // Without an implementation the dialog counts as cancelled.
  [[nodiscard]] virtual bool EditMateStart(MateStartSettings&) { return false; }
  // The "詰将棋（df-pn）" dialog; true on "開始", false on "中止". On "開始" the dialog checks
  // its fields with CheckDfpnSettings (shell/dfpn_command.h) and stays open on an error.
  // Without an implementation the dialog counts as cancelled.
  [[nodiscard]] virtual bool EditDfpnSettings(DfpnSettings&) { return false; }
  // The "実戦詰将棋" dialog: which side attacks.
  [[nodiscard]] virtual MateAttackerChoice ChooseMateAttacker() {
    return MateAttackerChoice::kCancel;
  }
  // The "駒の価値" dialog over the values of kValuedPieceTypes; true on OK with `values`
  // changed. The dialog checks its fields with ParsePieceValueFields
  // (shell/evaluation_commands.h) and stays open on an error. Without an implementation the
  // dialog counts as cancelled.
  [[nodiscard]] virtual bool EditPieceValues(PieceValueTable&) { return false; }
  // The "Bonanza 最善手 検索" dialog with the ranking, best first; returns when it is closed.
  virtual void ShowBestMoves(const std::vector<BestMoveRow>&) {}
  // The "Bonanza Book 検索" dialog with up to 32 rows; returns when it is closed.
  virtual void ShowBookMoves(const std::vector<BookMoveRow>&) {}
  // The builder dialog "Tarvel->Bonanza book"; true on "Tarvel->Book" (its checks passed, see
  // shell/book_commands.h), false on "キャンセル". Without an implementation it counts as
  // cancelled.
  [[nodiscard]] virtual bool EditBookBuild(BookBuildOptions&) { return false; }
  // The whole-database dialogs (shell/maintenance_commands.h checks their fields). Without an
  // implementation each counts as cancelled.
  // "日付ソート": the sort's direction.
  [[nodiscard]] virtual SortOrderChoice ChooseSortOrder() { return SortOrderChoice::kCancel; }
  // "順番入れ換え"; OK checks with CheckSwapFields and stays open on an error.
  [[nodiscard]] virtual bool EditSwapNumbers(SwapRequest&) { return false; }
  // The bulk changes' number dialogs; OK checks with CheckRenameRequest and stays open on an
  // error.
  [[nodiscard]] virtual bool EditRenameNumbers(RenameNumbersRequest&) { return false; }
  // "棋士名一括変更".
  [[nodiscard]] virtual bool EditRenameNames(RenameNamesRequest&) { return false; }
  // "将棋年鑑": the three input files and the Tarvel file; OK does nothing until
  // YearbookNamesComplete holds.
  [[nodiscard]] virtual bool EditYearbookImport(YearbookFiles&) { return false; }
  // The search dialog CKensaku over the kept `conditions`, its combos filled from `choices`.
  // On OK it checks the dates with CheckSearchDates: a refused field shows the message box
  // with its caption, gets the focus with its text selected, and the dialog stays open;
  // accepted, the fields go into `conditions` and the checked dates into `dates`. False on
  // キャンセル. Without an implementation the dialog counts as cancelled.
  [[nodiscard]] virtual bool EditSearchConditions(SearchConditions&, SearchDates&,
                                                  const SearchChoices&) {
    return false;
  }
  // The list dialog CKisen / CTarvel over an open `session`; it hands the person's actions to
  // the session and returns once it is closed (キャンセル and the close box call Cancel).
  // Without an implementation the list closes at once.
  virtual void ShowGameList(GameListSession& session);
  // The engine list dialog "エンジン登録" (add by path, options, remove); true on OK with
  // `list` changed. Without an implementation it counts as cancelled.
  [[nodiscard]] virtual bool EditEngineList(EngineList&) { return false; }
  // The diagram print's dialog CInsatsu over the kept settings; true on "はい" with them
  // changed. Without an implementation the dialog counts as cancelled.
  [[nodiscard]] virtual bool EditDiagramPrint(PrintSettings&) { return false; }
  // The print framework: prints or previews the pages of `state`'s print kind (its record,
  // shown position and print settings), or shows the printer set-up. Without an
  // implementation nothing is printed.
  virtual void RunPrint(PrintAction, const ProgramState&) {}
  // The dialog "詰将棋--->BMP" over an open `session`; returns once it is closed. Without an
  // implementation it closes at once.
  virtual void ShowProblemBitmap(ProblemBitmapSession&) {}
  // The record file commands' dialogs (shell/record_commands.h). Without an implementation
  // each counts as cancelled.
  // CSpecialFileDialog; false on キャンセル.
  [[nodiscard]] virtual bool ChooseRecordFile(RecordFileRequest&) { return false; }
  // "ファイルがすでに存在します。\n処理を選択してください。" with its four buttons.
  [[nodiscard]] virtual KayaSaveChoice AskKayaSave() { return KayaSaveChoice::kCancel; }
  // The list of a file's games; true with `list.Chosen()` set when a game was chosen.
  [[nodiscard]] virtual bool ChooseListedRecord(RecordListModel&) { return false; }
  // CUrlDlg "URLから棋譜ファイルを読み込む。" over the last URL; true on "読み込み".
  [[nodiscard]] virtual bool InputUrl(std::string&) { return false; }
  // A box that stays over the window while a command waits (a download): the first call
  // opens it with `caption`, `text` says how far the wait has come, and the rest of the
  // window takes no input until EndProgress. False once the person has pressed its
  // キャンセル or closed it. Without an implementation nothing shows and nothing stops.
  [[nodiscard]] virtual bool ShowProgress(const std::string& /*caption*/,
                                          const std::string& /*text*/) {
    return true;
  }
  // Closes the box of ShowProgress, if one is open.
  virtual void EndProgress() {}
  // CShohi "消費時間設定　　" over `editor`; true on ＯＫ, the fields of the shown page taken.
  [[nodiscard]] virtual bool EditTimes(TimeEditor&) { return false; }
  // Opens the text file at `path` in the desktop's text editor, which the person then works
  // in on their own; false when no editor could be started.
  [[nodiscard]] virtual bool OpenInTextEditor(const std::string& path) = 0;
};

// A stand-in for both the person and the view, where nobody is there (matches, tests).
class ShellUserInterface : public ShellDialogs, public ViewHooks {};

// What a command hands a long loop: the window's messages are taken at every report, and
// the loop stops once the word at `stop` (AbortFlag; none: never) is not 0.
inline LoopProgress WindowProgress(ViewHooks& view, const int* stop = nullptr) {
  return [&view, stop](std::int64_t, std::int64_t) {
    view.PumpMessages();
    return stop == nullptr || *stop == 0;
  };
}

}  // namespace shogi
