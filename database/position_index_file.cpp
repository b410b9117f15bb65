// The position index file: checksums, the database stamp, numbers and the checked reader.
#include "database/position_index_file.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "database/game_database.h"
#include "platform/file_path.h"

namespace shogi {
namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ull;

constexpr std::uint64_t Rotate(std::uint64_t x, int bits) {
  return x << bits | x >> (64 - bits);
}

std::uint64_t Word(const std::uint8_t* bytes) {
  std::uint64_t w = 0;
  for (int i = 7; i >= 0; --i) w = w << 8 | bytes[i];
  return w;
}

// The modification time of `path` in nanoseconds and its size.
bool FileStamp(const std::string& path, std::uint64_t& bytes, std::int64_t& time) {
  std::error_code error;
  bytes = std::filesystem::file_size(FilePath(path), error);
  if (error) return false;
  const auto written = std::filesystem::last_write_time(FilePath(path), error);
  if (error) return false;
  time = std::chrono::duration_cast<std::chrono::nanoseconds>(written.time_since_epoch()).count();
  return true;
}

}  // namespace

std::uint64_t Checksum64(const std::uint8_t* bytes, std::size_t size) {
  std::uint64_t a = 0x243F6A8885A308D3ull ^ size, b = 0x13198A2E03707344ull;
  std::size_t i = 0;
  for (; i + 16 <= size; i += 16) {
    a = Rotate(a ^ Word(bytes + i) * kMultiplier, 29) * 0xBF58476D1CE4E5B9ull;
    b = Rotate(b ^ Word(bytes + i + 8) * kMultiplier, 31) * 0x94D049BB133111EBull;
  }
  std::uint8_t tail[16] = {};
  std::memcpy(tail, bytes + i, size - i);
  a = Rotate(a ^ Word(tail) * kMultiplier, 29) * 0xBF58476D1CE4E5B9ull;
  b = Rotate(b ^ Word(tail + 8) * kMultiplier, 31) * 0x94D049BB133111EBull;
  const std::uint64_t h = a ^ Rotate(b, 17);
  return (h ^ (h >> 31)) * kMultiplier;
}

std::string PositionIndexPath(const DatabaseFormat& format, const DatabasePaths& paths) {
  return paths.Index(format) + (paths.LowerCase ? ".pix" : ".PIX");
}

bool StampOf(const DatabaseFormat& format, const DatabasePaths& paths, DatabaseStamp& stamp) {
  std::string message;
  if (DatabaseGameCount(format, paths, stamp.Games, message) != 0) return false;
  return FileStamp(paths.Index(format), stamp.IndexBytes, stamp.IndexTime) &&
         FileStamp(paths.Moves(format), stamp.MovesBytes, stamp.MovesTime);
}

DatabaseStamp StampOf(const PositionIndexTrailer& trailer) {
  DatabaseStamp stamp;
  stamp.IndexBytes = trailer.IndexBytes.Get();
  stamp.MovesBytes = trailer.MovesBytes.Get();
  stamp.IndexTime = static_cast<std::int64_t>(trailer.IndexTime.Get());
  stamp.MovesTime = static_cast<std::int64_t>(trailer.MovesTime.Get());
  stamp.Games = static_cast<int>(trailer.Games.Get());
  return stamp;
}

void SetStamp(const DatabaseStamp& stamp, PositionIndexTrailer& trailer) {
  trailer.IndexBytes.Set(stamp.IndexBytes);
  trailer.MovesBytes.Set(stamp.MovesBytes);
  trailer.IndexTime.Set(static_cast<std::uint64_t>(stamp.IndexTime));
  trailer.MovesTime.Set(static_cast<std::uint64_t>(stamp.MovesTime));
  trailer.Games.Set(static_cast<std::uint32_t>(stamp.Games));
}

void SealTrailer(PositionIndexTrailer& trailer) {
  trailer.Checksum.Set(Checksum64(reinterpret_cast<const std::uint8_t*>(&trailer),
                                  offsetof(PositionIndexTrailer, Checksum)));
}

void PutVarint(std::string& out, std::uint64_t value) {
  while (value >= 0x80) {
    out += static_cast<char>(value | 0x80);
    value >>= 7;
  }
  out += static_cast<char>(value);
}

bool GetLongVarint(const std::uint8_t*& p, const std::uint8_t* end, std::uint64_t& value) {
  value = 0;
  for (int shift = 0; shift < 64; shift += 7) {
    if (p == end) return false;
    const std::uint8_t byte = *p++;
    value |= static_cast<std::uint64_t>(byte & 0x7F) << shift;
    if (byte < 0x80) return true;
  }
  return false;
}

bool CheckedIndexFile::Open(const std::string& path, bool& damaged) {
  damaged = false;
  std::error_code error;
  if (!std::filesystem::exists(FilePath(path), error)) return false;
  damaged = true;
  std::uint64_t size = 0;
  if (!file_.Open(path, RecordFile::Mode::kRead) || !file_.Size(size) || size < sizeof trailer_ ||
      !file_.ReadAt(size - sizeof trailer_, &trailer_, sizeof trailer_))
    return false;
  const PositionIndexTrailer& t = trailer_;
  if (std::memcmp(t.Magic, kPositionIndexMagic, sizeof t.Magic) != 0 ||
      t.Version.Get() != kPositionIndexVersion ||
      t.Checksum.Get() != Checksum64(reinterpret_cast<const std::uint8_t*>(&t),
                                     offsetof(PositionIndexTrailer, Checksum)))
    return false;
  // The parts must follow one another inside the file.
  const std::uint64_t games = t.MainGames.Get(), bits = t.BucketBits.Get();
  const std::uint64_t sums_offset = t.PageSumsOffset.Get();
  if (t.EntriesOffset.Get() != 5 * games || bits < kSliceBits || bits > kMaxBucketBits ||
      t.DirectoryOffset.Get() < t.EntriesOffset.Get() || sums_offset > size ||
      sums_offset - t.DirectoryOffset.Get() != 8 * ((std::uint64_t{1} << bits) + 1))
    return false;
  pages_ = (sums_offset + kIndexPageBytes - 1) / kIndexPageBytes;
  log_offset_ = sums_offset + 8 * pages_;
  if (log_offset_ > size || t.LogBytes.Get() != size - sizeof trailer_ - log_offset_) return false;
  sums_ = TryAllocate<std::uint64_t>(pages_);
  std::unique_ptr<std::uint8_t[]> bytes = TryAllocate<std::uint8_t>(8 * pages_);
  if (!sums_ || !bytes || !file_.ReadAt(sums_offset, bytes.get(), 8 * pages_) ||
      Checksum64(bytes.get(), 8 * pages_) != t.PageSumsChecksum.Get())
    return false;
  for (std::uint64_t i = 0; i < pages_; ++i) sums_[i] = Word(&bytes[8 * i]);
  damaged = false;
  return true;
}

const std::uint8_t* CheckedIndexFile::Read(std::uint64_t offset, std::uint64_t size,
                                           std::unique_ptr<std::uint8_t[]>& buffer) const {
  const std::uint64_t end = trailer_.PageSumsOffset.Get();
  if (offset > end || size > end - offset) return nullptr;
  const std::uint64_t first = offset / kIndexPageBytes;
  const std::uint64_t last = size == 0 ? first : (offset + size - 1) / kIndexPageBytes;
  const std::uint64_t from = first * kIndexPageBytes;
  const std::uint64_t bytes = std::min(end, (last + 1) * kIndexPageBytes) - from;
  buffer = TryAllocate<std::uint8_t>(static_cast<std::size_t>(bytes));
  if (!buffer || !file_.ReadAt(from, buffer.get(), static_cast<std::size_t>(bytes))) return nullptr;
  for (std::uint64_t page = first; page <= last && page < pages_; ++page) {
    const std::uint64_t at = page * kIndexPageBytes - from;
    const std::uint64_t length = std::min(kIndexPageBytes, bytes - at);
    if (Checksum64(&buffer[at], static_cast<std::size_t>(length)) != sums_[page]) return nullptr;
  }
  return &buffer[offset - from];
}

const std::uint8_t* CheckedIndexFile::ReadLog(std::unique_ptr<std::uint8_t[]>& buffer) const {
  const std::uint64_t bytes = trailer_.LogBytes.Get();
  buffer = TryAllocate<std::uint8_t>(static_cast<std::size_t>(bytes));
  if (!buffer || (bytes > 0 && !file_.ReadAt(log_offset_, buffer.get(), bytes))) return nullptr;
  return buffer.get();
}

const std::uint8_t* IndexPageCursor::Load(std::uint64_t offset) {
  const std::uint64_t first = offset / kIndexPageBytes * kIndexPageBytes;
  page_ = file_.Read(first, 1, buffer_);
  if (page_ == nullptr) return nullptr;
  first_ = first;
  last_ = std::min(first + kIndexPageBytes, file_.Trailer().PageSumsOffset.Get());
  return page_ + (offset - first_);
}

std::uint8_t GameFlags(int stored_result, Handicap start) {
  return static_cast<std::uint8_t>(static_cast<int>(ShareOfResult(stored_result)) |
                                   (HandicapStartIndex(start) == 1 ? kFlagHandicapStart : 0));
}

}  // namespace shogi
