// Temporary folders and file bytes for the tests.
#include "tests/support/test_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <random>

#include "platform/file_path.h"

namespace shogi::test {

// A new folder of a random name under the system's temporary folder (created, never one
// that existed).
TempFolder::TempFolder() {
  std::random_device random;
  const std::filesystem::path base = std::filesystem::temp_directory_path();
  for (int attempt = 0; attempt < 100; ++attempt) {
    const std::filesystem::path folder = base / ("shogi_test_" + std::to_string(random()));
    std::error_code error;
    if (std::filesystem::create_directory(folder, error)) {
      path_ = PathText(folder) + "/";
      return;
    }
  }
  ADD_FAILURE() << "cannot make a folder in " << base.string();
}

TempFolder::~TempFolder() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

}  // namespace shogi::test
