// The shell's dialogs in the window: message boxes, file dialogs, list choice, text input
// and the dialogs that fill plain structs, all modal over the frame. Drawing, the frame and
// ending the program are the view's (its ViewHooks).
#pragma once

#include <wx/sizer.h>
#include <wx/textctrl.h>
#include <wx/utils.h>
#include <wx/window.h>

#include <memory>
#include <string>

#include "shell/shell_user_interface.h"

namespace shogi::gui {

class CProgressBox;  // shell/gui/record_dialogs.h

class WindowDialogs : public ShellDialogs {
 public:
  // `folder` is the program folder, where the conditions dialog reads its name lists.
  WindowDialogs(wxWindow* parent, std::string folder)
      : parent_(parent), folder_(std::move(folder)) {}
  // The window the boxes are shown over.
  void SetParent(wxWindow* parent) { parent_ = parent; }

  MessageAnswer ShowMessage(const std::string& caption, const std::string& text,
                            MessageButtons buttons, MessageIcon icon) override;
  FileDialogResult ChooseOpenFile(const FileDialogRequest& request) override;
  FileDialogResult ChooseSaveFile(const FileDialogRequest& request) override;
  int ChooseFromList(const std::string& title, const std::string& prompt,
                     const std::vector<std::string>& items, int initial) override;
  bool InputText(const std::string& title, const std::string& prompt, std::string& text) override;
  bool EditGameConditions(GameConditions& conditions) override;
  bool EditReplaySpeed(int& interval_ms) override;
  bool EditMateStart(MateStartSettings& settings) override;
  bool EditDfpnSettings(DfpnSettings& settings) override;
  MateAttackerChoice ChooseMateAttacker() override;
  bool EditPieceValues(PieceValueTable& values) override;
  void ShowBestMoves(const std::vector<BestMoveRow>& rows) override;
  void ShowBookMoves(const std::vector<BookMoveRow>& rows) override;
  bool EditBookBuild(BookBuildOptions& options) override;
  SortOrderChoice ChooseSortOrder() override;
  bool EditSwapNumbers(SwapRequest& request) override;
  bool EditRenameNumbers(RenameNumbersRequest& request) override;
  bool EditRenameNames(RenameNamesRequest& request) override;
  bool EditYearbookImport(YearbookFiles& files) override;
  bool EditSearchConditions(SearchConditions& conditions, SearchDates& dates,
                            const SearchChoices& choices) override;
  void ShowGameList(GameListSession& session) override;
  bool EditEngineList(EngineList& list) override;
  bool OpenInTextEditor(const std::string& path) override;
  bool EditDiagramPrint(PrintSettings& settings) override;
  void RunPrint(PrintAction action, const ProgramState& state) override;
  void ShowProblemBitmap(ProblemBitmapSession& session) override;
  bool ChooseRecordFile(RecordFileRequest& request) override;
  KayaSaveChoice AskKayaSave() override;
  bool ChooseListedRecord(RecordListModel& list) override;
  bool InputUrl(std::string& url) override;
  bool ShowProgress(const std::string& caption, const std::string& text) override;
  void EndProgress() override;
  bool EditTimes(TimeEditor& editor) override;

  // The box of ShowProgress while it is open, else null.
  CProgressBox* Progress() const { return progress_; }

 private:
  FileDialogResult ChooseFile(const FileDialogRequest& request, bool save);

  wxWindow* parent_;
  std::string folder_;
  CProgressBox* progress_ = nullptr;
  // Keeps every other window from input while the progress box is open.
  std::unique_ptr<wxWindowDisabler> progress_disabler_;
};

}  // namespace shogi::gui
