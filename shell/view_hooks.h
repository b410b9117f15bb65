// What the shell's command handlers ask of the view and the frame, apart from the dialogs:
// show what changed, the status bar and the clipboard, the record's file in the title, the
// frame's place, the 検討 panel, closing and ending the program.
#pragma once

#include <string>

#include "shell/settings.h"
#include "shell/view_update.h"

namespace shogi {

struct AnalysisView;  // players/engine_analysis.h

class ViewHooks {
 public:
  virtual ~ViewHooks() = default;
  // Shows at once what an operation changed so far; called before it blocks (a message box,
  // the computer's thinking), so that the person sees the move before the answer.
  virtual void ApplyUpdate(const ViewUpdate& update) = 0;
  // The status bar's text (progress words such as "　ソート中"); "" clears it.
  virtual void SetStatusText(const std::string& text) = 0;
  // The clipboard's text (UTF-8, line ends as the clipboard holds them); false when it holds
  // no text or there is no clipboard.
  [[nodiscard]] virtual bool GetClipboardText(std::string& /*text*/) { return false; }
  // Puts `text` (UTF-8) on the clipboard; false when it cannot.
  [[nodiscard]] virtual bool SetClipboardText(const std::string& /*text*/) { return false; }
  // The 検討 panel shows `view`; nullptr hides it.
  virtual void ShowAnalysis(const AnalysisView*) {}
  // Ends the program with `exit_code` (the window closes while a search was running). The
  // caller returns straight away after this call.
  virtual void EndProgram(int exit_code) = 0;
  // The shown record now belongs to the file at `path`: it was just read from it (`read`),
  // or saved there. The frame shows the file's name in its title.
  virtual void ShowRecordFile(const std::string& path, bool read) = 0;
  // The frame's left and top on the screen.
  [[nodiscard]] virtual WindowPlacement FramePlacement() = 0;
  // Closes the main window as its close box does (a running search is stopped first).
  virtual void CloseMainWindow() = 0;
  // Takes and dispatches the window's pending messages (the clock timer, paints, a stop
  // request), from inside a long loop; nothing where there is no window.
  virtual void PumpMessages() {}
};

}  // namespace shogi
