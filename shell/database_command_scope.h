// The interaction state of a long database command: 4 while it runs, the state before it
// afterwards whichever way the command ends, with a progress word in the status bar.
#pragma once

#include <string>

#include "platform/user_interface.h"
#include "shell/program_state.h"

namespace shogi {

class DatabaseCommandScope {
 public:
  DatabaseCommandScope(ProgramState& state, UserInterface& ui, const std::string& progress)
      : state_(state), ui_(&ui), before_(state.InteractionState) {
    state_.InteractionState = kStateDatabase;
    // The database routines that show their own words are started with none.
    if (!progress.empty()) ui_->SetStatusText(progress);
  }
  // Work that leaves the status bar as it is (the 局面統計 panel's pass).
  explicit DatabaseCommandScope(ProgramState& state)
      : state_(state), ui_(nullptr), before_(state.InteractionState) {
    state_.InteractionState = kStateDatabase;
  }
  ~DatabaseCommandScope() {
    if (ui_ != nullptr) ui_->SetStatusText("");
    state_.InteractionState = before_;
  }
  DatabaseCommandScope(const DatabaseCommandScope&) = delete;
  DatabaseCommandScope& operator=(const DatabaseCommandScope&) = delete;

 private:
  ProgramState& state_;
  UserInterface* ui_;
  int before_;
};

}  // namespace shogi
