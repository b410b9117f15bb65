// A file's bytes, for the tests and for the fuzz targets (which do without GoogleTest).
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace shogi::test {

// The bytes of the file at `path`; empty when it cannot be read.
std::string FileBytes(const std::string& path);
inline std::string FileBytes(const char* path) {
  return FileBytes(std::string(path));
}
inline std::string FileBytes(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return FileBytes(std::string(text.begin(), text.end()));
}
// Writes `bytes` to the file at `path`, replacing what it held.
void PutFileBytes(const std::string& path, std::string_view bytes);

}  // namespace shogi::test
