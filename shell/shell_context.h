// What a command handler works with: the program state, the person, the computer sides.
#pragma once

#include "shell/computer_player.h"
#include "shell/program_state.h"
#include "shell/shell_user_interface.h"

namespace shogi {

struct ShellContext {
  ProgramState& State;
  ShellUserInterface& Ui;
  ComputerPlayer* InProcess = nullptr;  // plays positive PlayerKinds; none: it resigns
  ComputerPlayer* Library = nullptr;    // plays negative PlayerKinds; none: it resigns
};

}  // namespace shogi
