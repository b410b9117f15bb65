// The mate solver's position table: 65 536 chain heads over a pool of entries allocated
// once, with look-ups by dominance of the attacker's hand.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "rules/position.h"

namespace shogi {

// One stored attacker node, 128 bytes:
//   0..91    bytes 0..91 of the Position (squares and the attacker's hand, in the solver's
//            frame where the attacker is the first player)
//   92..95   index of the next entry of the same chain, -1 at its end
//   96..97   result: > 0 a mate within that many plies, < 0 no mate within -result plies
//   98..100  the stored move: origin, destination, promotion flag (a mate's first move)
//   101      tag: 1 when the node was searched with the full check generator
//   102..127 unused
struct MateTableEntry {
  std::int8_t Squares[92];
  std::int32_t Next;
  std::int16_t Result;
  std::uint8_t Origin;
  std::uint8_t Destination;
  std::uint8_t Promote;
  std::uint8_t Tag;
  std::uint8_t Unused[26];
};
static_assert(sizeof(MateTableEntry) == 128);
static_assert(offsetof(MateTableEntry, Next) == 92);
static_assert(offsetof(MateTableEntry, Result) == 96);
static_assert(offsetof(MateTableEntry, Origin) == 98);
static_assert(offsetof(MateTableEntry, Tag) == 101);

// What a look-up found for the current node.
enum class MateTableHit { kNone, kMate, kNoMate };

// The 16-bit hash of the squares (bytes 0..81): hands are left out so that positions that
// differ only in hand share a chain, which the dominance look-up needs.
std::uint16_t MateTableHash(const Position& pos);

class MateTable {
 public:
  static constexpr int kHeadCount = 65536;
  // The pool sizes tried by Allocate, largest first (8 MB down to 512 KB).
  static constexpr int kPoolSizes[] = {65536, 32768, 16384, 8192, 4096};

  // Allocates heads and pool once: the largest pool size that succeeds. `allocate` returns
  // `new (std::nothrow) MateTableEntry[count]` or nullptr (tests use it to refuse large
  // sizes); by default the heap is asked without throwing. Returns the pool's capacity, 0
  // if even the smallest failed (the solver then works without a table). A table already
  // allocated is kept.
  using PoolAllocator = MateTableEntry* (*)(std::size_t count);
  int Allocate(PoolAllocator allocate = nullptr);
  // Frees heads and pool (the program abandons a search).
  void Free();
  bool Allocated() const { return capacity_ > 0; }
  int Capacity() const { return capacity_; }
  int Used() const { return used_; }
  bool Full() const { return capacity_ > 0 && used_ >= capacity_; }

  // Empties every chain and the pool's fill count; done at the start of each search.
  void Reset();

  // Looks the attacker node `pos` up for a search of `depth` remaining plies with the full
  // (`full`) or reduced check generator. A stored mate found within d plies applies when
  // depth >= d and the current attacker's hand holds at least the stored one; `move` then
  // receives its stored move. A stored failure within d plies applies when depth <= d, the
  // stored hand holds at least the current one, and the stored search was not narrower
  // (reduced) than the current one.
  MateTableHit Lookup(const Position& pos, int depth, bool full, MoveCode& move) const;

  // Stores the outcome of an attacker node: `mate` within `depth` plies with first move
  // `move`, or no mate within `depth`. Returns false, storing nothing, when the pool is full.
  bool Store(const Position& pos, int depth, bool full, bool mate, MoveCode move);

 private:
  std::unique_ptr<std::int32_t[]> heads_;
  std::unique_ptr<MateTableEntry[]> pool_;
  int capacity_ = 0;
  int used_ = 0;
};

}  // namespace shogi
