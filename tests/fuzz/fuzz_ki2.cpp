// Fuzz target of the KI2 reader: every move it reads must come back from its own KI2 text.
#include <cstdint>
#include <string>
#include <string_view>

#include "records/ki2_notation.h"
#include "records/notation.h"
#include "tests/fuzz/fuzz_checks.h"

namespace {

void CheckKi2Notation(const shogi::GameRecord& record) {
  using namespace shogi;
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
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shogi::fuzz::CheckFormat(shogi::RecordFormat::kKi2,
                           std::string_view(reinterpret_cast<const char*>(data), size),
                           CheckKi2Notation);
  return 0;
}
