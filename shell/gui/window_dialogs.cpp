// The window's message boxes and dialogs.
#include "shell/gui/window_dialogs.h"
#include "shell/gui/wx_text.h"

#include <wx/choicdlg.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/stattext.h>
#include <wx/textdlg.h>

#include "platform/text_editor.h"
#include "shell/gui/book_dialogs.h"
#include "shell/gui/conditions_window.h"
#include "shell/gui/database_dialogs.h"
#include "shell/gui/engine_dialogs.h"
#include "shell/gui/evaluation_dialogs.h"
#include "shell/gui/maintenance_dialogs.h"
#include "shell/gui/mate_dialogs.h"
#include "shell/gui/output_dialogs.h"
#include "shell/gui/printing.h"
#include "shell/gui/record_dialogs.h"
#include "shell/gui/speed_dialog.h"

namespace shogi::gui {
namespace {

// Runs a dialog whose own boxes (a refused field, the file dialogs) are shown over it; on OK
// `value` takes what it holds.
template <class Dialog, class Value, class Get>
bool RunOverItself(wxWindow* parent, const std::string& folder, Value& value, Get get) {
  WindowDialogs boxes(nullptr, folder);
  Dialog dialog(parent, value, boxes);
  boxes.SetParent(&dialog);
  if (dialog.ShowModal() != wxID_OK) return false;
  value = get(dialog);
  return true;
}

}  // namespace

MessageAnswer WindowDialogs::ShowMessage(const std::string& caption, const std::string& text,
                                         MessageButtons buttons, MessageIcon icon) {
  long style = 0;
  switch (buttons) {
    case MessageButtons::kOk:
      style |= wxOK;
      break;
    case MessageButtons::kOkCancel:
      style |= wxOK | wxCANCEL;
      break;
    case MessageButtons::kYesNo:
      style |= wxYES_NO;
      break;
    case MessageButtons::kYesNoCancel:
      style |= wxYES_NO | wxCANCEL;
      break;
  }
  switch (icon) {
    case MessageIcon::kNone:
      style |= wxICON_NONE;
      break;
    case MessageIcon::kInformation:
      style |= wxICON_INFORMATION;
      break;
    case MessageIcon::kQuestion:
      style |= wxICON_QUESTION;
      break;
    case MessageIcon::kWarning:
      style |= wxICON_WARNING;
      break;
    case MessageIcon::kError:
      style |= wxICON_ERROR;
      break;
  }
  wxMessageDialog dialog(parent_, U(text), U(caption), style);
  dialog.SetYesNoCancelLabels(U("はい"), U("いいえ"), U("キャンセル"));
  dialog.SetOKCancelLabels(U("OK"), U("キャンセル"));
  switch (dialog.ShowModal()) {
    case wxID_YES:
      return MessageAnswer::kYes;
    case wxID_NO:
      return MessageAnswer::kNo;
    case wxID_CANCEL:
      return MessageAnswer::kCancel;
    default:
      return MessageAnswer::kOk;
  }
}

FileDialogResult WindowDialogs::ChooseFile(const FileDialogRequest& request, bool save) {
  // The remembered path may be a pattern such as "folder/*.kif": the dialog then starts in
  // the folder with no name filled in.
  wxFileName initial(PathToWx(request.InitialPath));
  wxString name = initial.GetFullName();
  if (name.Contains("*") || name.Contains("?")) name.clear();
  long style = save ? wxFD_SAVE : (wxFD_OPEN | wxFD_FILE_MUST_EXIST);
  if (!save && request.MayBeNew) {
#ifdef _WIN32
    style = wxFD_OPEN;
#else
    // GTK's open dialog takes existing files only; its save dialog takes any name.
    style = wxFD_SAVE;
#endif
  }
  wxFileDialog dialog(parent_, U(request.Title), initial.GetPath(), name,
                      WildcardOf(request.Filters), style);
  dialog.SetFilterIndex(request.FilterIndex);
  FileDialogResult result;
  if (dialog.ShowModal() != wxID_OK) return result;
  result.Chosen = true;
  result.Path = PathFromWx(dialog.GetPath());
  result.FilterIndex = dialog.GetFilterIndex();
  return result;
}

FileDialogResult WindowDialogs::ChooseOpenFile(const FileDialogRequest& request) {
  return ChooseFile(request, false);
}

FileDialogResult WindowDialogs::ChooseSaveFile(const FileDialogRequest& request) {
  return ChooseFile(request, true);
}

int WindowDialogs::ChooseFromList(const std::string& title, const std::string& prompt,
                                  const std::vector<std::string>& items, int initial) {
  wxArrayString choices;
  for (const std::string& item : items) choices.Add(U(item));
  wxSingleChoiceDialog dialog(parent_, U(prompt), U(title), choices);
  if (initial >= 0 && initial < static_cast<int>(items.size())) dialog.SetSelection(initial);
  return dialog.ShowModal() == wxID_OK ? dialog.GetSelection() : -1;
}

bool WindowDialogs::InputText(const std::string& title, const std::string& prompt,
                              std::string& text) {
  wxTextEntryDialog dialog(parent_, U(prompt), U(title), U(text));
  if (dialog.ShowModal() != wxID_OK) return false;
  text = dialog.GetValue().utf8_string();
  return true;
}

bool WindowDialogs::EditGameConditions(GameConditions& conditions) {
  // The dialog's own boxes (a refused field) are shown over the dialog.
  WindowDialogs boxes(nullptr, folder_);
  CTaikyoku dialog(parent_, conditions, folder_, boxes);
  boxes.SetParent(&dialog);
  return dialog.ShowModal() == wxID_OK;
}

bool WindowDialogs::EditEngineList(EngineList& list) {
  WindowDialogs boxes(nullptr, folder_);
  CEngineListDialog dialog(parent_, list, boxes);
  boxes.SetParent(&dialog);
  return dialog.ShowModal() == wxID_OK;
}

bool WindowDialogs::EditReplaySpeed(int& interval_ms) {
  CSpeed dialog(parent_, interval_ms);
  if (dialog.ShowModal() != wxID_OK) return false;
  interval_ms = dialog.Interval();
  return true;
}

bool WindowDialogs::EditMateStart(MateStartSettings& settings) {
  WindowDialogs boxes(nullptr, folder_);
  CTume3 dialog(parent_, settings, boxes);
  boxes.SetParent(&dialog);
  if (dialog.ShowModal() != wxID_OK) return false;
  settings = dialog.Settings();
  return true;
}

bool WindowDialogs::EditDfpnSettings(DfpnSettings& settings) {
  WindowDialogs boxes(nullptr, folder_);
  CTumeDfpn dialog(parent_, settings, boxes);
  boxes.SetParent(&dialog);
  if (dialog.ShowModal() != wxID_OK) return false;
  settings = dialog.Settings();
  return true;
}

MateAttackerChoice WindowDialogs::ChooseMateAttacker() {
  return AskMateAttacker(parent_);
}

bool WindowDialogs::EditPieceValues(PieceValueTable& values) {
  return RunOverItself<CKomaKachi>(parent_, folder_, values,
                                   [](const CKomaKachi& d) { return d.Values(); });
}

void WindowDialogs::ShowBestMoves(const std::vector<BestMoveRow>& rows) {
  CSaizenshu dialog(parent_, rows);
  dialog.ShowModal();
}

void WindowDialogs::ShowBookMoves(const std::vector<BookMoveRow>& rows) {
  CBookLookup dialog(parent_, rows);
  dialog.ShowModal();
}

bool WindowDialogs::EditBookBuild(BookBuildOptions& options) {
  return RunOverItself<CBookBuild>(parent_, folder_, options,
                                   [](const CBookBuild& d) { return d.Options(); });
}

SortOrderChoice WindowDialogs::ChooseSortOrder() {
  CSort dialog(parent_);
  return dialog.ShowModal() == wxID_OK ? dialog.Choice() : SortOrderChoice::kCancel;
}

bool WindowDialogs::EditSwapNumbers(SwapRequest& request) {
  return RunOverItself<CIrekae>(parent_, folder_, request,
                                [](const CIrekae& d) { return d.Request(); });
}

bool WindowDialogs::EditRenameNumbers(RenameNumbersRequest& request) {
  return RunOverItself<CIkkatsuBango>(parent_, folder_, request,
                                      [](const CIkkatsuBango& d) { return d.Request(); });
}

bool WindowDialogs::EditRenameNames(RenameNamesRequest& request) {
  CKishi_name dialog(parent_, request);
  if (dialog.ShowModal() != wxID_OK) return false;
  request = dialog.Request();
  return true;
}

bool WindowDialogs::EditYearbookImport(YearbookFiles& files) {
  return RunOverItself<CNenkan>(parent_, folder_, files,
                                [](const CNenkan& d) { return d.Files(); });
}
bool WindowDialogs::EditSearchConditions(SearchConditions& conditions, SearchDates& dates,
                                         const SearchChoices& choices) {
  WindowDialogs boxes(nullptr, folder_);
  CKensaku dialog(parent_, conditions, choices, boxes);
  boxes.SetParent(&dialog);
  if (dialog.ShowModal() != wxID_OK) return false;
  conditions = dialog.Conditions();
  dates = dialog.Dates();
  return true;
}

void WindowDialogs::ShowGameList(GameListSession& session) {
  CGameListDialog dialog(parent_, session);
  dialog.ShowModal();
}

bool WindowDialogs::OpenInTextEditor(const std::string& path) {
  return shogi::OpenInTextEditor(path);
}

bool WindowDialogs::EditDiagramPrint(PrintSettings& settings) {
  CInsatsu dialog(parent_, settings);
  if (dialog.ShowModal() != wxID_OK) return false;
  settings = dialog.Settings();
  return true;
}

void WindowDialogs::RunPrint(PrintAction action, const ProgramState& state) {
  RunPrintAction(parent_, state, action);
}

void WindowDialogs::ShowProblemBitmap(ProblemBitmapSession& session) {
  CTumeBmp dialog(parent_, session);
  dialog.ShowModal();
}

bool WindowDialogs::ChooseRecordFile(RecordFileRequest& request) {
  return ShowSpecialFileDialog(parent_, request);
}
KayaSaveChoice WindowDialogs::AskKayaSave() {
  CKayaSave dialog(parent_);
  return static_cast<KayaSaveChoice>(dialog.ShowModal());
}
bool WindowDialogs::ChooseListedRecord(RecordListModel& list) {
  CRecordList dialog(parent_, list);
  return dialog.ShowModal() == wxID_OK && list.Chosen() > 0;
}
bool WindowDialogs::ShowProgress(const std::string& caption, const std::string& text) {
  if (progress_ == nullptr) {
    progress_ = new CProgressBox(parent_, caption);
    progress_->Show();
    progress_disabler_ = std::make_unique<wxWindowDisabler>(progress_);
  }
  progress_->SetText(text);
  return !progress_->Cancelled();
}

void WindowDialogs::EndProgress() {
  if (progress_ == nullptr) return;
  progress_disabler_.reset();
  progress_->Destroy();
  progress_ = nullptr;
}

bool WindowDialogs::InputUrl(std::string& url) {
  CUrlDlg dialog(parent_, url);
  if (dialog.ShowModal() != wxID_OK) return false;
  url = dialog.Url();
  return true;
}
bool WindowDialogs::EditTimes(TimeEditor& editor) {
  WindowDialogs boxes(nullptr, folder_);
  CShohi dialog(parent_, editor, boxes);
  boxes.SetParent(&dialog);
  return dialog.ShowModal() == wxID_OK;
}

}  // namespace shogi::gui
