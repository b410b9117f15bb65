// The in-process computer player as the game driver's computer side for positive
// PlayerKinds: levels 1..9, the opening book, the mate table it keeps between moves.
#pragma once

#include <functional>

#include "analysis/mate_table.h"
#include "analysis/player_think.h"
#include "players/computer_player.h"

namespace shogi {

class InProcessPlayer : public ComputerPlayer {
 public:
  // `abort_flag` is the program's AbortFlag, read while the player thinks.
  explicit InProcessPlayer(const int* abort_flag) : abort_flag_(abort_flag) {}

  // The opening book (none: no book moves); the caller keeps it alive.
  void SetBook(player::OpeningBook* book) { book_ = book; }
  // Caps every level's time budget (seconds, <= 0: the level's own), for matches and tests.
  void SetBudgetCap(double seconds) { budget_cap_ = seconds; }
  // Multiplies every level's time budget (<= 0: the level's own), before the cap.
  void SetBudgetScale(double scale) { budget_scale_ = scale; }
  // The clock and the random numbers of the book's starting record (tests).
  void SetClock(player::SecondsClock clock) { clock_ = std::move(clock); }
  void SetRandom(std::function<int()> random) { random_ = std::move(random); }

  // A new game in computer mode: the book is enabled again.
  void PrepareGame(int start_index) override;
  // The driver's computer turns begin: messages are pumped while thinking from now on.
  void EnableMessagePump() override { pump_ = true; }
  // The move of the request's level (its Strength, 1..9); 0 to resign or when stopped.
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override;
  // The program closes during a search: the mate table is freed.
  void ReleaseMemory() override { table_.Free(); }

  // What the last Think did (tools and tests).
  const player::ThinkOutcome& LastOutcome() const { return last_; }

 private:
  const int* abort_flag_;
  player::OpeningBook* book_ = nullptr;
  double budget_cap_ = 0;
  double budget_scale_ = 0;
  player::SecondsClock clock_;
  std::function<int()> random_;
  bool pump_ = false;
  MateTable table_;
  player::Thinker thinker_;
  player::ThinkOutcome last_;
};

}  // namespace shogi
