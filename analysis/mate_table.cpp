// The mate solver's position table.
#include "analysis/mate_table.h"

#include <array>
#include <cstring>
#include <new>

namespace shogi {
namespace {

// 41 fixed 16-bit constants, one per word of the squares; any fixed values spread the
// positions over the heads, these come from a linear congruential sequence.
constexpr std::array<std::uint16_t, 41> MakeHashKeys() {
  std::array<std::uint16_t, 41> keys{};
  std::uint32_t x = 0x2545F491u;
  for (auto& k : keys) {
    x = x * 1664525u + 1013904223u;
    k = static_cast<std::uint16_t>(x >> 16);
  }
  return keys;
}
constexpr std::array<std::uint16_t, 41> kHashKeys = MakeHashKeys();

MateTableEntry* HeapPool(std::size_t count) {
  return new (std::nothrow) MateTableEntry[count];
}

// Whether every count of hand `a` is at least that of hand `b` (types 1..7).
inline bool HandCovers(const std::int8_t* a, const std::int8_t* b) {
  for (int t = 1; t <= 7; ++t) {
    if (a[t] < b[t]) return false;
  }
  return true;
}

}  // namespace

std::uint16_t MateTableHash(const Position& pos) {
  const std::uint8_t* b = pos.bytes();
  std::uint32_t h = 41;
  for (int i = 0; i < 41; ++i) {
    const std::uint32_t word = b[2 * i] | (static_cast<std::uint32_t>(b[2 * i + 1]) << 8);
    h = (h + (word ^ kHashKeys[i])) & 0xFFFF;
    h = ((h << 1) | (h >> 15)) & 0xFFFF;
  }
  return static_cast<std::uint16_t>(h);
}

int MateTable::Allocate(PoolAllocator allocate) {
  if (capacity_ > 0) return capacity_;
  if (allocate == nullptr) allocate = HeapPool;
  heads_.reset(new (std::nothrow) std::int32_t[kHeadCount]);
  if (!heads_) return 0;
  for (int size : kPoolSizes) {
    if (MateTableEntry* pool = allocate(static_cast<std::size_t>(size))) {
      pool_.reset(pool);
      capacity_ = size;
      Reset();
      return capacity_;
    }
  }
  heads_.reset();
  return 0;
}

void MateTable::Free() {
  pool_.reset();
  heads_.reset();
  capacity_ = 0;
  used_ = 0;
}

void MateTable::Reset() {
  if (!heads_) return;
  std::memset(heads_.get(), 0xFF, sizeof(std::int32_t) * kHeadCount);  // every head -1
  used_ = 0;
}

MateTableHit MateTable::Lookup(const Position& pos, int depth, bool full, MoveCode& move) const {
  if (capacity_ == 0) return MateTableHit::kNone;
  const std::int8_t* hand = pos.Hand[kFirst];
  for (std::int32_t i = heads_[MateTableHash(pos)]; i >= 0; i = pool_[i].Next) {
    const MateTableEntry& e = pool_[i];
    if (std::memcmp(e.Squares + 1, pos.Board + 1, 81) != 0) continue;
    const std::int8_t* stored = e.Squares + 82;
    if (e.Result > 0) {
      if (depth >= e.Result && HandCovers(hand, stored)) {
        move = EncodeMove(e.Origin, e.Destination, e.Promote);
        return MateTableHit::kMate;
      }
    } else if (depth <= -e.Result && (e.Tag != 0 || !full) && HandCovers(stored, hand)) {
      return MateTableHit::kNoMate;
    }
  }
  return MateTableHit::kNone;
}

bool MateTable::Store(const Position& pos, int depth, bool full, bool mate, MoveCode move) {
  if (capacity_ == 0 || used_ >= capacity_) return false;
  MateTableEntry& e = pool_[used_];
  std::memcpy(e.Squares, pos.bytes(), sizeof e.Squares);
  const std::uint16_t h = MateTableHash(pos);
  e.Next = heads_[h];
  e.Result = static_cast<std::int16_t>(mate ? depth : -depth);
  e.Origin = move.from;
  e.Destination = static_cast<std::uint8_t>(DestinationOf(move));
  e.Promote = IsPromotion(move) ? 1 : 0;
  e.Tag = full ? 1 : 0;
  heads_[h] = used_++;
  return true;
}

}  // namespace shogi
