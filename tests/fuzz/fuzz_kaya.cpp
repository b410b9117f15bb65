// Fuzz target of the Kaya reader (game 1 of the bytes): a game read must come back the same
// from its own Kaya lines, and every game of the file must be listed.
#include <cstdint>
#include <string_view>

#include "records/kaya.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

void CheckKayaWriteBack(const shogi::GameRecord& record) {
  using namespace shogi;
  const GameRecord& again = fuzz::CheckRoundTrip(RecordFormat::kKaya, record);
  SHOGI_FUZZ_CHECK(again.ResultCode == record.ResultCode);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shogi::fuzz::CheckFormat(shogi::RecordFormat::kKaya,
                           std::string_view(reinterpret_cast<const char*>(data), size),
                           CheckKayaWriteBack);
  return 0;
}
