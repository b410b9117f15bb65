// The computer player's stop request, message pumping and clock.
#include "analysis/player_control.h"

#include <chrono>

#include "platform/message_pump.h"

namespace shogi::player {

double WallSeconds() {
  return std::chrono::duration<double>(std::chrono::system_clock::now().time_since_epoch()).count();
}

SearchControl::SearchControl(const int* abort_flag, bool pump_messages, SecondsClock clock)
    : abort_flag_(abort_flag),
      pump_(pump_messages),
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

bool SearchControl::PumpNow() {
  if (pump_) PumpMessages();
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
    if (PumpNow()) return true;
    if (deadline_ > 0 && Elapsed() >= deadline_) Stop(StopReason::kTimeUp);
  }
  return Stopped();
}

}  // namespace shogi::player
