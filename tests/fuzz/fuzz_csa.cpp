// Fuzz target of the CSA readers (file and URL line rules): a record read must survive a
// CSA round trip with its times, and a KIF one.
#include <cstdint>
#include <string>

#include "platform/byte_stream.h"
#include "records/csa.h"
#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace shogi;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static GameRecord record, again;
  for (bool url : {false, true}) {
    record = fuzz::Sentinel();
    MemoryByteStream stream(bytes);
    std::string message;
    int rc = url ? ReadCsaUrl(stream, record, message) : ReadCsa(stream, record, message);
    fuzz::CheckRead(rc, message, record, kCsaMoveLimit);
    if (rc != 0) continue;
    std::string written;
    SHOGI_FUZZ_CHECK(FormatCsa(record, true, written, message));
    MemoryByteStream written_stream(written);
    again = fuzz::Sentinel();
    SHOGI_FUZZ_CHECK(ReadCsa(written_stream, again, message) == 0);
    SHOGI_FUZZ_CHECK(again.InitialPosition == record.InitialPosition);
    SHOGI_FUZZ_CHECK(again.StartIndex == record.StartIndex);
    SHOGI_FUZZ_CHECK(SameRecord(again, record) || record.ResultCode > kResultSecondWins);
    for (int i = 0; i < kMaxMoves; ++i) {
      SHOGI_FUZZ_CHECK(again.MoveList[i] == record.MoveList[i]);
      SHOGI_FUZZ_CHECK(again.MoveTimes[i] == record.MoveTimes[i]);
    }
    if (!url && fuzz::IsSaneRecord(record)) fuzz::CheckKifRoundTrip(record);
  }
  return 0;
}
