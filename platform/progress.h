// What a long loop is handed by its caller: a place to report how far it has got that also
// answers "go on?". The loop knows nothing of windows: the window takes its pending messages
// inside its callback (so that the clock, the status bar and a stop request keep working),
// the command-line tool hands an empty one, which never stops.
#pragma once

#include <cstdint>
#include <functional>

namespace shogi {

// What a loop that stopped because its caller asked it to reports (UTF-8).
inline constexpr const char kMessageStopped[] = "中断しました。";

// Told that `done` of `total` steps are behind (total 0: not known in advance); false stops
// the loop. An empty function lets it run to its end.
using LoopProgress = std::function<bool(std::int64_t done, std::int64_t total)>;

// Reports a step to `progress`; true when its caller wants the loop to stop now. A loop
// that stops leaves nothing half-done behind (a rewrite keeps the old files).
[[nodiscard]] inline bool StopRequested(const LoopProgress& progress, std::int64_t done,
                                        std::int64_t total = 0) {
  return progress && !progress(done, total);
}

}  // namespace shogi
