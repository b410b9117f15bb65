// The engine list, the generated options dialog and the 検討 panel.
#include "shell/gui/engine_dialogs.h"
#include "shell/gui/wx_text.h"

#include <wx/button.h>
#include <wx/checkbox.h>
#include <wx/choice.h>
#include <wx/panel.h>
#include <wx/scrolwin.h>
#include <wx/sizer.h>
#include <wx/textctrl.h>

namespace shogi::gui {
namespace {

std::string Utf8Of(const wxString& text) {
  return std::string(text.ToUTF8());
}

constexpr const char* kListTitle = "エンジン登録";
constexpr const char* kOptionsTitle = "エンジン設定";
constexpr const char* kPressAtStart = "起動時に押す";

}  // namespace

CEngineListDialog::CEngineListDialog(wxWindow* parent, EngineList& list, UserInterface& ui)
    : wxDialog(parent, wxID_ANY, U(kListTitle)), answer_(list), list_(list), ui_(ui) {
  auto* top = new wxBoxSizer(wxHORIZONTAL);
  names_ = new wxListBox(this, wxID_ANY, wxDefaultPosition, wxSize(260, 160));
  top->Add(names_, 1, wxEXPAND | wxALL, 8);
  auto* buttons = new wxBoxSizer(wxVERTICAL);
  auto button = [&](const char* label, void (CEngineListDialog::*action)()) {
    auto* b = new wxButton(this, wxID_ANY, U(label));
    b->Bind(wxEVT_BUTTON, [this, action](wxCommandEvent&) { (this->*action)(); });
    buttons->Add(b, 0, wxEXPAND | wxBOTTOM, 4);
  };
  button("追加", &CEngineListDialog::Add);
  button("設定", &CEngineListDialog::EditSelected);
  button("削除", &CEngineListDialog::RemoveSelected);
  buttons->AddStretchSpacer();
  buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxEXPAND | wxBOTTOM, 4);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("キャンセル")), 0, wxEXPAND);
  top->Add(buttons, 0, wxEXPAND | wxTOP | wxRIGHT | wxBOTTOM, 8);
  SetSizerAndFit(top);
  names_->Bind(wxEVT_LISTBOX_DCLICK, [this](wxCommandEvent&) { EditSelected(); });
  Refill(list_.empty() ? -1 : 0);
}

void CEngineListDialog::Refill(int selection) {
  names_->Clear();
  for (const EngineEntry& e : list_) {
    names_->Append(U(e.Name + "  (" + std::to_string(e.ByoyomiSeconds) + "秒)"));
  }
  if (selection >= 0 && selection < static_cast<int>(list_.size())) {
    names_->SetSelection(selection);
  }
}

void CEngineListDialog::Add() {
  if (list_.size() >= static_cast<std::size_t>(kMaxEngines)) {
    ui_.ShowMessage(kListTitle, "これ以上登録できません。", MessageButtons::kOk,
                    MessageIcon::kWarning);
    return;
  }
  FileDialogRequest request;
  request.Title = "USIエンジンの実行ファイル";
  const FileDialogResult file = ui_.ChooseOpenFile(request);
  if (!file.Chosen) return;
  EngineEntry entry;
  std::string message;
  wxBusyCursor busy;
  if (ProbeEngine(QuoteCommandWord(file.Path), UsiEngine::Limits{}, entry, message) != 0) {
    ui_.ShowMessage(kListTitle, "USIエンジンとして起動できませんでした。\n" + message,
                    MessageButtons::kOk, MessageIcon::kWarning);
    return;
  }
  list_.push_back(entry);
  Refill(static_cast<int>(list_.size()) - 1);
}

void CEngineListDialog::EditSelected() {
  const int n = names_->GetSelection();
  if (n == wxNOT_FOUND) return;
  EngineEntry edited = list_[n];
  CEngineOptionsDialog dialog(this, edited, ui_);
  if (dialog.ShowModal() != wxID_OK) return;
  list_[n] = edited;
  Refill(n);
}

void CEngineListDialog::RemoveSelected() {
  const int n = names_->GetSelection();
  if (n == wxNOT_FOUND) return;
  list_.erase(list_.begin() + n);
  Refill(n < static_cast<int>(list_.size()) ? n : n - 1);
}

bool CEngineListDialog::TransferDataFromWindow() {
  answer_ = list_;
  return true;
}

CEngineOptionsDialog::CEngineOptionsDialog(wxWindow* parent, EngineEntry& entry, UserInterface& ui)
    : wxDialog(parent, wxID_ANY, U(std::string(kOptionsTitle) + " - " + entry.Name)),
      entry_(entry),
      ui_(ui) {
  auto* top = new wxBoxSizer(wxVERTICAL);
  auto* scroll = new wxScrolledWindow(this, wxID_ANY);
  auto* grid = new wxFlexGridSizer(2, wxSize(8, 4));
  grid->AddGrowableCol(1);
  auto label = [&](const std::string& text) {
    grid->Add(new wxStaticText(scroll, wxID_ANY, U(text)), 0, wxALIGN_CENTER_VERTICAL);
  };
  label("秒読み（秒）");
  byoyomi_ = new wxSpinCtrl(scroll, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                            wxSP_ARROW_KEYS, 1, kMaxEngineByoyomi, entry.ByoyomiSeconds);
  grid->Add(byoyomi_, 0);
  using T = UsiOptionOffer::Type;
  for (const UsiOptionOffer& offer : entry.Offered) {
    const std::string value = EngineOptionValue(entry, offer);
    label(offer.Name);
    wxWindow* control = nullptr;
    switch (offer.Kind) {
      case T::kCheck: {
        auto* box = new wxCheckBox(scroll, wxID_ANY, wxEmptyString);
        box->SetValue(value == "true");
        control = box;
        break;
      }
      case T::kSpin: {
        int n = offer.Min;
        if (!ParseProfileInt(value, n)) n = offer.Min;
        control = new wxSpinCtrl(scroll, wxID_ANY, wxEmptyString, wxDefaultPosition, wxDefaultSize,
                                 wxSP_ARROW_KEYS, offer.Min, offer.Max, n);
        break;
      }
      case T::kCombo: {
        auto* choice = new wxChoice(scroll, wxID_ANY);
        for (const std::string& c : offer.Choices) choice->Append(U(c));
        choice->SetStringSelection(U(value));
        control = choice;
        break;
      }
      case T::kButton: {
        auto* box = new wxCheckBox(scroll, wxID_ANY, U(kPressAtStart));
        for (const UsiOption& o : entry.Values)
          box->SetValue(box->GetValue() || o.Name == offer.Name);
        control = box;
        break;
      }
      case T::kString:
      case T::kFilename: {
        auto* text = new wxTextCtrl(scroll, wxID_ANY, U(value), wxDefaultPosition, wxSize(240, -1));
        if (offer.Kind == T::kString) {
          control = text;
          break;
        }
        // A file name gets 参照 beside its field.
        auto* row = new wxPanel(scroll);
        text->Reparent(row);
        auto* browse = new wxButton(row, wxID_ANY, U("参照"));
        browse->Bind(wxEVT_BUTTON, [this, text, name = offer.Name](wxCommandEvent&) {
          FileDialogRequest request;
          request.Title = name;
          const FileDialogResult file = ui_.ChooseOpenFile(request);
          if (file.Chosen) text->SetValue(U(file.Path));
        });
        auto* sizer = new wxBoxSizer(wxHORIZONTAL);
        sizer->Add(text, 1, wxEXPAND | wxRIGHT, 4);
        sizer->Add(browse, 0);
        row->SetSizer(sizer);
        control = row;
        break;
      }
    }
    controls_.push_back(control);
    grid->Add(control, 1, wxEXPAND);
  }
  auto* inner = new wxBoxSizer(wxVERTICAL);
  inner->Add(grid, 1, wxEXPAND | wxALL, 8);
  scroll->SetSizer(inner);
  scroll->SetScrollRate(0, 10);
  const wxSize wanted = inner->GetMinSize();
  scroll->SetMinSize(wxSize(wanted.x + 20, std::min(wanted.y, 480)));
  top->Add(scroll, 1, wxEXPAND);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(new wxButton(this, wxID_OK, "OK"), 0, wxRIGHT, 4);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("キャンセル")), 0);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 8);
  SetSizerAndFit(top);
}

std::string CEngineOptionsDialog::ValueOf(std::size_t option) const {
  wxWindow* c = controls_[option];
  if (auto* box = dynamic_cast<wxCheckBox*>(c)) return box->GetValue() ? "true" : "false";
  if (auto* spin = dynamic_cast<wxSpinCtrl*>(c)) return std::to_string(spin->GetValue());
  if (auto* choice = dynamic_cast<wxChoice*>(c)) return Utf8Of(choice->GetStringSelection());
  if (auto* text = dynamic_cast<wxTextCtrl*>(c)) return Utf8Of(text->GetValue());
  // The file name's row: its text field is the first child.
  if (auto* text = dynamic_cast<wxTextCtrl*>(c->GetChildren().GetFirst()->GetData())) {
    return Utf8Of(text->GetValue());
  }
  return "";
}

void CEngineOptionsDialog::SetValueOf(std::size_t option, const std::string& value) {
  wxWindow* c = controls_[option];
  if (auto* box = dynamic_cast<wxCheckBox*>(c)) box->SetValue(value == "true");
  if (auto* spin = dynamic_cast<wxSpinCtrl*>(c)) {
    int n = 0;
    if (ParseProfileInt(value, n)) spin->SetValue(n);
  }
  if (auto* choice = dynamic_cast<wxChoice*>(c)) choice->SetStringSelection(U(value));
  if (auto* text = dynamic_cast<wxTextCtrl*>(c)) text->SetValue(U(value));
}

bool CEngineOptionsDialog::TransferDataFromWindow() {
  std::vector<UsiOption> values;
  for (std::size_t i = 0; i < entry_.Offered.size(); ++i) {
    const UsiOptionOffer& offer = entry_.Offered[i];
    const std::string value = ValueOf(i);
    if (offer.Kind == UsiOptionOffer::Type::kButton) {
      if (value == "true") values.push_back({offer.Name, ""});
      continue;
    }
    std::string message;
    if (CheckEngineOptionValue(offer, value, message) != 0) {
      ui_.ShowMessage(kOptionsTitle, message, MessageButtons::kOk, MessageIcon::kWarning);
      controls_[i]->SetFocus();
      return false;
    }
    if (value != offer.Default) values.push_back({offer.Name, value});
  }
  entry_.Values = values;
  entry_.ByoyomiSeconds = byoyomi_->GetValue();
  return true;
}

CAnalysisPanel::CAnalysisPanel(wxWindow* parent)
    : wxFrame(parent, wxID_ANY, U("検討"), wxDefaultPosition, wxSize(420, 170),
              wxCAPTION | wxRESIZE_BORDER | wxFRAME_TOOL_WINDOW | wxFRAME_FLOAT_ON_PARENT) {
  auto* panel = new wxPanel(this);
  auto* sizer = new wxBoxSizer(wxVERTICAL);
  auto line = [&]() {
    auto* text = new wxStaticText(panel, wxID_ANY, wxEmptyString);
    sizer->Add(text, 0, wxEXPAND | wxLEFT | wxRIGHT | wxTOP, 6);
    return text;
  };
  engine_ = line();
  score_ = line();
  search_ = line();
  pv_ = line();
  panel->SetSizer(sizer);
}

void CAnalysisPanel::ShowView(const AnalysisView& v) {
  engine_->SetLabel(U(v.Engine + "　" + v.Position));
  score_->SetLabel(U("評価値（先手から）: " + (v.Score.empty() ? std::string("-") : v.Score)));
  search_->SetLabel(U("深さ " + std::to_string(v.Depth) + "/" + std::to_string(v.SelDepth) +
                      "　ノード数 " + std::to_string(v.Nodes) + "　NPS " + std::to_string(v.Nps)));
  pv_->SetLabel(U("読み筋: " + v.Pv));
  pv_->Wrap(GetClientSize().x - 12);
}

wxString CAnalysisPanel::Text() const {
  return engine_->GetLabel() + "\n" + score_->GetLabel() + "\n" + search_->GetLabel() + "\n" +
         pv_->GetLabel();
}

}  // namespace shogi::gui
