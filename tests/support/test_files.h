// Files for the tests: a fresh folder that goes away with its contents, and a file's bytes.
#pragma once

#include <filesystem>
#include <string>

#include "tests/support/file_bytes.h"

namespace shogi::test {

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
