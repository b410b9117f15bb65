// The search list files of the program folder (KENSAKU.DAT for the Kisen database, 検索.DAT
// for the Tarvel one): the numbers of the games a search kept, of every game, or of the
// duplicate check's pairs, four bytes each, little-endian. The list ends at the end of the
// file or at the first number below 1.
//
// A list may be as long as SearchCount allows (2^31 - 1 entries), so it is never held in
// memory: it is written one number at a time and read a piece at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "database_files/database_format.h"
#include "platform/buffered_replacing_file.h"
#include "platform/record_file.h"

namespace shogi {

// The most entries a list may have: SearchCount is an int.
constexpr std::int64_t kMaxSearchListEntries = 0x7FFFFFFF;

// The search list file of `format` in `folder` (the program folder, ending in a separator).
std::string SearchListPath(const DatabaseFormat& format, const std::string& folder);

// A list being written: the numbers go through a buffer into a file beside the list, which
// replaces the old list only at Commit; until then, and after any failure, the old list
// stays as it was.
class SearchListWriter {
 public:
  [[nodiscard]] bool Open(const std::string& path);
  // Appends `number` (at least 1); false once a write failed or the list is full.
  [[nodiscard]] bool Add(int number);
  [[nodiscard]] bool Commit();
  std::int64_t Count() const { return count_; }

 private:
  BufferedReplacingFile file_;
  std::int64_t count_ = 0;
};

// A list file read in place, a piece at a time.
class SearchListReader {
 public:
  [[nodiscard]] bool Open(const std::string& path) {
    return file_.Open(path, RecordFile::Mode::kRead);
  }
  // Entries first..first+n-1 (0-based) into `numbers`; false when the file ends first.
  [[nodiscard]] bool Read(std::int64_t first, int n, std::int32_t* numbers) const;
  // The number of entries, at most `limit`: up to the end of the file or the first number
  // below 1.
  [[nodiscard]] bool Count(int limit, int& count) const;

 private:
  RecordFile file_;
};

// The number of entries of the list at `path`, at most `limit`. False when the file cannot be
// read.
[[nodiscard]] bool CountSearchList(const std::string& path, int limit, int& count);

// Calls `visit(number)` for each of the first `count` entries of the list at `path`, in
// order; stops when `visit` returns false. False when the file cannot be read or `visit`
// stopped.
template <class Visit>
[[nodiscard]] bool ForEachSearchListEntry(const std::string& path, int count, Visit visit) {
  constexpr int kPiece = 4096;
  if (count <= 0) return true;
  SearchListReader reader;
  if (!reader.Open(path)) return false;
  std::int32_t numbers[kPiece];
  for (int first = 0; first < count; first += kPiece) {
    const int n = count - first < kPiece ? count - first : kPiece;
    if (!reader.Read(first, n, numbers)) return false;
    for (int i = 0; i < n; ++i) {
      if (!visit(static_cast<int>(numbers[i]))) return false;
    }
  }
  return true;
}

// Writes the list 1..count (every game) at `path`. 0; or 1 with "ファイルが作成できません。"
// and the old list as it was.
[[nodiscard]] int WriteWholeSearchList(const std::string& path, int count, std::string& message);

}  // namespace shogi
