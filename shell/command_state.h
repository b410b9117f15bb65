// The enabling rules of the shell's commands, each a function of the program state. The
// command table names one per command; the handlers obey the same rule and refuse quietly
// where it says no.
#pragma once

#include "shell/program_state.h"

namespace shogi {

// Whether a command may run in `state`.
using EnableRule = bool (*)(const ProgramState& state);

bool AnyState(const ProgramState& state);
bool Idle(const ProgramState& state);
// A game waiting for the person, with or without the promotion choice open.
bool InGame(const ProgramState& state);
bool IdleOrInGame(const ProgramState& state);
bool SettingUp(const ProgramState& state);
bool IdleOrSettingUp(const ProgramState& state);
// Everywhere but while the promotion choice is open (反転表示).
bool NoPromotionChoice(const ProgramState& state);
// Idle and a move of the record follows the shown position (the forward commands).
bool IdleWithMoveAhead(const ProgramState& state);
// Idle and the shown position is past the record's start (初期局面図).
bool IdleWithMoveBehind(const ProgramState& state);
// "１手戻す": idle or in a game, with a move behind.
bool StepBackAllowed(const ProgramState& state);
// "連続して戻す、または待った": idle with a move behind, or in a game with two.
bool ContinuousBackAllowed(const ProgramState& state);

}  // namespace shogi
