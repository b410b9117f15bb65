// CSpeed, the replay-speed dialog "再現スピード": one horizontal scroll bar over the replay
// interval of 100 to 20 000 ms, stepping as ReplaySpeedStep says.
#pragma once

#include <wx/dialog.h>
#include <wx/scrolbar.h>
#include <wx/stattext.h>

namespace shogi::gui {

class CSpeed : public wxDialog {
 public:
  CSpeed(wxWindow* parent, int interval_ms);

  int Interval() const { return interval_; }
  // What the scroll bar's arrows do (also used by tests).
  void LineLess();
  void LineMore();
  void SetInterval(int interval_ms);

 private:
  void OnScroll(wxScrollEvent& event);
  void ShowInterval();

  int interval_;
  wxScrollBar* bar_ = nullptr;
  wxStaticText* value_ = nullptr;
};

}  // namespace shogi::gui
