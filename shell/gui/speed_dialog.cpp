// The replay-speed dialog.
#include "shell/gui/speed_dialog.h"

#include <wx/button.h>
#include <wx/sizer.h>

#include "shell/navigation.h"
#include "shell/program_state.h"

namespace shogi::gui {

CSpeed::CSpeed(wxWindow* parent, int interval_ms)
    : wxDialog(parent, wxID_ANY, wxString::FromUTF8("再現スピード")),
      interval_(ReplaySpeedStep(interval_ms, ScrollAction::kThumb, interval_ms)) {
  bar_ = new wxScrollBar(this, wxID_ANY, wxDefaultPosition, wxSize(260, -1), wxSB_HORIZONTAL);
  bar_->SetScrollbar(interval_ - kReplayIntervalMin, 1, kReplayIntervalMax - kReplayIntervalMin + 1,
                     1000);
  value_ = new wxStaticText(this, wxID_ANY, wxEmptyString);
  auto* top = new wxBoxSizer(wxVERTICAL);
  top->Add(bar_, 0, wxEXPAND | wxALL, 10);
  top->Add(value_, 0, wxALIGN_CENTER | wxLEFT | wxRIGHT, 10);
  auto* buttons = new wxBoxSizer(wxHORIZONTAL);
  buttons->Add(new wxButton(this, wxID_OK, wxString::FromUTF8("ＯＫ")), 0, wxRIGHT, 8);
  buttons->Add(new wxButton(this, wxID_CANCEL, wxString::FromUTF8("キャンセル")), 0);
  top->Add(buttons, 0, wxALIGN_RIGHT | wxALL, 10);
  SetSizerAndFit(top);
  bar_->Bind(wxEVT_SCROLL_LINEUP, [this](wxScrollEvent&) { LineLess(); });
  bar_->Bind(wxEVT_SCROLL_LINEDOWN, [this](wxScrollEvent&) { LineMore(); });
  bar_->Bind(wxEVT_SCROLL_THUMBTRACK, &CSpeed::OnScroll, this);
  bar_->Bind(wxEVT_SCROLL_THUMBRELEASE, &CSpeed::OnScroll, this);
  bar_->Bind(wxEVT_SCROLL_PAGEUP, &CSpeed::OnScroll, this);
  bar_->Bind(wxEVT_SCROLL_PAGEDOWN, &CSpeed::OnScroll, this);
  bar_->Bind(wxEVT_SCROLL_CHANGED, &CSpeed::OnScroll, this);
  ShowInterval();
  CentreOnParent();
}

void CSpeed::LineLess() {
  SetInterval(ReplaySpeedStep(interval_, ScrollAction::kLineLess));
}

void CSpeed::LineMore() {
  SetInterval(ReplaySpeedStep(interval_, ScrollAction::kLineMore));
}

void CSpeed::SetInterval(int interval_ms) {
  interval_ = ReplaySpeedStep(interval_, ScrollAction::kThumb, interval_ms);
  ShowInterval();
}

void CSpeed::OnScroll(wxScrollEvent& event) {
  SetInterval(event.GetPosition() + kReplayIntervalMin);
}

void CSpeed::ShowInterval() {
  bar_->SetThumbPosition(interval_ - kReplayIntervalMin);
  value_->SetLabel(wxString::Format("%d ms", interval_));
  Layout();
}

}  // namespace shogi::gui
