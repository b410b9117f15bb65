// The Bonanza menu's evaluation dialogs.
#include "shell/gui/evaluation_dialogs.h"
#include "shell/gui/wx_text.h"

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include <array>

namespace shogi::gui {
namespace {

// The list shows the 64 pairs in four columns of sixteen.
constexpr int kBestMoveColumns = 4;
constexpr int kBestMoveRows = kRankingSize / kBestMoveColumns;

}  // namespace

CKomaKachi::CKomaKachi(wxWindow* parent, const PieceValueTable& values, UserInterface& messages)
    : wxDialog(parent, wxID_ANY, U(kPieceValueCaption)), messages_(messages), values_(values) {
  // Two columns of label and field: the unpromoted pieces left, the promoted ones right.
  auto* grid = new wxFlexGridSizer(4, 6, 8);
  constexpr int kLeft = 7;
  for (int row = 0; row < kLeft; ++row) {
    for (int i : {row, row + kLeft}) {
      if (i >= kValuedPieceCount) {
        grid->AddSpacer(0);
        grid->AddSpacer(0);
        continue;
      }
      grid->Add(new wxStaticText(this, wxID_ANY, U(kPieceValueLabels[i])), 0,
                wxALIGN_CENTER_VERTICAL | wxALIGN_RIGHT | wxLEFT, i < kLeft ? 0 : 12);
      fields_[i] = new wxTextCtrl(this, wxID_ANY, std::to_string(values[kValuedPieceTypes[i]]),
                                  wxDefaultPosition, wxSize(70, -1));
      fields_[i]->SetMaxLength(5);
      grid->Add(fields_[i], 0);
    }
  }
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* ok = new wxButton(this, wxID_OK, "OK");
  buttons->Add(ok, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("キャンセル")), 0);
  ok->SetDefault();
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxALL, 12);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  ok->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) {
    if (PressOk()) EndModal(wxID_OK);
  });
  CentreOnParent();
}

bool CKomaKachi::PressOk() {
  std::array<std::string, kValuedPieceCount> texts;
  for (int i = 0; i < kValuedPieceCount; ++i) texts[i] = fields_[i]->GetValue().utf8_string();
  int bad = 0;
  std::string message;
  if (ParsePieceValueFields(texts, values_, bad, message) != 0) {
    messages_.ShowMessage(kPieceValueCaption, message, MessageButtons::kOk, MessageIcon::kWarning);
    fields_[bad]->SetFocus();
    fields_[bad]->SelectAll();
    return false;
  }
  return true;
}

CSaizenshu::CSaizenshu(wxWindow* parent, const std::vector<BestMoveRow>& rows)
    : wxDialog(parent, wxID_ANY, U("Bonanza 最善手 検索")) {
  auto* columns = new wxBoxSizer(wxHORIZONTAL);
  for (int c = 0; c < kBestMoveColumns; ++c) {
    auto* grid = new wxFlexGridSizer(2, 2, 4);
    for (int r = 0; r < kBestMoveRows; ++r) {
      const int i = c * kBestMoveRows + r;
      const bool filled = i < static_cast<int>(rows.size());
      moves_[i] = new wxTextCtrl(this, wxID_ANY, filled ? U(rows[i].Move) : wxString(),
                                 wxDefaultPosition, wxSize(120, -1), wxTE_READONLY);
      scores_[i] =
          new wxTextCtrl(this, wxID_ANY, filled ? wxString::Format("%d", rows[i].Score) : "",
                         wxDefaultPosition, wxSize(64, -1), wxTE_READONLY | wxTE_RIGHT);
      grid->Add(moves_[i], 0);
      grid->Add(scores_[i], 0);
    }
    columns->Add(grid, 0, c == 0 ? 0 : wxLEFT, 14);
  }
  auto* ok = new wxButton(this, wxID_OK, "OK");
  ok->SetDefault();
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(columns, 0, wxALL, 10);
  top->Add(ok, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 10);
  SetSizerAndFit(top);
  CentreOnParent();
}

}  // namespace shogi::gui
