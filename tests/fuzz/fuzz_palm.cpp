// Fuzz target of the Palm file reader: a game read, stored again in a copy of the same file,
// must read back with its moves, and the copy must keep the header, the trailer and whatever
// bytes follow them.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "records/palm.h"
#include "tests/fuzz/fuzz_checks.h"
#include "tests/support/file_bytes.h"

namespace {

std::string_view g_bytes;

void CheckPalmWriteBack(const shogi::GameRecord& record) {
  using namespace shogi;
  static const std::string path =
      (std::filesystem::temp_directory_path() / ("fuzz_palm_" + std::to_string(getpid()) + ".PDB"))
          .string();
  test::PutFileBytes(path, g_bytes);
  const DatabaseNames names;
  std::string message;
  SHOGI_FUZZ_CHECK(WritePalm(path, names, record, message) == 0);
  const std::string written = test::FileBytes(path);
  SHOGI_FUZZ_CHECK(written.size() == g_bytes.size());
  SHOGI_FUZZ_CHECK(written.compare(0, 96, g_bytes.substr(0, 96)) == 0);
  SHOGI_FUZZ_CHECK(written.compare(648, std::string::npos, g_bytes.substr(648)) == 0);
  static GameRecord again;
  again = fuzz::Sentinel();
  SHOGI_FUZZ_CHECK(ReadPalm(path, names, again, message) == 0);
  std::remove(path.c_str());
  SHOGI_FUZZ_CHECK(again.InitialPosition == record.InitialPosition);
  SHOGI_FUZZ_CHECK(again.StartIndex == record.StartIndex);
  for (int i = 0; i < kMaxMoves; ++i) SHOGI_FUZZ_CHECK(again.MoveList[i] == record.MoveList[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  g_bytes = std::string_view(reinterpret_cast<const char*>(data), size);
  shogi::fuzz::CheckFormat(shogi::RecordFormat::kPalm, g_bytes, CheckPalmWriteBack);
  return 0;
}
