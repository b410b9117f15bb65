// The game-conditions dialog's controls.
#include "shell/gui/conditions_window.h"
#include "shell/gui/wx_text.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "shell/program_state.h"

namespace shogi::gui {
namespace {

wxArrayString Choices(const std::vector<std::string>& items) {
  wxArrayString out;
  for (const std::string& s : items) out.Add(U(s));
  return out;
}

}  // namespace

CTaikyoku::CTaikyoku(wxWindow* parent, GameConditions& conditions, const std::string& folder,
                     UserInterface& messages)
    : wxDialog(parent, wxID_ANY, U(kConditionsTitle)),
      conditions_(conditions),
      messages_(messages),
      lists_(LoadConditionsLists(conditions, folder)) {
  auto* grid = new wxFlexGridSizer(2, wxSize(8, 6));
  grid->AddGrowableCol(1);
  auto label = [&](const char* text) {
    grid->Add(new wxStaticText(this, wxID_ANY, U(text)), 0, wxALIGN_CENTER_VERTICAL);
  };
  auto combo = [&](const std::vector<std::string>& items) {
    return new wxComboBox(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(220, -1),
                          Choices(items), wxCB_DROPDOWN);
  };
  label("先手：");
  first_ = combo(lists_.Players);
  grid->Add(first_, 1, wxEXPAND);
  label("後手：");
  second_ = combo(lists_.Players);
  grid->Add(second_, 1, wxEXPAND);
  label("棋戦名：");
  tournament_ = combo(lists_.Tournaments);
  grid->Add(tournament_, 1, wxEXPAND);

  label("局：");
  game_number_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(40, -1));
  grid->Add(game_number_, 0);

  label("対局日：");
  auto* date = new wxBoxSizer(wxHORIZONTAL);
  year_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(64, -1));
  month_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(44, -1));
  day_ = new wxTextCtrl(this, wxID_ANY, wxEmptyString, wxDefaultPosition, wxSize(44, -1));
  date->Add(year_, 0);
  date->Add(new wxStaticText(this, wxID_ANY, U("年")), 0,
            wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 4);
  date->Add(month_, 0);
  date->Add(new wxStaticText(this, wxID_ANY, U("月")), 0,
            wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 4);
  date->Add(day_, 0);
  date->Add(new wxStaticText(this, wxID_ANY, U("日")), 0, wxALIGN_CENTER_VERTICAL | wxLEFT, 4);
  grid->Add(date, 0);

  label("戦型：");
  opening_ = combo(lists_.Openings);
  grid->Add(opening_, 1, wxEXPAND);
  label("コメント：");
  comment_ = new wxTextCtrl(this, wxID_ANY);
  grid->Add(comment_, 1, wxEXPAND);
  label("開始局面：");
  start_ = new wxChoice(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                        Choices(lists_.StartPositions));
  grid->Add(start_, 0);
  grid->AddSpacer(0);
  flipped_ = new wxCheckBox(this, wxID_ANY, U("盤反転"));
  grid->Add(flipped_, 0);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, U("ＯＫ"));
  auto* cancel = new wxButton(this, wxID_CANCEL, U("キャンセル"));
  buttons->Add(ok, 0, wxRIGHT, 8);
  buttons->Add(cancel, 0);
  ok->SetDefault();

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 1, wxEXPAND | wxALL, 10);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizerAndFit(top);

  SetForm(FormFromConditions(conditions));
  ok->Bind(wxEVT_BUTTON, &CTaikyoku::OnOk, this);
  first_->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) { LimitBytes(e, kPlayerFieldBytes); });
  second_->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) { LimitBytes(e, kPlayerFieldBytes); });
  tournament_->Bind(wxEVT_TEXT,
                    [this](wxCommandEvent& e) { LimitBytes(e, kTournamentFieldBytes); });
  opening_->Bind(wxEVT_TEXT, [this](wxCommandEvent& e) { LimitBytes(e, kOpeningFieldBytes); });
  CentreOnParent();
}

ConditionsForm CTaikyoku::Form() const {
  ConditionsForm f;
  f.FirstPlayer = first_->GetValue().utf8_string();
  f.SecondPlayer = second_->GetValue().utf8_string();
  f.FirstChoice = PlayerChoiceOf(lists_.Players, f.FirstPlayer, first_->GetSelection());
  f.SecondChoice = PlayerChoiceOf(lists_.Players, f.SecondPlayer, second_->GetSelection());
  f.Tournament = tournament_->GetValue().utf8_string();
  f.GameNumber = game_number_->GetValue().utf8_string();
  f.Year = year_->GetValue().utf8_string();
  f.Month = month_->GetValue().utf8_string();
  f.Day = day_->GetValue().utf8_string();
  f.Opening = opening_->GetValue().utf8_string();
  f.Comment = comment_->GetValue().utf8_string();
  f.StartPosition = std::max(0, start_->GetSelection());
  f.BoardFlipped = flipped_->GetValue();
  return f;
}

void CTaikyoku::SetForm(const ConditionsForm& f) {
  first_->ChangeValue(U(f.FirstPlayer));
  second_->ChangeValue(U(f.SecondPlayer));
  tournament_->ChangeValue(U(f.Tournament));
  game_number_->ChangeValue(U(f.GameNumber));
  year_->ChangeValue(U(f.Year));
  month_->ChangeValue(U(f.Month));
  day_->ChangeValue(U(f.Day));
  opening_->ChangeValue(U(f.Opening));
  comment_->ChangeValue(U(f.Comment));
  start_->SetSelection(f.StartPosition);
  flipped_->SetValue(f.BoardFlipped);
}

wxWindow* CTaikyoku::FieldControl(ConditionsField field) const {
  switch (field) {
    case ConditionsField::kFirstPlayer:
      return first_;
    case ConditionsField::kSecondPlayer:
      return second_;
    case ConditionsField::kTournament:
      return tournament_;
    case ConditionsField::kGameNumber:
      return game_number_;
    case ConditionsField::kYear:
      return year_;
    case ConditionsField::kMonth:
      return month_;
    case ConditionsField::kDay:
      return day_;
    case ConditionsField::kOpening:
      return opening_;
    case ConditionsField::kComment:
      return comment_;
    case ConditionsField::kStartPosition:
      return start_;
    case ConditionsField::kNone:
      break;
  }
  return nullptr;
}

bool CTaikyoku::PressOk() {
  GameConditions answer = conditions_;
  if (!AcceptConditions(messages_, Form(), answer, refused_)) {
    if (wxWindow* control = FieldControl(refused_)) {
      control->SetFocus();
      if (auto* text = dynamic_cast<wxTextCtrl*>(control)) text->SelectAll();
      if (auto* box = dynamic_cast<wxComboBox*>(control)) box->SelectAll();
    }
    return false;
  }
  conditions_ = answer;
  return true;
}

void CTaikyoku::OnOk(wxCommandEvent&) {
  if (PressOk()) EndModal(wxID_OK);
}

void CTaikyoku::LimitBytes(wxCommandEvent& event, std::size_t max_bytes) {
  auto* box = dynamic_cast<wxComboBox*>(event.GetEventObject());
  if (!box) return;
  const std::string text = box->GetValue().utf8_string();
  // A computer player of the list keeps its whole name; only a typed name is limited.
  if (conditions_.ComputerMode && (box == first_ || box == second_) &&
      PlayerChoiceOf(lists_.Players, text, box->GetSelection()) >= 0) {
    return;
  }
  const std::string cut = CutToCp932Bytes(text, max_bytes);
  if (cut.size() != text.size()) {
    box->ChangeValue(U(cut));
    box->SetInsertionPointEnd();
    wxBell();
  }
}

}  // namespace shogi::gui
