// Whether two game records hold the same game: every field, the texts compared as texts.
// Shared by the record tests and the fuzz targets (which must not need GoogleTest).
#pragma once

#include <algorithm>
#include <iterator>

#include "platform/cp932.h"
#include "rules/game_record.h"

namespace shogi {

inline bool SameRecord(const GameRecord& a, const GameRecord& b) {
  return a.InitialPosition == b.InitialPosition && a.StartIndex == b.StartIndex &&
         a.PlyCount == b.PlyCount &&
         std::equal(std::begin(a.MoveList), std::end(a.MoveList), std::begin(b.MoveList)) &&
         std::equal(std::begin(a.MoveTimes), std::end(a.MoveTimes), std::begin(b.MoveTimes)) &&
         a.Clocks[0] == b.Clocks[0] && a.Clocks[1] == b.Clocks[1] && a.ResultCode == b.ResultCode &&
         FieldText(a.FirstName) == FieldText(b.FirstName) &&
         FieldText(a.SecondName) == FieldText(b.SecondName) &&
         FieldText(a.Tournament) == FieldText(b.Tournament) && a.GameNumber == b.GameNumber &&
         a.Year == b.Year && a.Month == b.Month && a.Day == b.Day &&
         FieldText(a.Opening) == FieldText(b.Opening) &&
         FieldText(a.Comment) == FieldText(b.Comment) && a.BoardFlipped == b.BoardFlipped &&
         a.PlayerKind[0] == b.PlayerKind[0] && a.PlayerKind[1] == b.PlayerKind[1];
}

}  // namespace shogi
