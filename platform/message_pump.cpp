// The message-pump hook.
#include "platform/message_pump.h"

#include <utility>

namespace shogi {
namespace {
std::function<void()>& Pump() {
  static std::function<void()> pump;
  return pump;
}
}  // namespace

void SetMessagePump(std::function<void()> pump) {
  Pump() = std::move(pump);
}

void PumpMessages() {
  if (Pump()) Pump()();
}

}  // namespace shogi
