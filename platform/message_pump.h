// The one message-pump hook that long loops call (once per record, or once per batch of
// search nodes) so that the window keeps its clock, status bar and stop request alive.
#pragma once

#include <functional>

namespace shogi {

// Installs the function that takes and dispatches pending window messages; an empty
// function turns pumping off. The window installs wxWidgets' yield, tests a counter.
void SetMessagePump(std::function<void()> pump);

// Runs the installed pump, if any.
void PumpMessages();

}  // namespace shogi
