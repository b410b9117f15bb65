// The date sort: the order of the selection with grouping, computed without its N² scans,
// and the rewrite of the database in that order.
//
// The sort as it has always run (keys compared as "better": smaller ascending, larger
// descending), on the order array o[0..N) that starts as 0..N-1:
//
//   i = 0
//   while i < N:
//     b = o[i]
//     for j = N-1 down to i+1:                      (selection)
//       if key(o[j]) is strictly better than key(b): exchange o[j] and b
//     o[i] = b
//     p = i+1
//     for j = i+1 to N-1:                           (grouping)
//       if key(o[j]) == key(b): exchange o[j] and o[p]; p += 1
//     i = p
//
// It is not stable, and files sorted by other programs were sorted by exactly this, so the
// same permutation must come out. Each round scans the whole rest of the array; with many
// different dates that is N² / 2 comparisons (10^11 steps for 10^6 games). The same rounds
// are computed here with the same exchanges, done only where they change something:
//
// Selection. Holding b in o[i] instead of a separate variable, the exchange "o[j] receives
// b, b becomes o[j]" is the exchange of o[i] and o[j]. It happens at j exactly when o[j] is
// better than what o[i] holds at that moment. Going down from N-1, the first such j is the
// rightmost position in (i, N) better than o[i]; after the exchange o[i] holds that element,
// and the next exchange is at the rightmost position in (i, j) better than it; and so on
// until no position in (i, j) is better. So the selection is the chain of exchanges
// j1 > j2 > … found by "rightmost position in (i, hi) with a key better than key(o[i])",
// hi = N then hi = the last j. Every position skipped is one the loop would have compared
// and left alone.
//
// Grouping. After the selection key(o[i]) = μ is the best key of o[i..N), so "key == μ" is
// the same as "key not worse than μ" for every j > i. The loop exchanges, from left to
// right, each position j holding μ with position p, the next free place. After an exchange
// o[j] holds the element that stood at p, which is not μ (every μ left of j has already been
// moved to a place before p), so the loop goes on to the leftmost μ in (j, N). The
// exchanges are therefore those at "leftmost position in (from, N) not worse than μ", from
// = i+1 then the last j+1, each with p = i+1, i+2, …
//
// Both questions are answered by a minimum index over the positions: the minimum key of each
// block of 16 positions and a segment tree over the blocks, kept up to date after every
// exchange at a place that later rounds search (places before the next round's i never are:
// the blocks that hold them are searched place by place or not at all, and a stale block
// minimum above the truth never hides another block). Each answer and each update costs
// O(16 + log N). The work is then proportional to the exchanges the sort really makes: one
// per game for the grouping, and per round one per element of the selection's chain, whose
// keys strictly improve, so at most the number of different dates still to be placed. For a
// database of dates (some tens of thousands of different days) that stays far below the N² / 2 of
// the scans. Memory: the order and the key of each place (the sort's two integers per game), and
// the block index (N / 8 + 64 integers at most).
#include "database/date_sort.h"

#include <algorithm>
#include <climits>
#include <memory>
#include <new>
#include <utility>

#include "database/game_database.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// The minimum of keys[] over blocks of kBlock places, and a segment tree over the blocks.
class MinimumIndex {
 public:
  MinimumIndex(const std::int32_t* keys, int count) : keys_(keys), count_(count) {
    blocks_ = (count + kBlock - 1) / kBlock;
    leaves_ = 1;
    while (leaves_ < blocks_) leaves_ *= 2;
    const std::size_t nodes = 2 * static_cast<std::size_t>(leaves_);
    tree_.reset(new (std::nothrow) std::int32_t[nodes]);
    if (!tree_) return;
    std::fill(tree_.get(), tree_.get() + nodes, INT32_MAX);
    for (int b = 0; b < blocks_; ++b) tree_[leaves_ + b] = BlockMinimum(b);
    for (int node = leaves_ - 1; node >= 1; --node)
      tree_[node] = std::min(tree_[2 * node], tree_[2 * node + 1]);
  }

  bool Allocated() const { return tree_ != nullptr; }

  // After keys[place] changed.
  void Update(int place) {
    const int b = place / kBlock;
    int node = leaves_ + b;
    tree_[node] = BlockMinimum(b);
    for (node /= 2; node >= 1; node /= 2)
      tree_[node] = std::min(tree_[2 * node], tree_[2 * node + 1]);
  }

  // The rightmost place in [lo, hi) whose key is below `limit`; -1 when there is none.
  int RightmostBelow(int lo, int hi, std::int32_t limit) const {
    if (lo >= hi) return -1;
    const int first_block = lo / kBlock, last_block = (hi - 1) / kBlock;
    // The blocks at the two ends may be cut by the range: they are searched place by place.
    const int right_edge = std::max(lo, last_block * kBlock);
    for (int p = hi - 1; p >= right_edge; --p) {
      if (keys_[p] < limit) return p;
    }
    if (first_block == last_block) return -1;
    const int whole = RightmostBlock(1, 0, leaves_, first_block + 1, last_block, limit);
    if (whole >= 0) {
      for (int p = (whole + 1) * kBlock - 1;; --p) {
        if (keys_[p] < limit) return p;
      }
    }
    for (int p = (first_block + 1) * kBlock - 1; p >= lo; --p) {
      if (keys_[p] < limit) return p;
    }
    return -1;
  }

  // The leftmost place in [lo, count) whose key is at most `limit`; -1 when there is none.
  int LeftmostAtMost(int lo, std::int32_t limit) const {
    if (lo >= count_) return -1;
    const int first_block = lo / kBlock;
    const int left_edge = std::min(count_, (first_block + 1) * kBlock);
    for (int p = lo; p < left_edge; ++p) {
      if (keys_[p] <= limit) return p;
    }
    const int whole = LeftmostBlock(1, 0, leaves_, first_block + 1, blocks_, limit);
    if (whole < 0) return -1;
    for (int p = whole * kBlock;; ++p) {
      if (keys_[p] <= limit) return p;
    }
  }

 private:
  static constexpr int kBlock = 16;

  std::int32_t BlockMinimum(int b) const {
    const int end = std::min(count_, (b + 1) * kBlock);
    std::int32_t minimum = INT32_MAX;
    for (int p = b * kBlock; p < end; ++p) minimum = std::min(minimum, keys_[p]);
    return minimum;
  }

  // The rightmost block in [l, r) of the node covering [node_lo, node_hi) with a minimum
  // below `limit`.
  int RightmostBlock(int node, int node_lo, int node_hi, int l, int r, std::int32_t limit) const {
    if (node_hi <= l || r <= node_lo || tree_[node] >= limit) return -1;
    if (node_hi - node_lo == 1) return node_lo;
    const int mid = (node_lo + node_hi) / 2;
    const int right = RightmostBlock(2 * node + 1, mid, node_hi, l, r, limit);
    return right >= 0 ? right : RightmostBlock(2 * node, node_lo, mid, l, r, limit);
  }
  // The leftmost block in [l, r) with a minimum at most `limit`.
  int LeftmostBlock(int node, int node_lo, int node_hi, int l, int r, std::int32_t limit) const {
    if (node_hi <= l || r <= node_lo || tree_[node] > limit) return -1;
    if (node_hi - node_lo == 1) return node_lo;
    const int mid = (node_lo + node_hi) / 2;
    const int left = LeftmostBlock(2 * node, node_lo, mid, l, r, limit);
    return left >= 0 ? left : LeftmostBlock(2 * node + 1, mid, node_hi, l, r, limit);
  }

  const std::int32_t* keys_;
  int count_;
  int blocks_ = 0, leaves_ = 1;
  std::unique_ptr<std::int32_t[]> tree_;
};

// Descending is ascending over the complemented keys (~k reverses the order of int32 values
// and cannot overflow).
void Complement(std::int32_t* keys, int count) {
  for (int p = 0; p < count; ++p) keys[p] = ~keys[p];
}

}  // namespace

std::int32_t DateKey(int year, int month, int day) {
  const auto y = static_cast<std::uint32_t>(year), m = static_cast<std::uint32_t>(month),
             d = static_cast<std::uint32_t>(day);
  return static_cast<std::int32_t>((y * 256u + m) * 256u + d);
}

bool DateSortOrder(std::int32_t* keys, std::int32_t* order, int count, bool descending) {
  if (descending) Complement(keys, count);
  MinimumIndex index(keys, count);
  if (!index.Allocated()) {
    if (descending) Complement(keys, count);
    return false;
  }
  for (int p = 0; p < count; ++p) order[p] = p;
  const auto exchange = [&](int a, int b) {
    std::swap(keys[a], keys[b]);
    std::swap(order[a], order[b]);
  };
  for (int i = 0; i < count;) {
    for (int hi = count;;) {  // selection
      const int j = index.RightmostBelow(i + 1, hi, keys[i]);
      if (j < 0) break;
      exchange(i, j);
      index.Update(j);
      hi = j;
    }
    const std::int32_t best = keys[i];
    int p = i + 1;
    for (int from = i + 1;;) {  // grouping
      const int j = index.LeftmostAtMost(from, best);
      if (j < 0) break;
      if (j != p) {
        exchange(j, p);
        index.Update(j);
      }
      ++p;
      from = j + 1;
    }
    i = p;
  }
  if (descending) Complement(keys, count);
  return true;
}

int SortDatabase(const DatabaseFormat& format, const DatabasePaths& paths, bool descending,
                 const CommandHooks& hooks, std::string& message) {
  hooks.Show(kStatusSorting);
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message) != 0) return 1;
  const int count = db.Count();
  if (count <= 0) {
    message = kMessageNoGames;
    return 1;
  }
  const std::unique_ptr<std::int32_t[]> keys(new (std::nothrow) std::int32_t[count]);
  const std::unique_ptr<std::int32_t[]> order(new (std::nothrow) std::int32_t[count]);
  if (!keys || !order) {
    message = kMessageNoMemoryToSort;
    return 1;
  }
  std::uint8_t header[kMaxIndexRecordBytes], record[kMaxIndexRecordBytes];
  const DatabaseNames no_names;
  for (int n = 1; n <= count; ++n) {
    if (!db.ReadIndex(n, record)) {
      message = kMessageMalformed;
      return 1;
    }
    const IndexFields fields = format.ReadIndex(record, no_names);
    keys[n - 1] = DateKey(fields.Year, fields.Month, fields.Day);
    if (hooks.Stopped(n, 2 * static_cast<std::int64_t>(count), message)) return 1;
  }
  if (!DateSortOrder(keys.get(), order.get(), count, descending)) {
    message = kMessageNoMemoryToSort;
    return 1;
  }

  DatabaseRewrite rewrite;
  if (!db.ReadIndex(0, header)) {
    message = kMessageMalformed;
    return 1;
  }
  if (!rewrite.Begin(format, paths) || !rewrite.Header(header, static_cast<std::uint32_t>(count))) {
    message = kMessageCannotCreate;
    return 1;
  }
  // The copy reports per game itself; the reading pass above was the first half.
  CommandHooks copying = hooks;
  copying.Progress = [&hooks, count, copied = std::int64_t{count}](std::int64_t,
                                                                   std::int64_t) mutable {
    return !StopRequested(hooks.Progress, ++copied, 2 * static_cast<std::int64_t>(count));
  };
  for (int p = 0; p < count; ++p) {
    if (CopyGames(db, order[p] + 1, order[p] + 1, rewrite, copying, message) != 0) return 1;
  }
  db.Close();
  if (!rewrite.Commit()) {
    message = kMessageCannotCreate;
    return 1;
  }
  return 0;
}

}  // namespace shogi
