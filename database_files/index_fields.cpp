// Stored index fields into a game record, and the result a registration stores.
#include "database_files/index_fields.h"

#include <algorithm>

#include "platform/cp932.h"

namespace shogi {
namespace {

int HighestNumber(HandicapScheme scheme) {
  int highest = 0;
  for (const HandicapRow& row : kHandicaps)
    highest = std::max(highest, row.Number[static_cast<int>(scheme)]);
  return highest;
}

// `value` when it lies in lo..hi, else 0.
constexpr int ZeroUnless(int value, int lo, int hi) {
  return value >= lo && value <= hi ? value : 0;
}

}  // namespace

Handicap HandicapOfStoredCode(HandicapScheme scheme, int code) {
  const int number = std::clamp(code, 0, HighestNumber(scheme));
  // Every number from 0 to the highest names a start position in both database schemes.
  return HandicapOfNumber(scheme, number).value_or(Handicap::kEven);
}

Handicap ApplyIndexFields(const IndexFields& fields, HandicapScheme scheme, GameRecord& record) {
  CopyCp932Field(record.FirstName, fields.FirstPlayer);
  CopyCp932Field(record.SecondName, fields.SecondPlayer);
  CopyCp932Field(record.Tournament, fields.Tournament);
  CopyCp932Field(record.Opening, fields.Opening);
  record.GameNumber = ZeroUnless(fields.GameNumber, 0, 9);
  record.Year = fields.Year;
  record.Month = fields.Month;
  record.Day = fields.Day;
  record.ResultCode = ZeroUnless(fields.Result, kResultNone, kResultImpasseLater);
  const Handicap start = HandicapOfStoredCode(scheme, fields.HandicapCode);
  record.InitialPosition = HandicapPosition(start);
  record.StartIndex = HandicapStartIndex(start);
  return start;
}

int StoredResult(const GameRecord& record, int slots_used) {
  const bool cut = slots_used == kBlockSlots && kBlockSlots < kMaxMoves &&
                   !IsEndMarker(record.MoveList[kBlockSlots]);
  if (cut && record.ResultCode >= kResultFirstWins && record.ResultCode <= kResultImpasse)
    return record.ResultCode + (kResultFirstWinsLater - kResultFirstWins);
  return record.ResultCode;
}

}  // namespace shogi
