// Fuzz target of the KIF reader, with the line rules of a file and of a URL stream.
#include <cstdint>
#include <string>

#include "platform/byte_stream.h"
#include "records/kif.h"
#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace shogi;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static GameRecord record;
  for (KifSource source : {KifSource::kFile, KifSource::kUrl}) {
    record = fuzz::Sentinel();
    MemoryByteStream stream(bytes);
    std::string message;
    int rc = ReadKif(stream, record, message, source);
    fuzz::CheckRead(rc, message, record, kKifMoveLimit);
    if (rc == 0 && fuzz::IsSaneRecord(record)) fuzz::CheckKifRoundTrip(record);
  }
  return 0;
}
