// The board view's texts.
#include "shell/view_texts.h"

#include <cstdio>

#include "platform/cp932.h"
#include "records/ki2_notation.h"
#include "records/notation.h"

namespace shogi {
namespace {

// Notation lines for plies [from, to) of `record`, replaying the record once.
void NotationLines(const GameRecord& record, int from, int to, std::string* out) {
  const NotationTables& n = Notation();
  int previous = 0;
  if (from - 1 >= record.StartIndex && IsWellFormedMove(record.MoveList[from - 1])) {
    previous = DestinationOf(record.MoveList[from - 1]);
  }
  Position pos = PositionAt(record, from);
  for (int ply = from; ply < to; ++ply) {
    const MoveCode m = record.MoveList[ply];
    if (IsEndMarker(m) || !IsWellFormedMove(m)) break;
    const Side mover = SideOfPly(ply);
    std::string text =
        FormatKi2Move(m, pos, mover, previous, mover == kFirst ? n.sente_mark : n.gote_mark);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    *out++ = Utf8(text);
    ApplyMove(pos, m, mover);
    previous = DestinationOf(m);
  }
}

}  // namespace

std::string MoveTextFrom(const GameRecord& record, const Position& shown, Side mover,
                         MoveCode move) {
  const int last = record.PlyCount - 1;
  int previous = 0;
  if (mover == SideOfPly(record.PlyCount) && last >= record.StartIndex && last < kMaxMoves &&
      IsWellFormedMove(record.MoveList[last])) {
    previous = DestinationOf(record.MoveList[last]);
  }
  const NotationTables& n = Notation();
  std::string text =
      FormatKi2Move(move, shown, mover, previous, mover == kFirst ? n.sente_mark : n.gote_mark);
  text.erase(text.find_last_not_of(' ') + 1);
  return Utf8(text);
}

std::string PlayerLine(bool first_player, std::string_view cp932_name) {
  std::string line = Cp932(first_player ? "▲" : "△");
  line += cp932_name;
  line.resize(Cp932CutLength(line, kPlayerLineBytes));
  return Utf8(line);
}

std::string ClockText(std::int32_t seconds, bool in_minutes) {
  if (seconds < 0) seconds = 0;
  const long hours = seconds / 3600, minutes = seconds / 60 % 60, secs = seconds % 60;
  char text[40];
  if (in_minutes) {
    std::snprintf(text, sizeof text, "(%ld:%02ld)     ", hours, minutes);
  } else {
    std::snprintf(text, sizeof text, "(%02ld:%02ld:%02ld)", hours % 100, minutes, secs);
  }
  return text;
}

std::string MoveCounterText(const GameRecord& record, bool in_minutes) {
  const int played = record.PlyCount - record.StartIndex;
  char text[48];
  std::snprintf(text, sizeof text, "%d手目", played);
  const int last = record.PlyCount - 1;
  if (in_minutes && played > 0 && last < kMaxMoves) {
    const std::int32_t before = last - 2 >= record.StartIndex ? record.MoveTimes[last - 2] : 0;
    const long minutes = (static_cast<long>(record.MoveTimes[last]) - before) / 60;
    if (minutes != 0) std::snprintf(text, sizeof text, "%d手目(%ld)", played, minutes);
  }
  return text;
}

std::string LastMoveText(const GameRecord& record) {
  const int last = record.PlyCount - 1;
  if (last < record.StartIndex || last >= kMaxMoves) return {};
  std::string line;
  NotationLines(record, last, last + 1, &line);
  return line;
}

namespace {

// The plies [from, to) the move list shows.
std::pair<int, int> MoveListPlies(const GameRecord& record, bool next_moves) {
  const int ply = std::min(record.PlyCount, kMaxMoves - 1);
  if (next_moves) return {ply, std::min(ply + 10, kMaxMoves)};
  return {std::max(record.StartIndex, ply - 10), ply};
}

}  // namespace

std::array<std::string, 10> MoveListLines(const GameRecord& record, bool next_moves) {
  std::array<std::string, 10> lines;
  const auto [from, to] = MoveListPlies(record, next_moves);
  NotationLines(record, from, to, lines.data());
  return lines;
}

int MoveListPly(const GameRecord& record, bool next_moves, int line) {
  const auto [from, to] = MoveListPlies(record, next_moves);
  const int ply = from + line;
  if (line < 0 || ply >= to || ply >= RecordEndPly(record)) return -1;
  return ply + 1;
}

}  // namespace shogi
