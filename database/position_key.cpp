// The fixed random words of the position keys.
#include "database/position_key.h"

namespace shogi {
namespace {

// SplitMix64: a fixed sequence from a fixed seed, the same on every host and compiler.
struct SplitMix {
  std::uint64_t State;
  constexpr std::uint64_t Next() {
    std::uint64_t z = (State += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  constexpr PositionKey NextKey() {
    PositionKey key;
    key.Primary = Next();
    key.Secondary = Next();
    return key;
  }
};

constexpr PositionKeyTables MakeTables() {
  PositionKeyTables t{};
  SplitMix random{0x5348'4F47'4950'5831ull};
  // An empty square adds nothing, so that a board's key is the sum of its pieces alone.
  for (int s = 1; s <= kSquareCount; ++s) {
    for (int slot = 1; slot < 32; ++slot) t.Squares[s][slot] = random.NextKey();
  }
  for (auto& side : t.Hands) {
    for (int type = 1; type < 8; ++type) {
      for (int count = 1; count < 32; ++count) side[type][count] = random.NextKey();
    }
  }
  t.SecondToMove = random.NextKey();
  return t;
}

}  // namespace

constinit const PositionKeyTables kPositionKeyTables = MakeTables();

PositionKey KeyOf(const Position& pos, Side side_to_move) {
  const auto& t = kPositionKeyTables;
  PositionKey key;
  for (Square s = 1; s <= kSquareCount; ++s)
    ToggleKey(key, t.Squares[s][static_cast<std::uint8_t>(pos.Board[s]) & 31]);
  for (int side = 0; side < 2; ++side) {
    for (int type = 1; type < 8; ++type)
      ToggleKey(key, t.Hands[side][type][static_cast<std::uint8_t>(pos.Hand[side][type]) & 31]);
  }
  if (side_to_move == kSecond) ToggleKey(key, t.SecondToMove);
  return key;
}

}  // namespace shogi
