// Paths are UTF-8 text on every system: the program's own file names ("棋士名.DAT") are
// written in its UTF-8 sources, and Windows takes them through its wide-character API. Every
// file opened outside platform/ by name goes through these, never through a narrow path.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

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

// A message that names a file: `format` with its "%s" replaced by `name` (as it stands when
// it has none).
inline std::string WithName(const char* format, const std::string& name) {
  std::string text(format);
  if (const std::size_t at = text.find("%s"); at != std::string::npos) text.replace(at, 2, name);
  return text;
}

// Whether something is there under `path` (a file, a folder): the name is taken. A path that
// cannot be looked at counts as free.
inline bool FileExists(const std::string& path) {
  std::error_code error;
  return std::filesystem::exists(FilePath(path), error);
}

// Whether `path` names a regular file (nothing there, a folder or a device: false).
inline bool IsRegularFile(const std::string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(FilePath(path), error);
}

// std::fopen of the UTF-8 path `path`.
std::FILE* OpenFile(const std::string& path, const char* mode);

// Whether the file at `path` opens for reading now (one that is there but refuses: false).
inline bool FileOpensForReading(const std::string& path) {
  std::FILE* f = OpenFile(path, "rb");
  if (f != nullptr) std::fclose(f);
  return f != nullptr;
}

}  // namespace shogi
