// Runs a fuzz target over saved inputs (files, or every file below directories), so that an
// ordinary build checks the corpus without libFuzzer.
#include <cstdint>
#include <cstdio>
#include <filesystem>

#include "tests/fuzz/fuzz_checks.h"
#include "tests/support/file_bytes.h"

namespace {

void RunFile(const std::filesystem::path& path) {
  const std::string bytes = shogi::test::FileBytes(path);
  LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

}  // namespace

int main(int argc, char** argv) {
  int count = 0;
  for (int i = 1; i < argc; ++i) {
    const std::filesystem::path root(argv[i]);
    if (std::filesystem::is_directory(root)) {
      for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        if (!entry.is_regular_file()) continue;
        RunFile(entry.path());
        ++count;
      }
    } else {
      RunFile(root);
      ++count;
    }
  }
  std::printf("%d inputs replayed\n", count);
  return count > 0 ? 0 : 1;  // an empty corpus means a wrong path, not a pass
}
