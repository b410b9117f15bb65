// The enabling and check rules of the shell's commands.
#include "shell/command_state.h"

#include "shell/navigation.h"

namespace shogi {

bool CommandEnabled(const ProgramState& state, ShellCommand command) {
  const int s = state.InteractionState;
  const bool idle = s == kStateIdle;
  const bool game = IsGameState(s);
  const bool idle_or_setup = idle || s == kStateSetUp;
  const GameRecord& r = state.Record;
  const int played = r.PlyCount - r.StartIndex;
  switch (command) {
    case ShellCommand::kStartGame:
    case ShellCommand::kStartComputerGame:
    case ShellCommand::kReplaySpeed:
    case ShellCommand::kTimeUsed:
      return idle;
    case ShellCommand::kSuspendGame:
    case ShellCommand::kResign:
    case ShellCommand::kComputerConditions:
    case ShellCommand::kStopReplay:
      return game;
    case ShellCommand::kConditions:
      return idle || game;
    case ShellCommand::kRepetitionCheck:
    case ShellCommand::kResult:
      return true;
    case ShellCommand::kStepForward:
    case ShellCommand::kContinuousForward:
    case ShellCommand::kToLastPosition:
      return idle && MoveFollows(r);
    case ShellCommand::kStepBack:
      return (idle || game) && played > 0;
    case ShellCommand::kContinuousBack:
      return (idle && played > 0) || (game && played > 1);
    case ShellCommand::kToInitialPosition:
      return idle && played > 0;
    case ShellCommand::kFirstToMove:
    case ShellCommand::kMateSetUp:
    case ShellCommand::kFreeSetUp:
    case ShellCommand::kPreset:
    case ShellCommand::kMirror:
      return idle_or_setup;
    case ShellCommand::kEndSetUp:
      return s == kStateSetUp;
  }
  return false;
}

bool CommandChecked(const ProgramState& state, ShellCommand command, int result_item) {
  switch (command) {
    case ShellCommand::kRepetitionCheck:
      return state.Settings.RepetitionCheck;
    case ShellCommand::kFirstToMove:
      return state.Record.StartIndex == 0;
    case ShellCommand::kResult:
      return state.Record.ResultCode == result_item;
    default:
      return false;
  }
}

}  // namespace shogi
