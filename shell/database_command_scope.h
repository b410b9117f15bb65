// The interaction state of a long database command: 4 while it runs, the state before it
// afterwards whichever way the command ends, with a progress word in the status bar.
#pragma once

#include <string>

#include "shell/program_state.h"
#include "shell/view_hooks.h"

namespace shogi {

class DatabaseCommandScope {
 public:
  DatabaseCommandScope(ProgramState& state, ViewHooks& view, const std::string& progress)
      : state_(state), view_(&view), before_(state.InteractionState) {
    state_.InteractionState = kStateDatabase;
    // The database routines that show their own words are started with none.
    if (!progress.empty()) view_->SetStatusText(progress);
  }
  // Work that leaves the status bar as it is (the 局面統計 panel's pass).
  explicit DatabaseCommandScope(ProgramState& state)
      : state_(state), view_(nullptr), before_(state.InteractionState) {
    state_.InteractionState = kStateDatabase;
  }
  ~DatabaseCommandScope() {
    if (view_ != nullptr) view_->SetStatusText("");
    state_.InteractionState = before_;
  }
  DatabaseCommandScope(const DatabaseCommandScope&) = delete;
  DatabaseCommandScope& operator=(const DatabaseCommandScope&) = delete;

 private:
  ProgramState& state_;
  ViewHooks* view_;
  int before_;
};

}  // namespace shogi
