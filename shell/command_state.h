// The enabling rules of the shell's commands, each a function of the program state. The
// command table names one per command; the handlers obey the same rule and refuse quietly
// where it says no.
#pragma once

#include <cstddef>
#include <type_traits>

#include "shell/program_state.h"

namespace shogi {

// Whether a command may run in `state`: a rule of the state alone, or one that also receives
// its row's argument (the database kind of the two database menus), as the check-mark rules do.
class EnableRule {
 public:
  constexpr EnableRule(std::nullptr_t = nullptr) {}
  // A function or a lambda of either form.
  template <class Rule>
  requires std::is_convertible_v<Rule, bool (*)(const ProgramState&)>
  constexpr EnableRule(Rule rule) : plain_(rule) {}
  template <class Rule>
  requires std::is_convertible_v<Rule, bool (*)(const ProgramState&, int)>
  constexpr EnableRule(Rule rule) : with_arg_(rule) {}

  bool operator()(const ProgramState& state, int arg) const {
    return with_arg_ != nullptr ? with_arg_(state, arg) : plain_ != nullptr && plain_(state);
  }

 private:
  bool (*plain_)(const ProgramState&) = nullptr;
  bool (*with_arg_)(const ProgramState&, int) = nullptr;
};

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
