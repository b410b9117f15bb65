// The book lookup: one table entry, one bucket, one record.
#include "analysis/book_lookup.h"

#include <cstdio>

#include "analysis/book_format.h"
#include "platform/file_path.h"
#include "platform/record_file.h"
#include "rules/game_record.h"
#include "rules/move_rules.h"

namespace shogi {
namespace {

std::uint32_t Le16At(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32At(const std::uint8_t* p) {
  return Le16At(p) | Le16At(p + 2) << 16;
}
std::uint64_t Le64At(const std::uint8_t* p) {
  return Le32At(p) | static_cast<std::uint64_t>(Le32At(p + 4)) << 32;
}

// The record of `key` among the records of a bucket: its move entries, or nothing.
bool FindRecord(const std::vector<std::uint8_t>& bucket, std::uint64_t key, std::size_t& entries,
                int& count) {
  for (std::size_t at = 0; at < bucket.size();) {
    const int size = bucket[at];
    const int n = (size - kBookRecordHeadBytes) / kBookEntryBytes;
    // A record too short for its own head, or running past its bucket, ends the search.
    if (size < kBookRecordHeadBytes || at + static_cast<std::size_t>(size) > bucket.size())
      return false;
    if (n > kBookMaxMoves) return false;
    if (Le64At(&bucket[at + 1]) == key) {
      entries = at + kBookRecordHeadBytes;
      count = n;
      return true;
    }
    at += static_cast<std::size_t>(size);
  }
  return false;
}

}  // namespace

std::string BookShareText(std::uint16_t frequency, std::uint32_t total) {
  if (frequency == kBookWholeFrequency) return "100";
  char text[32];
  std::snprintf(text, sizeof text, "%12.7f", frequency * 100.0 / total);
  return text;
}

int LookUpBook(const std::string& path, const Position& pos, Side to_move,
               std::vector<BookMoveShare>& moves, std::string& message) {
  moves.clear();
  RecordFile file;
  if (!file.Open(path, RecordFile::Mode::kRead)) {
    message = WithName("%sがアクセス出来ません。", path);
    return 1;
  }
  const BookKey key = BookKeyOf(pos, to_move);
  std::uint8_t entry[kBookTableEntryBytes];
  if (!file.ReadAt(static_cast<std::uint64_t>(BookBucketOf(key.Key)) * kBookTableEntryBytes, entry,
                   sizeof entry)) {
    message = WithName("fseek errror(%s)", path);
    return 1;
  }
  std::vector<std::uint8_t> bucket(Le16At(entry + 4));
  if (!bucket.empty() && !file.ReadAt(Le32At(entry), bucket.data(), bucket.size())) {
    message = WithName("fseek errror(%s)", path);
    return 1;
  }
  std::size_t entries = 0;
  int count = 0;
  std::uint32_t total = 0;
  if (FindRecord(bucket, key.Key, entries, count)) {
    for (int i = 0; i < count; ++i) total += Le16At(&bucket[entries + 4 * i + 2]);
  }
  if (total == 0) {
    message = kMessageBookPositionMissing;
    return 1;
  }
  for (int i = 0; i < count; ++i) {
    const std::uint8_t* e = &bucket[entries + 4 * i];
    BookMoveShare share;
    share.Frequency = static_cast<std::uint16_t>(Le16At(e + 2));
    if (!MoveOfBookMove(static_cast<std::uint16_t>(Le16At(e)), to_move, key.Mirrored, share.Move) ||
        !IsWellFormedMove(share.Move) || !IsPlayableMove(pos, to_move, share.Move))
      continue;
    share.Share = BookShareText(share.Frequency, total);
    moves.push_back(share);
  }
  if (moves.empty()) {
    message = kMessageBookPositionMissing;
    return 1;
  }
  return 0;
}

}  // namespace shogi
