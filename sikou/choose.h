// The choice of an ordinary move when no mate was found.
#pragma once

#include "game.h"
#include "position.h"

namespace thinking {

// Chooses the move of the side to move of `game` by material: each legal move's gain minus
// what the opponent can win back, moves that allow a mate within 5 plies thrown out, a move
// back into an earlier position one point down. Returns 0 when there is no move to play (no
// legal move, or every candidate allows a mate), otherwise the number of candidates kept,
// with the chosen one in `answer`.
int ChooseMove(const Game& game, Move& answer);

}  // namespace thinking
