// The handicap positions and the lookups between them and their numbers.
#include "rules/handicap.h"

namespace shogi {

std::optional<Handicap> HandicapOfNumber(HandicapScheme scheme, int number) {
  if (number == kNoHandicapNumber) return std::nullopt;
  for (const HandicapRow& row : kHandicaps) {
    if (row.Number[static_cast<int>(scheme)] == number) return row.Id;
  }
  return std::nullopt;
}

Position HandicapPosition(Handicap h) {
  const HandicapRow& row = HandicapRowOf(h);
  Position pos = kInitialPosition;
  for (Square s = 1; s <= 27; ++s) {
    if (row.Emptied & SquareSet({s})) pos.Board[s] = 0;
  }
  pos.Hand[kSecond][kPawn] = static_cast<std::int8_t>(row.SecondHandPawns);
  return pos;
}

std::optional<Handicap> MatchHandicap(const Position& pos, int start_index, HandicapScheme scheme) {
  for (const HandicapRow& row : kHandicaps) {
    if (row.Number[static_cast<int>(scheme)] == kNoHandicapNumber) continue;
    if (HandicapStartIndex(row.Id) != start_index) continue;
    if (HandicapPosition(row.Id) == pos) return row.Id;
  }
  return std::nullopt;
}

}  // namespace shogi
