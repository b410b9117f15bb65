// The search list files of the program folder (KENSAKU.DAT for the Kisen database, 検索.DAT
// for the Tarvel one): the numbers of the games a search kept, or of every game, in
// ascending order, four bytes each, little-endian. The list ends at the end of the file or
// at the first number below 1.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "database/database_format.h"

namespace shogi {

// The search list file of `format` in `folder` (the program folder, ending in a separator).
std::string SearchListPath(const DatabaseFormat& format, const std::string& folder);

// Writes `numbers` as the list at `path`, replacing the old list only once the new one is
// whole. 0; or 1 with "ファイルが作成できません。" and the old list as it was.
[[nodiscard]] int WriteSearchList(const std::string& path, const std::vector<int>& numbers,
                                  std::string& message);

// The entries of the list at `path`, at most `limit` of them. False (and no entries) when
// the file cannot be read.
[[nodiscard]] bool ReadSearchList(const std::string& path, std::size_t limit,
                                  std::vector<int>& numbers);

}  // namespace shogi
