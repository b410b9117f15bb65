// Files for the tests: a fresh folder that goes away with its contents, and a file's bytes.
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

// A fresh empty folder under the system's temporary folder, removed with everything in it
// when the object goes. A folder that cannot be made fails the test.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  // The folder's path with a trailing separator, ready for a file name.
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

}  // namespace shogi::test
