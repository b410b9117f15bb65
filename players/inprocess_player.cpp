// The in-process computer player behind the game driver.
#include "players/inprocess_player.h"

#include <memory>

namespace shogi {

void InProcessPlayer::PrepareGame(int start_index) {
  (void)start_index;
  thinker_.NewGame();
}

int InProcessPlayer::Think(const ThinkRequest& request, ComputerAnswer& answer) {
  last_ = player::ThinkOutcome{};
  if (!RequestInRange(request)) return 0;
  auto record = std::make_unique<GameRecord>();
  GameOfRequest(request, *record);

  table_.Allocate();
  player::ThinkEnvironment env;
  env.abort_flag = abort_flag_;
  env.pump_messages = pump_;
  env.clock = clock_;
  env.random = random_;
  env.book = book_;
  env.mate_table = &table_;
  env.budget_cap = budget_cap_;
  env.budget_scale = budget_scale_;
  last_ = thinker_.Think(request.Strength, *record, request.Shown, env);
  if (last_.result <= 0) return 0;
  answer.Origin[0] = OriginOf(last_.move);
  answer.Destination[0] = DestinationOf(last_.move);
  answer.Promote[0] = IsPromotion(last_.move) ? 1 : 0;
  return 1;
}

}  // namespace shogi
