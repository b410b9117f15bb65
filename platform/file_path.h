// Paths are UTF-8 text on every system: the program's own file names ("棋士名.DAT") are
// written in its UTF-8 sources, and Windows takes them through its wide-character API. Every
// file opened outside platform/ by name goes through these, never through a narrow path.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>

namespace shogi {

// The path of the UTF-8 text `path`, for std::filesystem and the standard streams.
inline std::filesystem::path FilePath(const std::string& path) {
  return std::filesystem::path(
      std::u8string(reinterpret_cast<const char8_t*>(path.data()), path.size()));
}

// The UTF-8 text of `path`.
inline std::string PathText(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(reinterpret_cast<const char*>(text.data()), text.size());
}

// std::fopen of the UTF-8 path `path`.
std::FILE* OpenFile(const std::string& path, const char* mode);

}  // namespace shogi
