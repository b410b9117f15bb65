// Writing and reading the search list files.
#include "database/search_list.h"

#include <algorithm>

#include "database_files/little_endian.h"
#include "records/record_io.h"

namespace shogi {

std::string SearchListPath(const DatabaseFormat& format, const std::string& folder) {
  return FolderFilePath(folder, format.SearchListFile);
}

bool SearchListWriter::Open(const std::string& path) {
  count_ = 0;
  return file_.Open(path);
}

bool SearchListWriter::Add(int number) {
  if (count_ >= kMaxSearchListEntries) return false;
  Le32 entry;
  entry.Set(static_cast<std::uint32_t>(number));
  ++count_;
  return file_.Write({reinterpret_cast<const char*>(entry.Bytes), sizeof entry.Bytes});
}

bool SearchListWriter::Commit() {
  return file_.Commit();
}

bool SearchListReader::Read(std::int64_t first, int n, std::int32_t* numbers) const {
  constexpr int kPiece = 1024;
  Le32 entries[kPiece];
  for (int done = 0; done < n;) {
    const int piece = std::min(kPiece, n - done);
    if (!file_.ReadAt(static_cast<std::uint64_t>(first + done) * sizeof(Le32), entries,
                      static_cast<std::size_t>(piece) * sizeof(Le32)))
      return false;
    for (int i = 0; i < piece; ++i) numbers[done + i] = static_cast<std::int32_t>(entries[i].Get());
    done += piece;
  }
  return true;
}

bool SearchListReader::Count(int limit, int& count) const {
  count = 0;
  std::uint64_t size = 0;
  if (!file_.Size(size)) return false;
  const std::int64_t in_file = static_cast<std::int64_t>(
      std::min<std::uint64_t>(size / sizeof(Le32), kMaxSearchListEntries));
  const int most = static_cast<int>(std::min<std::int64_t>(std::max(limit, 0), in_file));
  constexpr int kPiece = 4096;
  std::int32_t numbers[kPiece];
  while (count < most) {
    const int n = std::min(kPiece, most - count);
    if (!Read(count, n, numbers)) return false;
    for (int i = 0; i < n; ++i, ++count) {
      if (numbers[i] < 1) return true;
    }
  }
  return true;
}

bool CountSearchList(const std::string& path, int limit, int& count) {
  SearchListReader reader;
  count = 0;
  return reader.Open(path) && reader.Count(limit, count);
}

int WriteWholeSearchList(const std::string& path, int count, std::string& message) {
  SearchListWriter list;
  bool written = list.Open(path);
  for (int n = 1; written && n <= count; ++n) written = list.Add(n);
  if (written && list.Commit()) return 0;
  message = kMessageCannotCreate;
  return 1;
}

}  // namespace shogi
