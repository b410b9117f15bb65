// CShogiApp, the application: the settings store and the frame; "--startup-report" prints
// the time to the first complete paint and the resident size, then quits.
#include <wx/app.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>

#include "shell/gui/main_frame.h"
#include "shell/gui/wx_profile.h"

namespace shogi::gui {
namespace {

const auto kProcessStart = std::chrono::steady_clock::now();

// The resident set size in KiB, from /proc (0 where there is none).
long ResidentKilobytes() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind("VmRSS:", 0) == 0) return std::stol(line.substr(6));
  }
  return 0;
}

}  // namespace

class CShogiApp : public wxApp {
 public:
  bool OnInit() override {
    SetVendorName("Velnor");
    SetAppName("Shogi");
    startup_report_ = argc > 1 && wxString(argv[1]) == "--startup-report";
    profile_ = std::make_unique<WxProfile>();
    ViewOptions options;
    options.Settings = profile_.get();
    frame_ = new CMainFrame(options);
    frame_->Show();
    if (startup_report_) Bind(wxEVT_IDLE, &CShogiApp::OnIdleReport, this);
    return true;
  }

  int OnExit() override {
    profile_.reset();
    return wxApp::OnExit();
  }

 private:
  void OnIdleReport(wxIdleEvent& event) {
    if (!frame_ || !frame_->View()->Painted()) {
      event.RequestMore();
      return;
    }
    Unbind(wxEVT_IDLE, &CShogiApp::OnIdleReport, this);
    const double ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - kProcessStart)
            .count();
    std::printf("first complete paint after %.1f ms; resident %ld KiB\n", ms, ResidentKilobytes());
    std::fflush(stdout);
    frame_->Close(true);
  }

  std::unique_ptr<WxProfile> profile_;
  CMainFrame* frame_ = nullptr;
  bool startup_report_ = false;
};

}  // namespace shogi::gui

wxIMPLEMENT_APP(shogi::gui::CShogiApp);
