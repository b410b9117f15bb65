// The compiled search pattern and the searched ply of a game record.
#include "database_files/position_pattern.h"

#include "database_files/index_fields.h"

namespace shogi {
namespace {

constexpr int kTurnedShift = 16;  // the turned pattern's count sits in the high half
constexpr int kNeverZero = 1 << kTurnedShift;

// The piece code that table index `slot` stands for.
constexpr int PieceOfSlot(int slot) {
  return slot < 16 ? slot : slot - 32;
}

}  // namespace

PositionPattern::PositionPattern(PositionMode mode, const Position& target)
    : mode_(static_cast<int>(mode) >= 0 && static_cast<int>(mode) < kPositionModeCount
                ? mode
                : PositionMode::kNone) {
  for (Square s = 0; s <= kSquareCount; ++s) {
    // Square 0 is no square: it never disagrees.
    const int wanted = s == 0 ? 0 : target.Board[s];
    // The turned pattern has -p on square 82 - s where the pattern has p on s.
    const int turned = s == 0 ? 0 : -target.Board[kSquareCount + 1 - s];
    const bool compared = s != 0 && (mode_ == PositionMode::kSame || wanted != 0);
    const bool turned_compared = s != 0 && mode_ == PositionMode::kSimilarOrReversed && turned != 0;
    for (int slot = 0; slot < 32; ++slot) {
      const int piece = PieceOfSlot(slot);
      table_[s][slot] = (compared && piece != wanted ? 1 : 0) +
                        (turned_compared && piece != turned ? 1 << kTurnedShift : 0);
    }
  }
  for (int h = 0; h < kHandicapCount; ++h) {
    starts_[h] = HandicapPosition(static_cast<Handicap>(h));
    start_counts_[h] = CountOf(starts_[h]);
  }
}

int PositionPattern::CountOf(const Position& pos) const {
  int count = mode_ == PositionMode::kSimilarOrReversed ? 0 : kNeverZero;
  for (Square s = 1; s <= kSquareCount; ++s) count += table_[s][Slot(pos.Board[s])];
  return count;
}

int SearchedPly(const GameRecord& record, const PositionPattern& pattern) {
  if (!pattern.Active()) return -1;
  Position pos = record.InitialPosition;
  const int end = RecordEndPly(record);
  for (int ply = record.StartIndex; ply < end && ply < kBlockSlots; ++ply) {
    if (pattern.Matches(pos)) return ply;
    ApplyMove(pos, record.MoveList[ply], SideOfPly(ply));
  }
  return -1;
}

}  // namespace shogi
