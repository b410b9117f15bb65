// The record file commands' dialogs.
#include "shell/gui/record_dialogs.h"
#include "shell/gui/wx_text.h"

#include <wx/button.h>
#include <wx/filedlg.h>
#include <wx/filedlgcustomize.h>
#include <wx/filename.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <vector>


namespace shogi::gui {
namespace {

// The message of an integer field that holds no whole number.
constexpr const char kNotANumber[] = "整数を入力してください。";

}  // namespace

void FormatControls::AddCustomControls(wxFileDialogCustomize& customizer) {
  customizer.AddStaticText(U("棋譜のソフト名"));
  std::vector<wxString> formats;
  for (const std::string& f : request_.Formats) formats.push_back(U(f));
  combo_ = customizer.AddChoice(formats.size(), formats.data());
  if (request_.FormatIndex >= 0 && request_.FormatIndex < static_cast<int>(formats.size()))
    combo_->SetSelection(request_.FormatIndex);
  request_.FormatChosen = false;
  combo_->Bind(wxEVT_CHOICE, [this](wxCommandEvent&) { request_.FormatChosen = true; });
  if (request_.Save) {
    check_ = customizer.AddCheckBox(U("消費時間の格納"));
    check_->SetValue(request_.StoreTimes);
  }
}

void FormatControls::TransferDataFromCustomControls() {
  request_.FormatIndex = combo_->GetSelection();
  if (check_ != nullptr) request_.StoreTimes = check_->GetValue();
}

CSpecialFileDialog::CSpecialFileDialog(wxWindow* parent, RecordFileRequest& request)
    : wxFileDialog(parent, U(request.Title), wxFileName(PathToWx(request.InitialPath)).GetPath(),
                   wxFileName(PathToWx(request.InitialPath)).GetFullName(),
                   WildcardOf(request.Filters),
                   request.Save ? wxFD_SAVE : wxFD_OPEN | wxFD_FILE_MUST_EXIST),
      controls_(request) {
  SetCustomizeHook(controls_);
}

bool ShowSpecialFileDialog(wxWindow* parent, RecordFileRequest& request) {
  CSpecialFileDialog dialog(parent, request);
  if (dialog.ShowModal() != wxID_OK) return false;
  request.Path = PathFromWx(dialog.GetPath());
  return true;
}

CUrlDlg::CUrlDlg(wxWindow* parent, const std::string& url)
    : wxDialog(parent, wxID_ANY, U("URLから棋譜ファイルを読み込む。")) {
  auto* row = new wxBoxSizer(wxHORIZONTAL);
  row->Add(new wxStaticText(this, wxID_ANY, "URL:"), 0, wxALIGN_CENTER_VERTICAL | wxRIGHT, 6);
  field_ = new wxTextCtrl(this, wxID_ANY, U(url), wxDefaultPosition, wxSize(420, -1));
  field_->SetMaxLength(255);
  row->Add(field_, 1, wxEXPAND);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* read = new wxButton(this, wxID_OK, U("読み込み"));
  read->SetDefault();
  buttons->Add(read, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("キャンセル")));
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(row, 0, wxEXPAND | wxALL, 12);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  CentreOnParent();
}

std::string CUrlDlg::Url() const {
  return field_->GetValue().utf8_string();
}

CProgressBox::CProgressBox(wxWindow* parent, const std::string& caption)
    : wxDialog(parent, wxID_ANY, U(caption), wxDefaultPosition, wxDefaultSize,
               wxCAPTION | wxCLOSE_BOX) {
  text_ = new wxStaticText(this, wxID_ANY, wxString(), wxDefaultPosition, wxSize(420, -1),
                           wxST_NO_AUTORESIZE | wxST_ELLIPSIZE_MIDDLE);
  text_->SetMinSize(wxSize(420, 2 * text_->GetCharHeight() + 4));
  cancel_ = new wxButton(this, wxID_CANCEL, U("キャンセル"));
  cancel_->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { cancelled_ = true; });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent& event) {
    cancelled_ = true;
    if (event.CanVeto()) event.Veto();  // the command closes the box once it has stopped
  });
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(text_, 0, wxEXPAND | wxALL, 12);
  top->Add(cancel_, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  CentreOnParent();
}

void CProgressBox::SetText(const std::string& text) {
  if (text == shown_) return;
  shown_ = text;
  text_->SetLabel(U(text));
}

CRecordList::CRecordList(wxWindow* parent, RecordListModel& list)
    : wxDialog(parent, wxID_ANY, U(list.Title())), list_(list) {
  const wxFont fixed(wxFontInfo(10).Family(wxFONTFAMILY_TELETYPE));
  auto* header = new wxStaticText(this, wxID_ANY, U(list.Header()));
  header->SetFont(fixed);
  rows_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, 0, nullptr,
                        wxLB_SINGLE | wxLB_NEEDED_SB);
  rows_->SetFont(fixed);
  bar_ = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL);
  bar_->SetScrollbar(0, RecordListModel::kVisibleRows,
                     list.ScrollMax() + RecordListModel::kVisibleRows,
                     RecordListModel::kVisibleRows);
  bar_->Bind(wxEVT_SCROLL_CHANGED, [this](wxScrollEvent& e) { ScrollTo(e.GetPosition()); });
  bar_->Bind(wxEVT_SCROLL_THUMBTRACK, [this](wxScrollEvent& e) { ScrollTo(e.GetPosition()); });
  bar_->Bind(wxEVT_SCROLL_LINEUP, [this](wxScrollEvent&) { ScrollTo(list_.Top() - 1); });
  bar_->Bind(wxEVT_SCROLL_LINEDOWN, [this](wxScrollEvent&) { ScrollTo(list_.Top() + 1); });
  rows_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { ChooseSelected(); });
  Fill();
  // Room for the twenty rows with the toolkit's spacing between them, so that only the
  // dialog's own scroll bar moves the list.
  rows_->SetMinSize(wxSize(rows_->GetCharWidth() * 80,
                           (rows_->GetCharHeight() + 9) * RecordListModel::kVisibleRows + 4));

  auto* list_row = new wxBoxSizer(wxHORIZONTAL);
  list_row->Add(rows_, 1, wxEXPAND);
  list_row->Add(bar_, 0, wxEXPAND);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { ChooseSelected(); });
  buttons->Add(ok, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("キャンセル")));
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(header, 0, wxLEFT | wxRIGHT | wxTOP, 24);  // over the rows' inner margin
  top->Add(list_row, 1, wxEXPAND | wxALL, 12);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  CentreOnParent();
}

void CRecordList::Fill() {
  rows_->Clear();
  for (int line = 0; line < RecordListModel::kVisibleRows; ++line) {
    const std::string row = list_.ShownRow(line);
    if (row.empty()) break;
    rows_->Append(U(row));
  }
}

void CRecordList::ScrollTo(int top) {
  list_.ScrollTo(top);
  bar_->SetThumbPosition(list_.Top());
  Fill();
}

bool CRecordList::ChooseSelected() {
  const int line = rows_->GetSelection();
  if (line == wxNOT_FOUND || !list_.ChooseShown(line)) return false;
  if (IsModal()) EndModal(wxID_OK);
  return true;
}

CKayaSave::CKayaSave(wxWindow* parent) : wxDialog(parent, wxID_ANY, U("棋譜書き込み")) {
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  const std::pair<KayaSaveChoice, const char*> choices[] = {
      {KayaSaveChoice::kOverwrite, "上書き"},
      {KayaSaveChoice::kAppend, "追加登録"},
      {KayaSaveChoice::kReplace, "修正登録"},
      {KayaSaveChoice::kCancel, "キャンセル"}};
  for (const auto& entry : choices) {
    const int answer = static_cast<int>(entry.first);
    auto* button = new wxButton(this, wxID_ANY, U(entry.second));
    button->Bind(wxEVT_BUTTON, [this, answer](wxCommandEvent&) { EndModal(answer); });
    buttons->Add(button, 0, wxRIGHT, 8);
  }
  SetEscapeId(wxID_NONE);
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) {
    if (IsModal()) EndModal(static_cast<int>(KayaSaveChoice::kCancel));
  });
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(
      new wxStaticText(this, wxID_ANY, U("ファイルがすでに存在します。\n処理を選択してください。")),
      0, wxALL, 12);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  CentreOnParent();
}

CShohi::CShohi(wxWindow* parent, TimeEditor& editor, UserInterface& ui)
    : wxDialog(parent, wxID_ANY, U(kTimeEditorTitle)), editor_(editor), ui_(ui) {
  page_ = new wxStaticText(this, wxID_ANY, "");
  auto* grid = new wxFlexGridSizer(4, wxSize(8, 6));
  for (int k = 0; k < kTimeEditorFields; ++k) {
    labels_[k] = new wxStaticText(this, wxID_ANY, "", wxDefaultPosition, wxSize(110, -1));
    fields_[k] = new wxTextCtrl(this, wxID_ANY, "", wxDefaultPosition, wxSize(60, -1));
    fields_[k]->SetMaxLength(4);
  }
  // Move k of the page sits in row k / 2, the first of each pair on the left.
  for (int k = 0; k < kTimeEditorFields; ++k) {
    grid->Add(labels_[k], 0, wxALIGN_CENTER_VERTICAL);
    grid->Add(fields_[k], 0);
  }
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto add = [&](const char* label, int id, auto action) {
    auto* button = new wxButton(this, id, U(label));
    button->Bind(wxEVT_BUTTON, action);
    buttons->Add(button, 0, wxRIGHT, 6);
  };
  add("前頁", wxID_ANY, [this](wxCommandEvent&) { PreviousPage(); });
  add("次頁", wxID_ANY, [this](wxCommandEvent&) { NextPage(); });
  add("０クリア", wxID_ANY, [this](wxCommandEvent&) { Clear(); });
  add("ＯＫ", wxID_OK, [this](wxCommandEvent&) {
    if (PressOk() && IsModal()) EndModal(wxID_OK);
  });
  add("キャンセル", wxID_CANCEL, [this](wxCommandEvent&) {
    if (IsModal()) EndModal(wxID_CANCEL);
  });
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(page_, 0, wxLEFT | wxRIGHT | wxTOP, 12);
  top->Add(grid, 0, wxALL, 12);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  CentreOnParent();
  ShowPage();
}

void CShohi::ShowPage() {
  page_->SetLabel(U(editor_.PageLabel()));
  for (int k = 0; k < kTimeEditorFields; ++k) {
    labels_[k]->SetLabel(U(editor_.MoveLabel(k)));
    fields_[k]->ChangeValue(wxString::Format("%d", editor_.Field(k)));
  }
}

bool CShohi::TakeFields() {
  std::array<int, kTimeEditorFields> minutes{};
  for (int k = 0; k < kTimeEditorFields; ++k) {
    long value = 0;
    if (!fields_[k]->GetValue().ToLong(&value) || value < 0 || value > kMaxFieldMinutes) {
      ui_.ShowMessage(kTimeEditorTitle, kNotANumber, MessageButtons::kOk, MessageIcon::kWarning);
      fields_[k]->SetFocus();
      fields_[k]->SelectAll();
      return false;
    }
    minutes[k] = static_cast<int>(value);
  }
  editor_.TakeFields(minutes);
  return true;
}

bool CShohi::NextPage() {
  if (!TakeFields()) return false;
  editor_.NextPage();
  ShowPage();
  return true;
}

bool CShohi::PreviousPage() {
  if (!TakeFields()) return false;
  editor_.PreviousPage();
  ShowPage();
  return true;
}

void CShohi::Clear() {
  editor_.ClearAll();
  ShowPage();
}

bool CShohi::PressOk() {
  return TakeFields();
}

}  // namespace shogi::gui
