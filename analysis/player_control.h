// What keeps the computer player's search answerable: the stop request (AbortFlag), the
// caller's progress, the clock of the move and its time budget, and the node count.
#pragma once

#include <cstdint>
#include <functional>

#include "platform/progress.h"

namespace shogi::player {

// Seconds on a clock that only moves forward within a move; injectable for tests. The
// wall clock's whole seconds are what the book's wait watches.
using SecondsClock = std::function<double()>;
// The default: the time of day in seconds.
double WallSeconds();

// Why a search gave up.
enum class StopReason { kNone, kAborted, kTimeUp };

class SearchControl {
 public:
  // How many polls pass between two progress reports and clock readings: a few microseconds
  // of search each, so a stop request is seen well within 0.1 s.
  static constexpr std::uint64_t kPollInterval = 256;

  // `progress` (may be empty) is told the polls so far from time to time; false stops the
  // search as AbortFlag does.
  SearchControl(const int* abort_flag, LoopProgress progress, SecondsClock clock);

  // The move's clock starts now; `budget` seconds (<= 0: none) from here end the deep
  // evaluation.
  void StartMove(double budget);
  double Elapsed() const;
  double Budget() const { return budget_; }
  // A deadline for the current stage, seconds from the start of the move (<= 0: none).
  void SetDeadline(double seconds_from_start) { deadline_ = seconds_from_start; }
  // Clears a stop by the time limit (AbortFlag stops stay).
  void ClearTimeUp() {
    if (reason_ == StopReason::kTimeUp) Stop(StopReason::kNone);
  }

  // Called at every search node: counts it, reports progress and reads the clock every
  // kPollInterval calls, and reads AbortFlag every time. True when the search must stop.
  bool Poll();
  // Reports progress and reads AbortFlag now; true when either asks the search to stop.
  bool ReportNow();

  bool Stopped() const { return reason_ != StopReason::kNone; }
  bool Aborted() const { return reason_ == StopReason::kAborted; }
  StopReason Reason() const { return reason_; }
  // An int that is non-zero while the search must stop, for the mate solver's abort pointer.
  const int* StopWord() const { return &stop_word_; }
  std::uint64_t Polls() const { return polls_; }
  double Now() const { return clock_(); }

 private:
  void Stop(StopReason reason);

  const int* abort_flag_;
  LoopProgress progress_;
  SecondsClock clock_;
  double start_ = 0;
  double budget_ = 0;
  double deadline_ = 0;
  StopReason reason_ = StopReason::kNone;
  int stop_word_ = 0;
  std::uint64_t polls_ = 0;
};

}  // namespace shogi::player
