// Writing and reading the search list files.
#include "database/search_list.h"

#include <cstdio>

#include "database/little_endian.h"
#include "platform/replacing_file.h"
#include "records/record_io.h"

namespace shogi {

std::string SearchListPath(const DatabaseFormat& format, const std::string& folder) {
  return FolderFilePath(folder, format.SearchListFile);
}

int WriteSearchList(const std::string& path, const std::vector<int>& numbers,
                    std::string& message) {
  std::string bytes;
  bytes.reserve(numbers.size() * sizeof(Le32));
  for (int number : numbers) {
    Le32 entry;
    entry.Set(static_cast<std::uint32_t>(number));
    bytes.append(reinterpret_cast<const char*>(entry.Bytes), sizeof entry.Bytes);
  }
  if (WriteFileReplacing(path, bytes)) return 0;
  message = kMessageCannotCreate;
  return 1;
}

bool ReadSearchList(const std::string& path, std::size_t limit, std::vector<int>& numbers) {
  numbers.clear();
  std::FILE* file = std::fopen(path.c_str(), "rb");
  if (file == nullptr) return false;
  Le32 entries[4096];
  bool ended = false;
  while (!ended && numbers.size() < limit) {
    const std::size_t n = std::fread(entries, sizeof(Le32), std::size(entries), file);
    for (std::size_t i = 0; i < n && !ended && numbers.size() < limit; ++i) {
      const auto number = static_cast<std::int32_t>(entries[i].Get());
      ended = number < 1;
      if (!ended) numbers.push_back(number);
    }
    ended = ended || n < std::size(entries);
  }
  std::fclose(file);
  return true;
}

}  // namespace shogi
