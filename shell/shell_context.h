// What a command handler works with: the program state, the person, the computer sides.
#pragma once

#include "players/computer_player.h"
#include "shell/program_state.h"
#include "shell/shell_user_interface.h"

namespace shogi {

class EngineAnalysis;  // players/engine_analysis.h
class EnginePlayer;    // players/engine_player.h

struct ShellContext {
  ProgramState& State;
  ShellUserInterface& Ui;
  ComputerPlayer* InProcess = nullptr;  // plays positive PlayerKinds; none: it resigns
  ComputerPlayer* Library = nullptr;    // plays negative PlayerKinds; none: it resigns
  EnginePlayer* Engines = nullptr;      // plays the outside engines' kinds; none: no engines
  EngineAnalysis* Analysis = nullptr;   // 検討; none: not offered
};

}  // namespace shogi
