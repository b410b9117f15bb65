// The diagram print's options and the problem bitmap dialog.
#include "shell/gui/output_dialogs.h"
#include "shell/gui/wx_text.h"

#include <algorithm>

#include <wx/button.h>
#include <wx/sizer.h>
#include <wx/stattext.h>

#include "output/problem_bitmap.h"
#include "shell/gui/printing.h"

namespace shogi::gui {
namespace {

std::string Cut(const wxTextCtrl* field, std::size_t bytes) {
  return CutToCp932Bytes(field->GetValue().utf8_string(), bytes);
}

}  // namespace

CInsatsu::CInsatsu(wxWindow* parent, const PrintSettings& settings)
    : wxDialog(parent, wxID_ANY, U("局面図印字　")), settings_(settings) {
  auto* grid = new wxFlexGridSizer(2, 6, 8);
  grid->AddGrowableCol(1);
  title_ = AddField(this, grid, "タイトル：", settings.Title, 360);
  sente_ = AddField(this, grid, "棋士名１：", settings.SenteLabel, 140);
  gote_ = AddField(this, grid, "棋士名２：", settings.GoteLabel, 140);
  grid->Add(new wxStaticText(this, wxID_ANY, U("印刷倍率：")), 0, wxALIGN_CENTER_VERTICAL);
  magnification_ = new wxChoice(this, wxID_ANY);
  for (const char* m : {"１倍", "２倍", "３倍", "４倍", "５倍"}) magnification_->Append(U(m));
  magnification_->SetSelection(std::clamp(settings.Magnification, 1, kMaxMagnification) - 1);
  grid->Add(magnification_, 0);
  for (int i = 0; i < 3; ++i)
    comments_[i] = AddField(this, grid, i == 0 ? "コメント：" : "", settings.Comments[i], 360);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  auto* yes = new wxButton(this, wxID_OK, U("はい"));
  yes->SetDefault();
  buttons->Add(yes, 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("いいえ")), 0);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(grid, 0, wxEXPAND | wxALL, 12);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxLEFT | wxRIGHT | wxBOTTOM, 12);
  SetSizerAndFit(top);
  CentreOnParent();
}

PrintSettings CInsatsu::Settings() const {
  PrintSettings s = settings_;
  s.Title = Cut(title_, kPrintTitleBytes);
  s.SenteLabel = Cut(sente_, kPrintLabelBytes);
  s.GoteLabel = Cut(gote_, kPrintLabelBytes);
  s.Magnification = magnification_->GetSelection() + 1;
  for (int i = 0; i < 3; ++i) s.Comments[i] = Cut(comments_[i], kPrintCommentBytes);
  return s;
}

CTumeBmp::CTumeBmp(wxWindow* parent, ProblemBitmapSession& session)
    : wxDialog(parent, wxID_ANY, U(kProblemBitmapCaption)), session_(session) {
  picture_ = new wxStaticBitmap(this, wxID_ANY, PictureBitmap(session.Picture()), wxDefaultPosition,
                                wxSize(kProblemWidth, kProblemHeight));
  auto* grid = new wxFlexGridSizer(3, 6, 8);
  grid->AddGrowableCol(1);
  sente_ = AddField(this, grid, "棋士名１：", session.SenteLabel, 120);
  grid->AddSpacer(1);
  gote_ = AddField(this, grid, "棋士名２：", session.GoteLabel, 120);
  grid->AddSpacer(1);
  path_ = AddField(this, grid, "出力ファイル：", session.Path, 260);
  path_->SetEditable(false);
  auto* browse = new wxButton(this, wxID_ANY, "...", wxDefaultPosition, wxSize(32, -1));
  grid->Add(browse, 0);
  browse->Bind(wxEVT_BUTTON, [this](wxCommandEvent&) { PressBrowse(); });

  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  const auto add = [&](const char* label, void (CTumeBmp::*press)()) {
    auto* b = new wxButton(this, wxID_ANY, U(label));
    b->Bind(wxEVT_BUTTON, [this, press](wxCommandEvent&) { (this->*press)(); });
    buttons->Add(b, 0, wxRIGHT, 8);
    return b;
  };
  add("作成", &CTumeBmp::PressWrite)->SetDefault();
  add("盤反転", &CTumeBmp::PressFlip);
  add("再表示", &CTumeBmp::PressRedraw);
  buttons->Add(new wxButton(this, wxID_CANCEL, U("ｷｬﾝｾﾙ")), 0);

  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(picture_, 0, wxALIGN_CENTER_HORIZONTAL | wxALL, 12);
  top->Add(grid, 0, wxEXPAND | wxLEFT | wxRIGHT, 12);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 12);
  SetSizerAndFit(top);
  CentreOnParent();
}

bool CTumeBmp::TakeFields() {
  session_.SenteLabel = sente_->GetValue().utf8_string();
  session_.GoteLabel = gote_->GetValue().utf8_string();
  return session_.CheckLabels();
}

void CTumeBmp::ShowPicture() {
  picture_->SetBitmap(PictureBitmap(session_.Picture()));
  picture_->Refresh();
}

void CTumeBmp::PressWrite() {
  if (!TakeFields()) return;
  session_.Write();
}

void CTumeBmp::PressFlip() {
  if (!TakeFields()) return;
  session_.Flip();
  ShowPicture();
}

void CTumeBmp::PressRedraw() {
  if (TakeFields()) ShowPicture();
}

void CTumeBmp::PressBrowse() {
  session_.Browse();
  path_->SetValue(PathToWx(session_.Path));
}

}  // namespace shogi::gui
