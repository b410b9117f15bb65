// The pseudo-legal move generators: every move the pieces allow, before the king-safety,
// pawn-drop-mate and perpetual-check filters of LegalMoves.
#pragma once

#include "rules/position.h"

namespace shogi {

// Room for every move the generators can produce on any position, legal or not: a piece
// on the board yields at most 32 moves (a rook or bishop reaching 16 squares, each with
// and without promotion), so 81 squares give at most 2 592 board moves, and drops at most
// 7 types x 81 squares = 567. 2 592 + 567 = 3 159 < 4 096.
constexpr int kMoveBufferSize = 4096;

struct MoveBuffer {
  int count = 0;
  MoveCode moves[kMoveBufferSize];

  void Add(int origin, int destination, int promote) {
    moves[count++] = EncodeMove(origin, destination, promote);
  }
};

// Appends the pseudo-legal moves of `side` to `out` in generation order: board moves by
// ascending origin square, then pawn drops file by file, then drops of lance .. rook.
// Destinations hold no own piece; for each move with optional promotion the plain form
// comes first. Pawn drops skip files holding an unpromoted own pawn. Kings are not
// protected: that is LegalMoves' work.
void GeneratePseudoLegal(const Position& pos, Side side, MoveBuffer& out);

// Appends the pseudo-legal board moves of the piece on `from`, in GeneratePseudoLegal's
// order; none when `from` holds no piece of `side`.
void GeneratePieceMoves(const Position& pos, Side side, Square from, MoveBuffer& out);

}  // namespace shogi
