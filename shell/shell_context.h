// What a command handler works with: the program state, the person, the view, the computer
// sides.
#pragma once

#include "players/computer_player.h"
#include "shell/program_state.h"
#include "shell/shell_user_interface.h"

namespace shogi {

class EngineAnalysis;  // players/engine_analysis.h
class EnginePlayer;    // players/engine_player.h
struct RecordAnalysisSession;  // shell/record_analysis_commands.h

struct ShellContext {
  ShellContext(ProgramState& state, ShellDialogs& dialogs, ViewHooks& view,
               ComputerPlayer* in_process = nullptr, ComputerPlayer* library = nullptr)
      : State(state), Ui(dialogs), View(view), InProcess(in_process), Library(library) {}
  // Where one object is both the person and the view (matches, tests).
  ShellContext(ProgramState& state, ShellUserInterface& both, ComputerPlayer* in_process = nullptr,
               ComputerPlayer* library = nullptr)
      : ShellContext(state, both, both, in_process, library) {}

  ProgramState& State;
  ShellDialogs& Ui;                     // the person: boxes and dialogs
  ViewHooks& View;                      // the view and the frame
  ComputerPlayer* InProcess = nullptr;  // plays positive PlayerKinds; none: it resigns
  ComputerPlayer* Library = nullptr;    // plays negative PlayerKinds; none: it resigns
  EnginePlayer* Engines = nullptr;      // plays the outside engines' kinds; none: no engines
  EngineAnalysis* Analysis = nullptr;   // 検討; none: not offered
  RecordAnalysisSession* RecordRun = nullptr;  // 棋譜解析; none: not offered
};

}  // namespace shogi
