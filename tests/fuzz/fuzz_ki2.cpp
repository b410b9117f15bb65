// Fuzz target of the KI2 reader: every move it reads must come back from its own KI2 text,
// and the record must survive a KIF round trip.
#include <cstdint>
#include <string>

#include "platform/byte_stream.h"
#include "records/ki2.h"
#include "records/ki2_notation.h"
#include "records/notation.h"
#include "tests/fuzz/fuzz_checks.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace shogi;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  static GameRecord record;
  record = fuzz::Sentinel();
  MemoryByteStream stream(bytes);
  std::string message;
  int rc = ReadKi2(stream, record, message);
  fuzz::CheckRead(rc, message, record, kKi2MoveLimit);
  if (rc != 0) return 0;
  SHOGI_FUZZ_CHECK(fuzz::IsSaneRecord(record));
  const NotationTables& t = Notation();
  Position pos = record.InitialPosition;
  int previous = 0;
  for (int i = record.StartIndex; i < RecordEndPly(record); ++i) {
    const Side side = SideOfPly(i);
    std::string text = FormatKi2Move(record, i, side == kFirst ? t.sente_mark : t.gote_mark);
    SHOGI_FUZZ_CHECK(text.size() == kKi2MoveFieldWidth);
    text.resize(2 + 13);  // as much of the field as the reader takes into one token
    MoveCode m;
    SHOGI_FUZZ_CHECK(ParseKi2Move(text, pos, side, previous, m));
    SHOGI_FUZZ_CHECK(m == record.MoveList[i]);
  }
  fuzz::CheckKifRoundTrip(record);
  return 0;
}
