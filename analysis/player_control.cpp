// The computer player's stop request, progress and clock.
#include "analysis/player_control.h"

#include <chrono>
#include <utility>

namespace shogi::player {

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

SearchControl::SearchControl(const int* abort_flag, LoopProgress progress, SecondsClock clock)
    : abort_flag_(abort_flag),
      progress_(std::move(progress)),
      clock_(clock ? std::move(clock) : WallSeconds) {}

void SearchControl::StartMove(double budget) {
  start_ = clock_();
  budget_ = budget;
  deadline_ = 0;
}

double SearchControl::Elapsed() const {
  return clock_() - start_;
}

void SearchControl::Stop(StopReason reason) {
  if (reason_ == StopReason::kAborted && reason != StopReason::kAborted) return;
  reason_ = reason;
  stop_word_ = reason == StopReason::kNone ? 0 : 1;
}

bool SearchControl::ReportNow() {
  if (StopRequested(progress_, static_cast<std::int64_t>(polls_))) Stop(StopReason::kAborted);
  if (abort_flag_ != nullptr && *abort_flag_ != 0) Stop(StopReason::kAborted);
  return Aborted();
}

bool SearchControl::Poll() {
  ++polls_;
  if (abort_flag_ != nullptr && *abort_flag_ != 0) Stop(StopReason::kAborted);
  if (reason_ != StopReason::kNone) {
    stop_word_ = 1;
    return true;
  }
  stop_word_ = 0;
  if (polls_ % kPollInterval == 0) {
    if (ReportNow()) return true;
    if (deadline_ > 0 && Elapsed() >= deadline_) Stop(StopReason::kTimeUp);
  }
  return Stopped();
}

}  // namespace shogi::player
