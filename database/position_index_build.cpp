// Building the position index: the games' ranks and flags, a first pass over the games that
// finds where each one's decoding ends and how many positions fall into each slice of keys,
// then as many passes as the memory for the positions needs, each sorting the positions of
// some slices and writing them bucket by bucket.
#include <algorithm>
#include <cstring>
#include <string_view>
#include <vector>

#include "database/game_database.h"
#include "database/position_index.h"
#include "database/position_index_file.h"
#include "platform/replacing_file.h"
#include "records/record_io.h"

namespace shogi {
namespace {

constexpr int kIndexGamesPerRead = 1024;
constexpr int kSlices = 1 << kSliceBits;
// The positions sorted at once; more positions take more passes.
constexpr std::size_t kTupleBudgetBytes = std::size_t{256} << 20;
// One position in 256 (by its key's top byte) counts the different positions.
constexpr int kSampleShift = 56;
constexpr int kPositionsPerBucket = 16;

// One game's visit of one position, as sorted.
struct Tuple {
  std::uint64_t Primary, Secondary;
  std::uint32_t Game;
  std::uint8_t Ply, To, From, Unused;
};
static_assert(sizeof(Tuple) == 24);

bool SameKey(const Tuple& a, const Tuple& b) {
  return a.Primary == b.Primary && a.Secondary == b.Secondary;
}

int SliceOf(std::uint64_t primary) {
  return static_cast<int>(primary >> (64 - kSliceBits));
}

// The file as it is written, checksummed a page at a time. A failed write is remembered and
// ends the build at Finish.
class PagedWriter {
 public:
  [[nodiscard]] bool Open(const std::string& path) { return file_.Open(path); }
  void Write(std::string_view bytes) {
    while (!bytes.empty()) {
      const std::size_t take = std::min(bytes.size(), kIndexPageBytes - page_.size());
      page_.append(bytes.substr(0, take));
      bytes.remove_prefix(take);
      if (page_.size() == kIndexPageBytes) FlushPage();
    }
  }
  void Byte(std::uint8_t b) { Write(std::string_view(reinterpret_cast<const char*>(&b), 1)); }
  void Varint(std::uint64_t v) {
    std::string bytes;
    PutVarint(bytes, v);
    Write(bytes);
  }
  std::uint64_t Offset() const { return written_ + page_.size(); }
  // The last page, then the checksums of all pages (`sums_checksum` theirs), the trailer
  // and Commit: false when anything failed.
  [[nodiscard]] bool Finish(PositionIndexTrailer& trailer) {
    if (!page_.empty()) FlushPage();
    trailer.PageSumsChecksum.Set(
        Checksum64(reinterpret_cast<const std::uint8_t*>(sums_.data()), sums_.size()));
    SealTrailer(trailer);
    return !failed_ && file_.Write(sums_) &&
           file_.Write(std::string_view(reinterpret_cast<const char*>(&trailer), sizeof trailer)) &&
           file_.Commit();
  }

 private:
  void FlushPage() {
    Le64 sum;
    sum.Set(Checksum64(reinterpret_cast<const std::uint8_t*>(page_.data()), page_.size()));
    sums_.append(reinterpret_cast<const char*>(sum.Bytes), sizeof sum.Bytes);
    written_ += page_.size();
    failed_ = failed_ || !file_.Write(page_);
    page_.clear();
  }

  ReplacingFile file_;
  std::string page_, sums_;
  std::uint64_t written_ = 0;
  bool failed_ = false;
};

// Counts the bytes a position would take (the same calls as PagedWriter's).
struct ByteCounter {
  std::uint64_t Bytes = 0;
  void Byte(std::uint8_t) { ++Bytes; }
  void Varint(std::uint64_t v) {
    do {
      ++Bytes;
      v >>= 7;
    } while (v != 0);
  }
};

std::uint16_t CodeOf(const Tuple& t) {
  return static_cast<std::uint16_t>(t.To << 8 | t.From);
}

// What follows a position's head: its moves, ply and games (`moves` sorted, unique).
template <class Sink>
void PutPostings(Sink& sink, const Tuple* t, std::size_t n,
                 const std::vector<std::uint16_t>& moves) {
  sink.Varint(moves.size());
  for (std::uint16_t code : moves) {
    sink.Byte(static_cast<std::uint8_t>(code >> 8));
    sink.Byte(static_cast<std::uint8_t>(code));
  }
  const bool one_ply =
      std::all_of(t, t + n, [&](const Tuple& other) { return other.Ply == t[0].Ply; });
  sink.Byte(one_ply ? 1 : 0);
  if (one_ply) sink.Byte(t[0].Ply);
  std::uint32_t previous = 0;
  for (std::size_t i = 0; i < n; ++i) {
    sink.Varint(t[i].Game - previous);
    previous = t[i].Game;
    if (!one_ply) sink.Byte(t[i].Ply);
    if (moves.size() > 1)
      sink.Varint(static_cast<std::uint64_t>(
          std::lower_bound(moves.begin(), moves.end(), CodeOf(t[i])) - moves.begin()));
  }
}

// The games' date order, flags and start positions, then the passes.
class IndexBuild {
 public:
  IndexBuild(const DatabaseFormat& format, int plies, const LoopProgress& progress)
      : format_(format), plies_(plies), progress_(progress) {}

  int Run(const DatabasePaths& paths, IndexBuildReport& report, std::string& message);

 private:
  int ReadGames(std::string& message);
  int CountPass(std::string& message);
  int WritePass(int first_slice, int last_slice, PagedWriter& out, std::uint64_t entries_offset,
                std::string& message);
  // Calls visit(game, block) for every game, a read at a time; nonzero with a message.
  template <class Visit>
  int ForEachGame(Visit visit, std::string& message);
  bool Stopped(std::string& message) {
    if (!progress_ || progress_(done_, total_)) return false;
    message = kMessageExplorerStopped;
    return true;
  }
  int BucketBits() const;

  const DatabaseFormat& format_;
  int plies_;
  const LoopProgress& progress_;
  GameDatabase db_;
  int count_ = 0;
  std::int64_t done_ = 0, total_ = 0;
  std::unique_ptr<std::uint32_t[]> ranks_;
  std::unique_ptr<std::uint8_t[]> flags_, starts_;
  std::unique_ptr<std::uint16_t[]> ends_;
  std::uint64_t slice_positions_[kSlices] = {};
  std::uint64_t positions_ = 0, distinct_ = 0, sampled_distinct_ = 0;
  bool sampled_ = false;
  std::unique_ptr<Tuple[]> tuples_;
  std::size_t capacity_ = 0;
  int bucket_bits_ = kSliceBits;
  std::unique_ptr<std::uint64_t[]> directory_;
};

template <class Visit>
int IndexBuild::ForEachGame(Visit visit, std::string& message) {
  const std::unique_ptr<std::uint8_t[]> blocks =
      TryAllocate<std::uint8_t>(kIndexGamesPerRead * kMoveBlockBytes);
  std::uint8_t one_block[kMoveBlockBytes];
  for (int first = 1; first <= count_; first += kIndexGamesPerRead) {
    if (Stopped(message)) return 1;
    const int n = std::min(kIndexGamesPerRead, count_ - first + 1);
    if (blocks && !db_.ReadBlockRange(first, n, blocks.get())) {
      message = kMessageMalformed;
      return 1;
    }
    for (int i = 0; i < n; ++i) {
      if (!blocks && !db_.ReadBlock(first + i, one_block)) {
        message = kMessageMalformed;
        return 1;
      }
      visit(first + i, blocks ? &blocks[static_cast<std::size_t>(i) * kMoveBlockBytes] : one_block);
    }
    done_ += n;
  }
  return 0;
}

int IndexBuild::ReadGames(std::string& message) {
  const std::size_t games = static_cast<std::size_t>(count_);
  ranks_ = TryAllocate<std::uint32_t>(games);
  flags_ = TryAllocate<std::uint8_t>(games);
  starts_ = TryAllocate<std::uint8_t>(games);
  ends_ = TryAllocate<std::uint16_t>(games);
  std::unique_ptr<std::uint64_t[]> dates = TryAllocate<std::uint64_t>(games);
  if (!ranks_ || !flags_ || !starts_ || !ends_ || !dates) {
    message = kMessageNoMemory;
    return 1;
  }
  const std::size_t record_bytes = format_.IndexRecordBytes;
  std::uint8_t records[kIndexGamesPerRead * kMaxIndexRecordBytes];
  for (int first = 1; first <= count_; first += kIndexGamesPerRead) {
    const int n = std::min(kIndexGamesPerRead, count_ - first + 1);
    if (!db_.ReadIndexRange(first, n, records)) {
      message = kMessageMalformed;
      return 1;
    }
    for (int i = 0; i < n; ++i) {
      const SearchKeys keys =
          format_.SearchKeysOf(&records[static_cast<std::size_t>(i) * record_bytes]);
      const std::size_t g = static_cast<std::size_t>(first + i - 1);
      const Handicap start = HandicapOfStoredCode(format_.Scheme, keys.HandicapCode);
      starts_[g] = static_cast<std::uint8_t>(start);
      flags_[g] = GameFlags(keys.Result, start);
      // Each part moved into 0..65535, so that the words compare as the dates do.
      const auto part = [](int v) { return static_cast<std::uint64_t>(v + 32768) & 0xFFFF; };
      dates[g] = part(keys.Year) << 32 | part(keys.Month) << 16 | part(keys.Day);
    }
  }
  // ranks_ first holds the games in the order of the newest, then each game's place in it.
  std::uint32_t* order = ranks_.get();
  for (std::size_t g = 0; g < games; ++g) order[g] = static_cast<std::uint32_t>(g);
  std::sort(order, order + games, [&dates](std::uint32_t a, std::uint32_t b) {
    return dates[a] != dates[b] ? dates[a] > dates[b] : a > b;
  });
  // The date words are no longer needed: they hold the places while the order is turned.
  for (std::size_t i = 0; i < games; ++i) dates[order[i]] = i;
  for (std::size_t g = 0; g < games; ++g) ranks_[g] = static_cast<std::uint32_t>(dates[g]);
  return 0;
}

int IndexBuild::CountPass(std::string& message) {
  // Room for the sampled positions of every game's every position; without it the count
  // of different positions is not known, and the positions themselves bound it.
  const std::size_t sample_room =
      static_cast<std::size_t>(count_) * static_cast<std::size_t>(plies_ + 1) / 128 + 1024;
  std::unique_ptr<PositionKey[]> sample = TryAllocate<PositionKey>(sample_room);
  std::size_t sampled = 0;
  auto count = [&](const PositionKey& key, int, MoveCode) {
    ++slice_positions_[SliceOf(key.Primary)];
    ++positions_;
    if (sample && key.Primary >> kSampleShift == 0) {
      if (sampled < sample_room) {
        sample[sampled++] = key;
      } else {
        sample.reset();
      }
    }
  };
  PositionLister<decltype(count)> lister(plies_, count);
  const int failed = ForEachGame(
      [&](int game, const std::uint8_t* block) {
        const auto start = static_cast<Handicap>(starts_[static_cast<std::size_t>(game - 1)]);
        MoveCode moves[kMaxMoves];
        const int end =
            DecodeThrough(format_, block, start, HandicapStartIndex(start) + plies_, moves);
        ends_[static_cast<std::size_t>(game - 1)] = static_cast<std::uint16_t>(end);
        lister.List(format_, block, start, end);
      },
      message);
  if (failed != 0) return 1;
  if (sample) {
    std::sort(sample.get(), sample.get() + sampled, [](const PositionKey& a, const PositionKey& b) {
      return a.Primary != b.Primary ? a.Primary < b.Primary : a.Secondary < b.Secondary;
    });
    sampled_distinct_ = static_cast<std::uint64_t>(
        std::unique(sample.get(), sample.get() + sampled) - sample.get());
    sampled_ = true;
  }
  return 0;
}

int IndexBuild::BucketBits() const {
  // The sample holds the positions whose key begins with a zero byte.
  const std::uint64_t distinct =
      sampled_ ? std::min(positions_, sampled_distinct_ << (64 - kSampleShift)) : positions_;
  int bits = kSliceBits;
  while (bits < kMaxBucketBits && (distinct >> bits) > kPositionsPerBucket) ++bits;
  return bits;
}

// A position of the sorted tuples `t`, `n` of them, one per game.
void WritePosition(PagedWriter& out, const Tuple* t, std::size_t n,
                   std::vector<std::uint16_t>& moves) {
  out.Byte(static_cast<std::uint8_t>(t[0].Primary));
  if (n == 1) {
    out.Varint(static_cast<std::uint64_t>(t[0].Game) << 1);
    return;
  }
  out.Varint(static_cast<std::uint64_t>(n) << 1 | 1);
  moves.clear();
  for (std::size_t i = 0; i < n; ++i) {
    const auto at = std::lower_bound(moves.begin(), moves.end(), CodeOf(t[i]));
    if (at == moves.end() || *at != CodeOf(t[i])) moves.insert(at, CodeOf(t[i]));
  }
  ByteCounter counter;
  PutPostings(counter, t, n, moves);
  out.Varint(counter.Bytes);
  PutPostings(out, t, n, moves);
}

int IndexBuild::WritePass(int first_slice, int last_slice, PagedWriter& out,
                          std::uint64_t entries_offset, std::string& message) {
  std::size_t n = 0;
  std::uint32_t game = 0;
  bool overflow = false;
  auto collect = [&](const PositionKey& key, int ply, MoveCode move) {
    const int slice = SliceOf(key.Primary);
    if (slice < first_slice || slice >= last_slice) return;
    if (n == capacity_) {
      overflow = true;
      return;
    }
    tuples_[n++] = Tuple{key.Primary, key.Secondary, game, static_cast<std::uint8_t>(ply),
                         move.to,     move.from,     0};
  };
  PositionLister<decltype(collect)> lister(plies_, collect);
  if (ForEachGame(
          [&](int number, const std::uint8_t* block) {
            game = static_cast<std::uint32_t>(number);
            const std::size_t g = static_cast<std::size_t>(number - 1);
            lister.List(format_, block, static_cast<Handicap>(starts_[g]), ends_[g]);
          },
          message) != 0)
    return 1;
  // The files changed under the build: its positions are not the first pass's.
  if (overflow) {
    message = kMessageMalformed;
    return 1;
  }
  Tuple* const t = tuples_.get();
  std::sort(t, t + n, [](const Tuple& a, const Tuple& b) {
    if (a.Primary != b.Primary) return a.Primary < b.Primary;
    return a.Secondary != b.Secondary ? a.Secondary < b.Secondary : a.Game < b.Game;
  });
  const int shift = 64 - bucket_bits_;
  const int per_slice = bucket_bits_ - kSliceBits;
  std::vector<std::uint16_t> moves;
  std::size_t i = 0;
  for (std::uint64_t bucket = std::uint64_t(first_slice) << per_slice;
       bucket < std::uint64_t(last_slice) << per_slice; ++bucket) {
    directory_[bucket] = out.Offset() - entries_offset;
    while (i < n && t[i].Primary >> shift == bucket) {
      std::size_t j = i + 1;
      while (j < n && SameKey(t[i], t[j])) ++j;
      WritePosition(out, &t[i], j - i, moves);
      ++distinct_;
      i = j;
    }
  }
  return 0;
}

int IndexBuild::Run(const DatabasePaths& paths, IndexBuildReport& report, std::string& message) {
  // The stamp comes first: a change while the build reads leaves the index stale.
  DatabaseStamp stamp;
  const bool stamped = StampOf(format_, paths, stamp);
  if (db_.Open(format_, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) !=
      0)
    return 1;
  if (!stamped) {
    message = kMessageMalformed;
    return 1;
  }
  count_ = db_.Count();
  total_ = 3 * static_cast<std::int64_t>(count_);
  if (ReadGames(message) != 0 || CountPass(message) != 0) return 1;
  bucket_bits_ = BucketBits();
  const std::uint64_t largest = *std::max_element(slice_positions_, slice_positions_ + kSlices);
  capacity_ = static_cast<std::size_t>(
      std::max(largest, std::min<std::uint64_t>(positions_, kTupleBudgetBytes / sizeof(Tuple))));
  tuples_ = TryAllocate<Tuple>(capacity_);
  if (!tuples_) {  // with less memory, more passes
    capacity_ = static_cast<std::size_t>(largest);
    tuples_ = TryAllocate<Tuple>(capacity_);
  }
  const std::uint64_t buckets = std::uint64_t{1} << bucket_bits_;
  directory_ = TryAllocate<std::uint64_t>(static_cast<std::size_t>(buckets + 1));
  if (!tuples_ || !directory_) {
    message = kMessageNoMemory;
    return 1;
  }
  std::vector<std::pair<int, int>> passes;
  for (int first = 0; first < kSlices;) {
    int last = first + 1;
    std::uint64_t taken = slice_positions_[first];
    while (last < kSlices && taken + slice_positions_[last] <= capacity_)
      taken += slice_positions_[last++];
    passes.emplace_back(first, last);
    first = last;
  }
  total_ = static_cast<std::int64_t>(count_) * static_cast<std::int64_t>(2 + passes.size());

  PagedWriter out;
  if (!out.Open(PositionIndexPath(format_, paths))) {
    message = kMessageCannotCreate;
    return 1;
  }
  for (int g = 0; g < count_; ++g) {
    Le32 rank;
    rank.Set(ranks_[static_cast<std::size_t>(g)]);
    out.Write(std::string_view(reinterpret_cast<const char*>(rank.Bytes), sizeof rank.Bytes));
  }
  out.Write(std::string_view(reinterpret_cast<const char*>(flags_.get()),
                             static_cast<std::size_t>(count_)));
  const std::uint64_t entries_offset = out.Offset();
  for (const auto& [first, last] : passes) {
    if (WritePass(first, last, out, entries_offset, message) != 0) return 1;
  }
  directory_[buckets] = out.Offset() - entries_offset;
  const std::uint64_t directory_offset = out.Offset();
  for (std::uint64_t b = 0; b <= buckets; ++b) {
    Le64 offset;
    offset.Set(directory_[b]);
    out.Write(std::string_view(reinterpret_cast<const char*>(offset.Bytes), sizeof offset.Bytes));
  }
  PositionIndexTrailer trailer{};
  std::memcpy(trailer.Magic, kPositionIndexMagic, sizeof trailer.Magic);
  trailer.Version.Set(kPositionIndexVersion);
  trailer.Kind.Set(static_cast<std::uint32_t>(format_.Kind));
  trailer.Plies.Set(static_cast<std::uint32_t>(plies_));
  trailer.BucketBits.Set(static_cast<std::uint32_t>(bucket_bits_));
  trailer.MainGames.Set(static_cast<std::uint32_t>(count_));
  SetStamp(stamp, trailer);
  trailer.Games.Set(static_cast<std::uint32_t>(count_));
  trailer.Positions.Set(positions_);
  trailer.Distinct.Set(distinct_);
  trailer.EntriesOffset.Set(entries_offset);
  trailer.DirectoryOffset.Set(directory_offset);
  trailer.PageSumsOffset.Set(out.Offset());
  trailer.LogBytes.Set(0);
  const std::uint64_t main_bytes = out.Offset();
  if (!out.Finish(trailer)) {
    message = kMessageCannotCreate;
    return 1;
  }
  report.Positions = static_cast<std::int64_t>(positions_);
  report.Distinct = static_cast<std::int64_t>(distinct_);
  report.Games = count_;
  report.Bytes =
      main_bytes + 8 * ((main_bytes + kIndexPageBytes - 1) / kIndexPageBytes) + sizeof trailer;
  if (progress_) progress_(total_, total_);
  return 0;
}

}  // namespace

int BuildPositionIndex(const DatabaseFormat& format, const DatabasePaths& paths, int plies,
                       const LoopProgress& progress, IndexBuildReport& report,
                       std::string& message) {
  report = IndexBuildReport{};
  // The build's tables are large; they live while it runs.
  const std::unique_ptr<IndexBuild> build(
      new (std::nothrow) IndexBuild(format, std::clamp(plies, 0, kMaxExplorerPlies), progress));
  if (!build) {
    message = kMessageNoMemory;
    return 1;
  }
  return build->Run(paths, report, message);
}

}  // namespace shogi
