// Fuzz target of the CSA readers (file and URL line rules): a record read must also survive
// a CSA round trip with its times.
#include <cstdint>
#include <string_view>

#include "tests/fuzz/fuzz_checks.h"

namespace {

void CheckCsaWriteBack(const shogi::GameRecord& record) {
  using namespace shogi;
  const GameRecord& again = fuzz::CheckRoundTrip(RecordFormat::kCsa, record);
  // Results other than a win are all written as %CHUDAN.
  SHOGI_FUZZ_CHECK(SameRecord(again, record) || record.ResultCode > kResultSecondWins);
  for (int i = 0; i < kMaxMoves; ++i) SHOGI_FUZZ_CHECK(again.MoveTimes[i] == record.MoveTimes[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shogi::fuzz::CheckFormat(shogi::RecordFormat::kCsa,
                           std::string_view(reinterpret_cast<const char*>(data), size),
                           CheckCsaWriteBack);
  return 0;
}
