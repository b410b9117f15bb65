// The database menus' search and list dialogs.
#include "shell/gui/database_dialogs.h"
#include "shell/gui/wx_text.h"

#include <wx/font.h>
#include <wx/sizer.h>

#include "database_files/position_pattern.h"
#include "platform/cp932.h"

namespace shogi::gui {
namespace {

// A cp932 field's text in the window, and back.
wxString FromCp932(const std::string& cp932) {
  return U(Utf8(cp932));
}
std::string ToCp932(const wxString& text) {
  return Cp932(text.utf8_string());
}

// The list's lines are aligned by cp932 byte widths: a font whose full-width characters are
// exactly two half-width columns keeps them in line.
wxFont ListFont() {
  return wxFont(wxFontInfo(11).Family(wxFONTFAMILY_MODERN).FaceName("IPAMincho"));
}

}  // namespace

CKensaku::CKensaku(wxWindow* parent, const SearchConditions& conditions,
                   const SearchChoices& choices, UserInterface& ui)
    : wxDialog(parent, wxID_ANY, U("検索条件")), ui_(ui), accepted_(conditions) {
  auto* grid = new wxFlexGridSizer(2, 6, 8);
  auto add_combo = [&](const char* label, SearchField id, const std::vector<std::string>& items,
                       const std::string& value) {
    grid->Add(new wxStaticText(this, wxID_ANY, U(label)), 0, wxALIGN_CENTER_VERTICAL);
    auto* combo = new wxComboBox(this, static_cast<int>(id), FromCp932(value), wxDefaultPosition,
                                 wxSize(240, -1));
    for (const std::string& item : items) combo->Append(FromCp932(item));
    combo->ChangeValue(FromCp932(value));
    grid->Add(combo, 1, wxEXPAND);
  };
  add_combo("棋士１", SearchField::kPlayer1, choices.Players, conditions.Player1);
  add_combo("棋士２", SearchField::kPlayer2, choices.Players, conditions.Player2);
  add_combo("棋戦名", SearchField::kTournament, choices.Tournaments, conditions.Tournament);

  grid->Add(new wxStaticText(this, wxID_ANY, U("対局日")), 0, wxALIGN_CENTER_VERTICAL);
  auto* dates = new wxBoxSizer(wxHORIZONTAL);
  auto add_date = [&](SearchField id, const std::string& value, const char* after) {
    dates->Add(
        new wxTextCtrl(
            this, static_cast<int>(id), FromCp932(value), wxDefaultPosition,
            wxSize(id == SearchField::kStartYear || id == SearchField::kEndYear ? 60 : 40, -1)),
        0, wxALIGN_CENTER_VERTICAL);
    dates->Add(new wxStaticText(this, wxID_ANY, U(after)), 0,
               wxALIGN_CENTER_VERTICAL | wxLEFT | wxRIGHT, 3);
  };
  add_date(SearchField::kStartYear, conditions.StartYear, "年");
  add_date(SearchField::kStartMonth, conditions.StartMonth, "月 ～");
  add_date(SearchField::kEndYear, conditions.EndYear, "年");
  add_date(SearchField::kEndMonth, conditions.EndMonth, "月");
  grid->Add(dates, 0);

  add_combo("戦型名", SearchField::kOpening, choices.Openings, conditions.Opening);
  grid->Add(new wxStaticText(this, wxID_ANY, U("局面")), 0, wxALIGN_CENTER_VERTICAL);
  mode_ = new wxChoice(this, static_cast<int>(SearchField::kPositionMode));
  for (const char* text : kPositionModeTexts) mode_->Append(U(text));
  const int mode = static_cast<int>(conditions.Mode);
  mode_->SetSelection(mode >= 0 && mode < kPositionModeCount ? mode : 0);
  grid->Add(mode_, 1, wxEXPAND);

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  buttons->Add(ok, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("キャンセル")), 0);
  ok->SetDefault();
  ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (PressOk()) EndModal(wxID_OK);
  });
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxEXPAND | wxALL, 10);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(top);
  CentreOnParent();
}

wxComboBox* CKensaku::NameField(SearchField field) const {
  return dynamic_cast<wxComboBox*>(FindWindow(static_cast<int>(field)));
}
wxTextCtrl* CKensaku::DateField(SearchField field) const {
  return dynamic_cast<wxTextCtrl*>(FindWindow(static_cast<int>(field)));
}

SearchConditions CKensaku::Typed() const {
  SearchConditions typed = accepted_;
  typed.Player1 = ToCp932(NameField(SearchField::kPlayer1)->GetValue());
  typed.Player2 = ToCp932(NameField(SearchField::kPlayer2)->GetValue());
  typed.Tournament = ToCp932(NameField(SearchField::kTournament)->GetValue());
  typed.Opening = ToCp932(NameField(SearchField::kOpening)->GetValue());
  typed.StartYear = ToCp932(DateField(SearchField::kStartYear)->GetValue());
  typed.StartMonth = ToCp932(DateField(SearchField::kStartMonth)->GetValue());
  typed.EndYear = ToCp932(DateField(SearchField::kEndYear)->GetValue());
  typed.EndMonth = ToCp932(DateField(SearchField::kEndMonth)->GetValue());
  const int mode = mode_->GetSelection();
  typed.Mode = static_cast<PositionMode>(mode < 0 ? 0 : mode);
  return typed;
}

bool CKensaku::PressOk() {
  const SearchConditions typed = Typed();
  SearchField focus = SearchField::kNone;
  if (!AcceptSearchConditions(ui_, typed, dates_, focus)) {
    if (wxTextCtrl* field = DateField(focus)) {
      field->SetFocus();
      field->SelectAll();
    }
    return false;
  }
  accepted_ = typed;
  return true;
}

CGameListDialog::CGameListDialog(wxWindow* parent, GameListSession& session)
    : wxDialog(parent, wxID_ANY, U(session.Title())),
      session_(session),
      ids_(session.Kind() == DatabaseKind::kKisen ? kKisenListIds : kTarvelListIds) {
  const wxFont font = ListFont();
  header_ = new wxStaticText(this, ids_.Header, "");
  header_->SetFont(font);
  list_ = new wxListBox(this, ids_.List);
  list_->SetFont(font);
  // Room for the twenty lines of 80 columns.
  const wxSize cell = list_->GetTextExtent("0");
  list_->SetMinSize(wxSize(cell.x * 84, (cell.y + 3) * kListPageLines + 8));
  scroll_ = new wxScrollBar(this, ids_.ScrollBar, wxDefaultPosition, wxDefaultSize, wxSB_VERTICAL);

  auto* body = new wxBoxSizer(wxHORIZONTAL);
  body->Add(list_, 1, wxEXPAND);
  body->Add(scroll_, 0, wxEXPAND);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  const struct {
    int Id;
    const char* Label;
    void (CGameListDialog::*Press)();
  } presses[] = {{ids_.Extract, "新規作成", &CGameListDialog::PressExtract},
                 {ids_.Delete, "削除", &CGameListDialog::PressDelete}};
  for (const auto& p : presses) {
    auto* button = new wxButton(this, p.Id, U(p.Label));
    button->Bind(wxEVT_BUTTON, [this, press = p.Press](wxCommandEvent&) { (this->*press)(); });
    buttons->Add(button, 0, wxRIGHT, 8);
  }
  for (int which = 0; which < 2; ++which) {
    auto* button = new wxButton(this, which == 0 ? ids_.Column1 : ids_.Column2,
                                U(which ? "情報２" : "情報１"));
    button->Bind(wxEVT_BUTTON, [this, which](wxCommandEvent&) { PressColumn(which); });
    buttons->Add(button, 0, wxRIGHT, 8);
  }
  buttons->AddStretchSpacer();
  auto* cancel = new wxButton(this, wxID_CANCEL, U("キャンセル"));
  buttons->Add(cancel, 0);
  cancel->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { PressCancel(); });
  Bind(wxEVT_CLOSE_WINDOW, [this](wxCloseEvent&) { PressCancel(); });

  list_->Bind(wxEVT_LISTBOX_DCLICK,
              [this](wxCommandEvent& e) { DoubleClickLine(e.GetSelection()); });
  const auto scroll = [this](GameList::ScrollAction action) {
    return [this, action](wxScrollEvent& e) { ScrollEvent(action, e.GetPosition()); };
  };
  scroll_->Bind(wxEVT_SCROLL_LINEUP, scroll(GameList::ScrollAction::kArrowUp));
  scroll_->Bind(wxEVT_SCROLL_LINEDOWN, scroll(GameList::ScrollAction::kArrowDown));
  scroll_->Bind(wxEVT_SCROLL_THUMBRELEASE, scroll(GameList::ScrollAction::kThumbReleased));
  for (const auto type : {wxEVT_SCROLL_PAGEUP, wxEVT_SCROLL_PAGEDOWN, wxEVT_SCROLL_TOP,
                          wxEVT_SCROLL_BOTTOM, wxEVT_SCROLL_THUMBTRACK}) {
    scroll_->Bind(type, scroll(GameList::ScrollAction::kOther));
  }

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(header_, 0, wxLEFT | wxRIGHT | wxTOP, 10);
  top->Add(body, 1, wxEXPAND | wxLEFT | wxRIGHT, 10);
  top->Add(buttons, 0, wxEXPAND | wxALL, 10);
  SetSizerAndFit(top);
  ShowPage();
  CentreOnParent();
}

void CGameListDialog::ShowPage() {
  header_->SetLabel(U(session_.Header()));
  list_->Clear();
  for (const std::string& line : session_.Lines()) list_->Append(U(line));
  scroll_->SetScrollbar(session_.Top(), 1, session_.ScrollMax() + 1, 1);
}

void CGameListDialog::DoubleClickLine(int line) {
  if (session_.Choose(line)) EndModal(wxID_OK);
}

void CGameListDialog::ScrollEvent(GameList::ScrollAction action, int thumb) {
  if (session_.Scroll(action, thumb)) {
    ShowPage();
  } else {
    scroll_->SetThumbPosition(session_.Top());
  }
}

void CGameListDialog::PressColumn(int which) {
  session_.AdvanceColumn(which);
  ShowPage();
}

void CGameListDialog::PressDelete() {
  if (session_.Delete(list_->GetSelection())) {
    EndModal(wxID_OK);
  } else {
    ShowPage();
  }
}

void CGameListDialog::PressExtract() {
  session_.WriteListed();
}

void CGameListDialog::PressCancel() {
  session_.Cancel();
  if (IsModal()) {
    EndModal(wxID_CANCEL);
  } else {
    Hide();
  }
}

}  // namespace shogi::gui
