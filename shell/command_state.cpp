// The enabling rules of the shell's commands.
#include "shell/command_state.h"

namespace shogi {
namespace {

// Moves played from the record's start up to the shown position.
int MovesBehind(const ProgramState& state) {
  return state.Record.PlyCount - state.Record.StartIndex;
}

}  // namespace

bool AnyState(const ProgramState&) {
  return true;
}

bool Idle(const ProgramState& state) {
  return state.InteractionState == kStateIdle;
}

bool InGame(const ProgramState& state) {
  return IsGameState(state.InteractionState);
}

bool IdleOrInGame(const ProgramState& state) {
  return Idle(state) || InGame(state);
}

bool SettingUp(const ProgramState& state) {
  return state.InteractionState == kStateSetUp;
}

bool IdleOrSettingUp(const ProgramState& state) {
  return Idle(state) || SettingUp(state);
}

bool NoPromotionChoice(const ProgramState& state) {
  return state.InteractionState != kStatePromotion;
}

bool IdleWithMoveAhead(const ProgramState& state) {
  return Idle(state) && MoveFollows(state.Record);
}

bool IdleWithMoveBehind(const ProgramState& state) {
  return Idle(state) && MovesBehind(state) > 0;
}

bool StepBackAllowed(const ProgramState& state) {
  return IdleOrInGame(state) && MovesBehind(state) > 0;
}

bool ContinuousBackAllowed(const ProgramState& state) {
  return IdleWithMoveBehind(state) || (InGame(state) && MovesBehind(state) > 1);
}

}  // namespace shogi
