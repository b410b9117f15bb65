// The board a position search looks for and how a game's position is compared with it:
// similar (the searched pieces stand on their squares), similar or turned round, or the same
// board. Pieces in hand are never compared.
#pragma once

#include <cstdint>

#include "rules/game_record.h"
#include "rules/handicap.h"

namespace shogi {

// The position modes, numbered as the search dialog's 局面 combo lists them.
enum class PositionMode : int {
  kNone = 0,               // 不要: no position condition
  kSimilarOrReversed = 1,  // 類似局面（反転を含む）
  kSimilar = 2,            // 類似局面（反転を除く）
  kSame = 3,               // 同一局面
};
constexpr int kPositionModeCount = 4;

// The combo's texts, by mode (UTF-8).
inline constexpr const char* kPositionModeTexts[kPositionModeCount] = {
    "不要", "類似局面（反転を含む）", "類似局面（反転を除く）", "同一局面"};

// A searched board and mode, compiled for fast comparison. A game position is scored by a
// count of the squares that disagree with the pattern: the low 16 bits count the squares of
// the pattern as it stands, the high 16 bits those of the pattern turned round (mode 1; in
// the other modes the high half never reaches 0). The position matches when either half is 0.
// A move changes the count through Change() on the squares it touches, so a replay keeps
// the count as it goes instead of comparing whole boards.
class PositionPattern {
 public:
  // Mode kNone (or a mode outside 0..3) matches nothing: the search has no position condition.
  PositionPattern(PositionMode mode, const Position& target);

  bool Active() const { return mode_ != PositionMode::kNone; }
  PositionMode Mode() const { return mode_; }

  // The count of a whole board.
  int CountOf(const Position& pos) const;
  // The change of the count when square `s` goes from piece `before` to piece `after`.
  int Change(Square s, int before, int after) const {
    return table_[s][Slot(after)] - table_[s][Slot(before)];
  }
  static constexpr bool IsMatch(int count) { return (count & 0xFFFF) == 0 || (count >> 16) == 0; }
  bool Matches(const Position& pos) const { return Active() && IsMatch(CountOf(pos)); }

  // The start position of `h` and its count, worked out once.
  const Position& StartOf(Handicap h) const { return starts_[static_cast<int>(h)]; }
  int StartCountOf(Handicap h) const { return start_counts_[static_cast<int>(h)]; }

 private:
  // A piece code -16..15 as an index 0..31 (any byte gives an index inside the table).
  static constexpr int Slot(int piece) { return static_cast<std::uint8_t>(piece) & 31; }

  PositionMode mode_;
  std::int32_t table_[kSquareCount + 1][32];  // the count's share of square s holding a piece
  Position starts_[kHandicapCount];
  int start_counts_[kHandicapCount];
};

// The first ply from the record's StartIndex, before the end of its moves and below ply 256,
// whose position (before that ply's move) matches `pattern`; -1 when there is none or the
// pattern is not active. The position after the last move is never tested. The record's
// moves must be playable (as a database read gives them).
int SearchedPly(const GameRecord& record, const PositionPattern& pattern);

}  // namespace shogi
