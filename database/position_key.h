// The key of a position as the explorer and the position index know it: the board, both
// hands and the side to move hashed into two independent 64-bit words (Zobrist hashing),
// kept up to date move by move as a replay goes. The keys are stored in index files, so
// the tables never change.
#pragma once

#include <cstdint>

#include "database_files/block_walk.h"
#include "rules/position.h"

namespace shogi {

struct PositionKey {
  std::uint64_t Primary = 0, Secondary = 0;

  friend bool operator==(const PositionKey&, const PositionKey&) = default;
};

// The random words the keys are made of, by square and piece (a piece code -16..15 as its
// low five bits), by side, hand type and count (the count's low five bits), and for the
// second player to move.
struct PositionKeyTables {
  PositionKey Squares[kSquareCount + 1][32];
  PositionKey Hands[2][8][32];
  PositionKey SecondToMove;
};
extern const PositionKeyTables kPositionKeyTables;

inline void ToggleKey(PositionKey& key, const PositionKey& word) {
  key.Primary ^= word.Primary;
  key.Secondary ^= word.Secondary;
}

// The key of `pos` with `side_to_move` to move (the king squares are not part of it).
PositionKey KeyOf(const Position& pos, Side side_to_move);

// The key after `mover` played the move `done` describes; `after` is the position after it.
inline void KeyAfterMove(PositionKey& key, const Position& after, Side mover,
                         const QuickMove& done) {
  const auto& t = kPositionKeyTables;
  const auto slot = [](int piece) { return static_cast<std::uint8_t>(piece) & 31; };
  if (done.From != 0) {
    ToggleKey(key, t.Squares[done.From][slot(done.FromBefore)]);
    ToggleKey(key, t.Squares[done.From][0]);
  }
  ToggleKey(key, t.Squares[done.To][slot(done.ToBefore)]);
  ToggleKey(key, t.Squares[done.To][slot(after.Board[done.To])]);
  if (done.HandType != 0) {
    const int now = after.Hand[mover][done.HandType];
    const int before = done.From == 0 ? now + 1 : now - 1;
    ToggleKey(key, t.Hands[mover][done.HandType][slot(before)]);
    ToggleKey(key, t.Hands[mover][done.HandType][slot(now)]);
  }
  ToggleKey(key, t.SecondToMove);
}

}  // namespace shogi
