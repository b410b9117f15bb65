// Fuzz target of the CSA readers (file and URL line rules): a record read must also survive
// a CSA round trip with its times.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "tests/fuzz/fuzz_checks.h"

namespace {

bool HoldsPiecesInHand(const shogi::Position& pos) {
  for (const auto& hand : pos.Hand)
    for (int type = shogi::kPawn; type <= shogi::kRook; ++type)
      if (hand[type] != 0) return true;
  return false;
}

void CheckCsaWriteBack(const shogi::GameRecord& record) {
  using namespace shogi;
  if (HoldsPiecesInHand(record.InitialPosition)) {
    // Hands are read ("P+00FU", "00AL") but the file we write has none: the writer refuses.
    std::string bytes, message;
    SHOGI_FUZZ_CHECK(
        RecordFormatRowOf(RecordFormat::kCsa).FormatBytes(record, true, bytes, message) == 1);
    return;
  }
  static GameRecord again;
  again = fuzz::CheckRoundTrip(RecordFormat::kCsa, record);
  // The "$" headers are read but not written.
  std::memcpy(again.Tournament, record.Tournament, sizeof again.Tournament);
  std::memcpy(again.Opening, record.Opening, sizeof again.Opening);
  again.Year = record.Year, again.Month = record.Month, again.Day = record.Day;
  if (!fuzz::NamesAreCp932Text(record)) {
    std::memcpy(again.FirstName, record.FirstName, sizeof again.FirstName);
    std::memcpy(again.SecondName, record.SecondName, sizeof again.SecondName);
  }
  // Results other than a win are all written as %CHUDAN.
  SHOGI_FUZZ_CHECK(SameRecord(again, record) || record.ResultCode > kResultSecondWins ||
                   fuzz::SideToMoveWon(record));
  for (int i = 0; i < kMaxMoves; ++i) SHOGI_FUZZ_CHECK(again.MoveTimes[i] == record.MoveTimes[i]);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  shogi::fuzz::CheckFormat(shogi::RecordFormat::kCsa,
                           std::string_view(reinterpret_cast<const char*>(data), size),
                           CheckCsaWriteBack);
  return 0;
}
