// The proof-number solver's transposition table: a fixed number of 32-byte entries in
// buckets of eight, keyed by the board (and the set of pieces in play) with the attacker's
// hand beside the key, so that a proof found with a smaller hand or a refutation found with
// a larger one serves the position at hand. Its size is fixed when it is allocated, but a
// search starts on a small part of it, doubled as it fills (a short problem stays in the
// cache and touches few pages); when all of it fills, the entries that cost the least work
// to find again make room.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "analysis/dfpn_hand.h"
#include "rules/types.h"

namespace shogi {

// Proof and disproof numbers; kDfpnInfinite marks a proven (disproof number) or refuted
// (proof number) node.
constexpr std::uint32_t kDfpnInfinite = 0xFFFFFFFFu;
// The plies limit of a search without one.
constexpr std::uint16_t kNoPlyLimit = 0xFFFF;

// One stored node, 32 bytes:
//   0..7    key: the board and side to move, mixed with the pieces in play; 0 = empty slot
//   8..11   the attacker's hand: the proof hand of a proven node, the disproof hand of a
//           refuted one, the exact hand otherwise
//   12..15  proof number (0: proven); for a refutation that rests on the path, the 32-bit
//           hash of the positions of the path it rests on
//   16..19  disproof number (0: refuted)
//   20..23  work: the nodes searched below it, the measure of what it costs to find again
//   24..25  length: the plies of the mate found (proven nodes); for a refutation that rests
//           on the path, how many plies of the path above the node it rests on
//   26..27  limit: the plies the search was allowed from here (kNoPlyLimit: unlimited)
//   28..29  the best move: destination byte, origin byte
//   30      generation: the entry belongs to the table's contents since the last Clear only
//           when it equals the table's generation
//   31      flags: 1 a refutation that rests on the path (a repetition of a position above)
struct DfpnEntry {
  std::uint64_t Key;
  PackedHand Hand;
  std::uint32_t Pn;
  std::uint32_t Dn;
  std::uint32_t Work;
  std::uint16_t Length;
  std::uint16_t Limit;
  std::uint8_t MoveTo;
  std::uint8_t MoveFrom;
  std::uint8_t Generation;
  std::uint8_t Flags;
};
constexpr std::uint8_t kEntryOnPath = 1;
static_assert(sizeof(DfpnEntry) == 32);

// What the table knows of a node.
struct DfpnProbe {
  bool found = false;
  std::uint32_t pn = 1, dn = 1;
  PackedHand hand = 0;  // proof or disproof hand when proven or refuted
  std::uint16_t length = 0;
  MoveCode move{};
  // A refutation that rests on the path: the plies of the path above the node it needs
  // (0: none).
  std::uint16_t path_plies = 0;
};

// Whether the path above the node being probed holds, over its last `plies` positions, the
// positions whose hash is `hash` (the caller's view of its path).
struct DfpnPathView {
  const void* context = nullptr;
  bool (*holds)(const void* context, std::uint16_t plies, std::uint32_t hash) = nullptr;
};

class DfpnTable {
 public:
  // Four entries: two cache lines, buckets aligned on 64 bytes.
  static constexpr int kBucketSize = 4;

  // Allocates about `megabytes` MB (at least 1), halving the size while the heap refuses it.
  // Returns the megabytes allocated, 0 when even 1 MB was refused. A table already holding
  // that size is only cleared.
  std::size_t Allocate(std::size_t megabytes);
  void Free();
  bool Allocated() const { return buckets_ > 0; }
  std::size_t Capacity() const { return buckets_ * kBucketSize; }
  std::size_t Used() const { return used_; }
  std::size_t Megabytes() const { return Capacity() * sizeof(DfpnEntry) >> 20; }
  // How often the table was thinned out since it was cleared.
  std::uint64_t Collections() const { return collections_; }

  // Empties every entry (by starting a new generation; the memory is wiped once in 255).
  void Clear();

  // The node with `key`, attacker's hand `hand`, searched with `limit` plies left. A proven
  // entry applies when `hand` covers its proof hand and its length fits the limit; a refuted
  // one when its disproof hand covers `hand` and it was refuted with at least `limit` plies,
  // and, if it rests on the path, when `path` holds those positions; an open one only with
  // the same hand and limit.
  DfpnProbe Probe(std::uint64_t key, PackedHand hand, std::uint16_t limit,
                  const DfpnPathView& path = {}) const;

  // Asks the memory for the bucket of `key` ahead of a Probe or Store.
  void Prefetch(std::uint64_t key) const {
    if (buckets_ > 0) __builtin_prefetch(Bucket(key));
  }

  // Stores a node's numbers. `hand` is the proof hand when pn is 0, the disproof hand when
  // dn is 0, else the exact hand. A refutation that rests on the last `path_plies` positions
  // of the path above the node gives their hash `path_hash`. An entry for the same key,
  // hand and limit is replaced; otherwise a free slot of the bucket, or the one that cost the
  // least work.
  void Store(std::uint64_t key, PackedHand hand, std::uint16_t limit, std::uint32_t pn,
             std::uint32_t dn, std::uint16_t length, MoveCode move, std::uint64_t work,
             std::uint16_t path_plies = 0, std::uint32_t path_hash = 0);

 private:
  struct FreeMemory {
    void operator()(char* p) const;
  };
  std::unique_ptr<char[], FreeMemory> memory_;  // what calloc gave
  DfpnEntry* entries_ = nullptr;                // its first 64-byte boundary
  std::size_t buckets_ = 0;
  std::size_t active_ = 0;  // the buckets in use: buckets_ halved a few times, doubled as it fills
  std::uint8_t generation_ = 1;
  std::size_t used_ = 0;
  std::uint64_t collections_ = 0;

  DfpnEntry* Bucket(std::uint64_t key) const { return entries_ + (key % active_) * kBucketSize; }
  // The buckets a search starts with: about 1 MB, a power-of-two part of the whole.
  std::size_t StartBuckets() const;
  // Doubles the buckets in use: the entries of bucket b whose key now falls in b + the old
  // count move there.
  void Grow();
  // Frees the open entries of least work, and the least-worked of the rest, until about a
  // third of the table (all in use by then) is empty.
  void CollectGarbage();
};

}  // namespace shogi
