// Moving pieces with the left button in a game and in set-up, by dragging or by two clicks.
// A press on a piece picks it up (the view drags it). Released where it came from, it goes
// back and stays selected; the next press moves it to the spot pressed (a move that is not
// legal leaves it where it stands, and a press on another piece of the side to move picks
// that one instead); a press on the selected piece itself, or a right click, drops the
// selection.
#pragma once

#include <array>

#include "shell/shell_context.h"

namespace shogi {

ViewUpdate PressSpot(ShellContext& ctx, BoardSpot spot);
ViewUpdate ReleaseSpot(ShellContext& ctx, BoardSpot spot);
// The right button: drops the selection; false when there was none.
bool DropSelection(ProgramState& state);

// In a game, the squares (1..81, not flipped) that the piece held or selected may move to;
// all false when no piece is picked or outside a game.
std::array<bool, 82> LegalDestinations(const ProgramState& state);

}  // namespace shogi
