// What a command handler works with: the program state, the person, the computer sides.
#pragma once

#include "shell/computer_player.h"
#include "shell/program_state.h"
#include "shell/shell_user_interface.h"

namespace shogi {

class EngineAnalysis;          // shell/engine_analysis.h
class EnginePlayer;            // shell/engine_player.h
struct RecordAnalysisSession;  // shell/record_analysis_commands.h

struct ShellContext {
  ProgramState& State;
  ShellUserInterface& Ui;
  ComputerPlayer* InProcess = nullptr;         // plays positive PlayerKinds; none: it resigns
  ComputerPlayer* Library = nullptr;           // plays negative PlayerKinds; none: it resigns
  EnginePlayer* Engines = nullptr;             // plays the outside engines' kinds; none: no engines
  EngineAnalysis* Analysis = nullptr;          // 検討; none: not offered
  RecordAnalysisSession* RecordRun = nullptr;  // 棋譜解析; none: not offered
};

}  // namespace shogi
