// A UserInterface for tests: answers come from queues filled by the test, and everything
// shown is logged. A question without a queued answer fails the running test.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "players/engine_analysis.h"
#include "shell/shell_user_interface.h"

namespace shogi::test {

// Takes the next of the queued `answers` into `answer`; with none left the running test fails
// (a question `what` that was not expected) and `answer` keeps its value.
template <typename T>
bool TakeAnswer(std::deque<T>& answers, const std::string& what, T& answer) {
  if (answers.empty()) {
    ADD_FAILURE() << "unexpected " << what;
    return false;
  }
  answer = std::move(answers.front());
  answers.pop_front();
  return true;
}

// A dialog that edits a struct: each answer edits it and returns true for OK; the struct as
// the dialog received it is logged.
template <typename T>
struct DialogScript {
  std::deque<std::function<bool(T&)>> Answers;
  std::vector<T> Shown;

  bool Run(T& value, const std::string& what) {
    Shown.push_back(value);
    std::function<bool(T&)> answer;
    return TakeAnswer(Answers, what, answer) && answer(value);
  }
};

struct ShownMessage {
  std::string Caption;
  std::string Text;
  MessageButtons Buttons = MessageButtons::kOk;
  MessageIcon Icon = MessageIcon::kNone;
};

class ScriptedUserInterface : public ShellUserInterface {
 public:
  // An answer of the conditions dialog: edits the struct and returns true for "ＯＫ".
  using ConditionsAnswer = std::function<bool(GameConditions&)>;

  // --- answers, consumed front first ---
  // Boxes with only "OK" need no answer; every other box takes one.
  std::deque<MessageAnswer> MessageAnswers;
  std::deque<FileDialogResult> FileAnswers;  // open and save dialogs alike
  std::deque<int> ListAnswers;
  std::deque<std::optional<std::string>> TextAnswers;  // nullopt: cancelled
  std::deque<ConditionsAnswer> ConditionsAnswers;
  std::deque<std::optional<int>> SpeedAnswers;  // nullopt: cancelled
  // The "駒の価値" dialog: edits the values and returns true for "OK".
  std::deque<std::function<bool(PieceValueTable&)>> PieceValueAnswers;
  // The book builder dialog: edits the options and returns true for "Tarvel->Book".
  std::deque<std::function<bool(BookBuildOptions&)>> BookBuildAnswers;
  // The search dialog: each answer types into the fields and returns true for OK; a refused
  // OK keeps the dialog open for the next answer, as the window's dialog does.
  std::deque<std::function<bool(SearchConditions&)>> SearchAnswers;
  // The list dialog: each answer acts on the open list (a double-click, a button, キャンセル).
  // Without an answer the list is cancelled at once.
  std::deque<std::function<void(GameListSession&)>> GameListAnswers;
  bool EditorStarts = true;  // what OpenInTextEditor answers
  // The whole-database dialogs.
  std::deque<SortOrderChoice> SortAnswers;
  DialogScript<DfpnSettings> DfpnDialog;  // 詰将棋（df-pn）
  DialogScript<SwapRequest> SwapDialog;
  DialogScript<RenameNumbersRequest> RenameNumbersDialog;
  DialogScript<RenameNamesRequest> RenameNamesDialog;
  DialogScript<YearbookFiles> YearbookDialog;
  // The record file commands' dialogs: CSpecialFileDialog, the list of a file's games (an
  // answer scrolls and chooses), CUrlDlg, CShohi; the Kaya question's answers.
  DialogScript<RecordFileRequest> RecordFileDialog;
  DialogScript<RecordListModel> RecordListDialog;
  DialogScript<std::string> UrlDialog;
  // The progress box: every text it showed, an answer to each (false: キャンセル pressed;
  // none: it goes on) and how often it was closed.
  std::vector<std::string> ProgressTexts;
  std::function<bool(const std::string&)> ProgressAnswer;
  int ProgressEnds = 0;
  DialogScript<TimeEditor> TimeEditorDialog;
  std::deque<KayaSaveChoice> KayaSaveAnswers;
  // What runs each time a long loop takes the window's messages (none: nothing).
  std::function<void()> OnPump;

  // --- log ---
  std::vector<ShownMessage> Messages;
  std::vector<FileDialogRequest> FileRequests;
  std::vector<std::string> ListTitles;
  std::vector<std::string> StatusTexts;
  std::vector<GameConditions> ConditionsShown;  // the struct as the dialog received it
  std::vector<ViewUpdate> Updates;              // every ApplyUpdate
  std::vector<int> EndProgramCalls;             // exit codes
  struct RecordFile {
    std::string Path;
    bool Read = false;
  };
  std::vector<RecordFile> RecordFiles;                   // every ShowRecordFile
  int CloseRequests = 0;                                 // CloseMainWindow calls
  std::vector<std::string> EditedFiles;                  // every OpenInTextEditor
  std::vector<std::vector<BestMoveRow>> BestMoveLists;   // every "Bonanza 最善手 検索" dialog
  std::vector<std::vector<BookMoveRow>> BookMovesShown;  // every "Bonanza Book 検索" dialog
  std::vector<BookBuildOptions> BookBuildShown;          // the options as the dialog got them
  std::vector<SearchConditions> SearchShown;             // the conditions as the dialog got them
  std::vector<SearchField> SearchFocus;                  // the field of each refused OK
  struct GameListShown {
    std::string Title, Header;
    std::vector<std::string> Lines;  // the first page
  };
  std::vector<GameListShown> GameLists;  // every list dialog as it opened

  // The engine list dialog: each answer edits the list and returns true for OK.
  std::deque<std::function<bool(EngineList&)>> EngineListAnswers;
  // The 検討 panel: every view it showed, and whether it is open now.
  std::vector<AnalysisView> AnalysisShown;
  bool AnalysisOpen = false;
  // Output: the CInsatsu dialog's answers, the print framework's calls in order, and the
  // answers of the "詰将棋--->BMP" dialog (each acts on the open dialog; none: closed at once).
  DialogScript<PrintSettings> PrintDialog;
  std::vector<PrintAction> PrintActions;
  std::deque<std::function<void(ProblemBitmapSession&)>> ProblemBitmapAnswers;

  // The clipboard: its text, and whether it holds any.
  std::string Clipboard;
  bool ClipboardHoldsText = false;

  // Where the frame is, as FramePlacement answers.
  WindowPlacement Placement;

  // Called inside every ShowMessage after logging (e.g. to check the state at that moment).
  std::function<void(const ShownMessage&)> OnMessage;

  // The conditions answers most tests need.
  static ConditionsAnswer Accept();  // "ＯＫ" with what was given (both kinds 0)
  static ConditionsAnswer Cancel();
  // "ＯＫ" with the two player kinds and a start position.
  static ConditionsAnswer AcceptPlayers(int first_kind, int second_kind, int start_position = 0);

  // Texts of the logged messages, in order, and the last one ("" if none).
  std::vector<std::string> MessageTexts() const;
  std::string LastMessage() const;

  MessageAnswer ShowMessage(const std::string& caption, const std::string& text,
                            MessageButtons buttons, MessageIcon icon) override;
  FileDialogResult ChooseOpenFile(const FileDialogRequest& request) override;
  FileDialogResult ChooseSaveFile(const FileDialogRequest& request) override;
  int ChooseFromList(const std::string& title, const std::string& prompt,
                     const std::vector<std::string>& items, int initial) override;
  bool InputText(const std::string& title, const std::string& prompt, std::string& text) override;
  void SetStatusText(const std::string& text) override;
  bool GetClipboardText(std::string& text) override {
    if (!ClipboardHoldsText) return false;
    text = Clipboard;
    return true;
  }
  bool SetClipboardText(const std::string& text) override {
    Clipboard = text;
    return ClipboardHoldsText = true;
  }
  bool EditDiagramPrint(PrintSettings& settings) override {
    return PrintDialog.Run(settings, "diagram print dialog");
  }
  void RunPrint(PrintAction action, const ProgramState&) override {
    PrintActions.push_back(action);
  }
  void ShowProblemBitmap(ProblemBitmapSession& session) override {
    if (ProblemBitmapAnswers.empty()) return;
    const auto answer = std::move(ProblemBitmapAnswers.front());
    ProblemBitmapAnswers.pop_front();
    answer(session);
  }
  bool EditGameConditions(GameConditions& conditions) override;
  bool EditReplaySpeed(int& interval_ms) override;
  bool EditPieceValues(PieceValueTable& values) override;
  void ShowBestMoves(const std::vector<BestMoveRow>& rows) override {
    BestMoveLists.push_back(rows);
  }
  void ShowBookMoves(const std::vector<BookMoveRow>& rows) override;
  bool EditBookBuild(BookBuildOptions& options) override;
  SortOrderChoice ChooseSortOrder() override;
  bool EditDfpnSettings(DfpnSettings& settings) override {
    return DfpnDialog.Run(settings, "df-pn dialog");
  }
  bool EditSwapNumbers(SwapRequest& request) override {
    return SwapDialog.Run(request, "swap dialog");
  }
  bool EditRenameNumbers(RenameNumbersRequest& request) override {
    return RenameNumbersDialog.Run(request, "bulk change dialog");
  }
  bool EditRenameNames(RenameNamesRequest& request) override {
    return RenameNamesDialog.Run(request, "player name change dialog");
  }
  bool EditYearbookImport(YearbookFiles& files) override {
    return YearbookDialog.Run(files, "yearbook dialog");
  }
  bool ChooseRecordFile(RecordFileRequest& request) override {
    return RecordFileDialog.Run(request, "record file dialog");
  }
  bool ChooseListedRecord(RecordListModel& list) override {
    return RecordListDialog.Run(list, "record list dialog");
  }
  bool InputUrl(std::string& url) override { return UrlDialog.Run(url, "URL dialog"); }
  bool ShowProgress(const std::string&, const std::string& text) override {
    ProgressTexts.push_back(text);
    return !ProgressAnswer || ProgressAnswer(text);
  }
  void EndProgress() override { ++ProgressEnds; }
  bool EditTimes(TimeEditor& editor) override {
    return TimeEditorDialog.Run(editor, "time-used dialog");
  }
  KayaSaveChoice AskKayaSave() override {
    KayaSaveChoice choice = KayaSaveChoice::kCancel;
    TakeAnswer(KayaSaveAnswers, "Kaya save question", choice);
    return choice;
  }
  bool EditSearchConditions(SearchConditions& conditions, SearchDates& dates,
                            const SearchChoices& choices) override;
  void ShowGameList(GameListSession& session) override;
  bool EditEngineList(EngineList& list) override {
    std::function<bool(EngineList&)> answer;
    return TakeAnswer(EngineListAnswers, "engine list dialog", answer) && answer(list);
  }
  void ShowAnalysis(const AnalysisView* view) override;
  bool OpenInTextEditor(const std::string& path) override;
  void ApplyUpdate(const ViewUpdate& update) override;
  void EndProgram(int exit_code) override;
  void ShowRecordFile(const std::string& path, bool read) override;
  WindowPlacement FramePlacement() override { return Placement; }
  void CloseMainWindow() override { ++CloseRequests; }
  void PumpMessages() override {
    if (OnPump) OnPump();
  }

 private:
  FileDialogResult NextFileAnswer(const FileDialogRequest& request);
};

}  // namespace shogi::test
