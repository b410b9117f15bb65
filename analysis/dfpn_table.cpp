// The proof-number solver's transposition table.
#include "analysis/dfpn_table.h"

#include <bit>
#include <cstdlib>
#include <cstring>

#if defined(__linux__)
#include <sys/mman.h>
#endif

namespace shogi {
namespace {

bool Proven(const DfpnEntry& e) {
  return e.Pn == 0 && !(e.Flags & kEntryOnPath);
}
bool Refuted(const DfpnEntry& e) {
  return e.Dn == 0;
}

// What an entry is worth keeping: the magnitude of its work, a settled node counting more
// than an open one of the same work.
int KeepScore(const DfpnEntry& e) {
  const int magnitude = std::bit_width(e.Work);  // 0..32
  return magnitude + (Proven(e) || Refuted(e) ? 2 : 0);
}
constexpr int kScoreCount = 35;

// Asks the system to back the table with large pages where it can: the search touches its
// entries at random, and with small pages the first touch of each page and the address
// translations cost it about a seventh of its time. The contents stay zero either way.
void AskForHugePages(char* memory, std::size_t bytes) {
#ifdef MADV_HUGEPAGE
  constexpr std::uintptr_t kHuge = std::uintptr_t{1} << 21;
  const auto begin = (reinterpret_cast<std::uintptr_t>(memory) + kHuge - 1) & ~(kHuge - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(memory) + bytes) & ~(kHuge - 1);
  if (end > begin) madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)memory;
  (void)bytes;
#endif
}

}  // namespace

void DfpnTable::FreeMemory::operator()(char* p) const {
  std::free(p);
}

std::size_t DfpnTable::Allocate(std::size_t megabytes) {
  if (megabytes < 1) megabytes = 1;
  for (std::size_t mb = megabytes; mb >= 1; mb /= 2) {
    const std::size_t buckets = (mb << 20) / (sizeof(DfpnEntry) * kBucketSize);
    if (buckets == buckets_ && memory_) {
      Clear();
      return mb;
    }
    Free();
    // Zeroed memory from calloc is only touched as the search fills it.
    memory_.reset(
        static_cast<char*>(std::calloc(buckets * kBucketSize * sizeof(DfpnEntry) + 64, 1)));
    if (memory_) {
      const auto address = reinterpret_cast<std::uintptr_t>(memory_.get());
      entries_ = reinterpret_cast<DfpnEntry*>(memory_.get() + (64 - address % 64) % 64);
      AskForHugePages(memory_.get(), buckets * kBucketSize * sizeof(DfpnEntry) + 64);
      buckets_ = buckets;
      active_ = StartBuckets();
      generation_ = 1;
      used_ = 0;
      collections_ = 0;
      return mb;
    }
  }
  return 0;
}

void DfpnTable::Free() {
  memory_.reset();
  entries_ = nullptr;
  buckets_ = 0;
  active_ = 0;
  used_ = 0;
}

std::size_t DfpnTable::StartBuckets() const {
  constexpr std::size_t kStart = (std::size_t{1} << 20) / (sizeof(DfpnEntry) * kBucketSize);
  std::size_t start = buckets_;
  while (start > kStart && start % 2 == 0) start /= 2;
  return start;
}

void DfpnTable::Grow() {
  // The new half holds only entries of earlier generations (the part in use grows only
  // within one), which count as empty.
  const std::size_t old = active_;
  active_ = 2 * old;
  for (std::size_t b = 0; b < old; ++b) {
    DfpnEntry* from = entries_ + b * kBucketSize;
    DfpnEntry* to = entries_ + (b + old) * kBucketSize;
    int moved = 0;
    for (int i = 0; i < kBucketSize; ++i) {
      DfpnEntry& e = from[i];
      if (e.Key == 0 || e.Generation != generation_ || e.Key % active_ == b) continue;
      to[moved++] = e;
      std::memset(&e, 0, sizeof e);
    }
  }
}

void DfpnTable::Clear() {
  if (++generation_ == 0) {
    if (entries_ != nullptr) std::memset(entries_, 0, Capacity() * sizeof(DfpnEntry));
    generation_ = 1;
  }
  active_ = StartBuckets();
  used_ = 0;
  collections_ = 0;
}

DfpnProbe DfpnTable::Probe(std::uint64_t key, PackedHand hand, std::uint16_t limit,
                           const DfpnPathView& path) const {
  DfpnProbe probe;
  if (buckets_ == 0) return probe;
  const DfpnEntry* bucket = Bucket(key);
  auto take = [&](const DfpnEntry& e) {
    probe.found = true;
    probe.pn = (e.Flags & kEntryOnPath) ? kDfpnInfinite : e.Pn;
    probe.dn = e.Dn;
    probe.hand = e.Hand;
    probe.length = (e.Flags & kEntryOnPath) ? 0 : e.Length;
    probe.path_plies = (e.Flags & kEntryOnPath) ? e.Length : 0;
    probe.move = MoveCode{e.MoveTo, e.MoveFrom};
  };
  const DfpnEntry* on_path = nullptr;
  for (int i = 0; i < kBucketSize; ++i) {
    const DfpnEntry& e = bucket[i];
    if (e.Key != key || e.Generation != generation_) continue;
    if (Proven(e)) {
      if (HandCovers(hand, e.Hand) && e.Length <= limit) {
        take(e);
        return probe;
      }
    } else if (Refuted(e)) {
      if (!HandCovers(e.Hand, hand) || e.Limit < limit) continue;
      if (!(e.Flags & kEntryOnPath)) {
        take(e);
        return probe;
      }
      if (on_path == nullptr && path.holds != nullptr && path.holds(path.context, e.Length, e.Pn))
        on_path = &e;
    } else if (e.Hand == hand && e.Limit == limit && !probe.found) {
      take(e);
    }
  }
  if (on_path != nullptr) take(*on_path);
  return probe;
}

void DfpnTable::Store(std::uint64_t key, PackedHand hand, std::uint16_t limit, std::uint32_t pn,
                      std::uint32_t dn, std::uint16_t length, MoveCode move, std::uint64_t work,
                      std::uint16_t path_plies, std::uint32_t path_hash) {
  if (buckets_ == 0 || key == 0) return;
  DfpnEntry* bucket = Bucket(key);
  DfpnEntry* slot = nullptr;
  DfpnEntry* cheapest = nullptr;
  for (int i = 0; i < kBucketSize; ++i) {
    DfpnEntry& e = bucket[i];
    const bool live = e.Key != 0 && e.Generation == generation_;
    if (live && e.Key == key && e.Hand == hand && e.Limit == limit) {
      slot = &e;
      break;
    }
    if (!live) {
      if (slot == nullptr) slot = &e;
      continue;
    }
    if (cheapest == nullptr || KeepScore(e) < KeepScore(*cheapest)) cheapest = &e;
  }
  std::uint32_t kept_work = 0;
  if (slot == nullptr) {
    slot = cheapest;
  } else if (slot->Key == key && slot->Generation == generation_) {
    kept_work = slot->Work;
  } else {
    ++used_;
  }
  const std::uint64_t total = work + kept_work;
  const bool on_path = dn == 0 && path_plies > 0;
  slot->Key = key;
  slot->Hand = hand;
  slot->Pn = on_path ? path_hash : pn;
  slot->Dn = dn;
  slot->Work = total > 0xFFFFFFFFu ? 0xFFFFFFFFu : static_cast<std::uint32_t>(total);
  slot->Length = on_path ? path_plies : length;
  slot->Limit = limit;
  slot->MoveTo = move.to;
  slot->MoveFrom = move.from;
  slot->Generation = generation_;
  slot->Flags = on_path ? kEntryOnPath : 0;
  // The part in use doubles at a quarter full, which keeps full buckets rare.
  if (active_ < buckets_ && used_ * 4 >= active_ * kBucketSize) {
    Grow();
  } else if (used_ * 10 >= Capacity() * 9) {
    CollectGarbage();
  }
}

void DfpnTable::CollectGarbage() {
  std::size_t counts[kScoreCount] = {};
  const std::size_t n = Capacity();
  DfpnEntry* all = entries_;
  for (std::size_t i = 0; i < n; ++i) {
    if (all[i].Key != 0 && all[i].Generation == generation_) ++counts[KeepScore(all[i])];
  }
  // Free everything below `below` and enough of score `below` to reach a third of the table.
  const std::size_t target = n / 3;
  std::size_t freed = 0;
  int below = 0;
  while (below < kScoreCount && freed + counts[below] < target) freed += counts[below++];
  std::size_t partial = target > freed ? target - freed : 0;
  for (std::size_t i = 0; i < n; ++i) {
    DfpnEntry& e = all[i];
    if (e.Key == 0 || e.Generation != generation_) continue;
    const int score = KeepScore(e);
    if (score < below || (score == below && partial > 0)) {
      if (score == below) --partial;
      std::memset(&e, 0, sizeof e);
      --used_;
    }
  }
  ++collections_;
}

}  // namespace shogi
