// The program-wide state: start-up values and the message area.
#include "shell/program_state.h"

#include <algorithm>
#include <cstring>

#include "platform/cp932.h"

namespace shogi {
namespace {

// The byte length of the UTF-8 sequence that starts with `lead` (1 for a stray byte, so that
// malformed input still advances).
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead < 0xF8) return 4;
  if (lead >= 0xE0) return 3;
  if (lead >= 0xC0) return 2;
  return 1;
}

}  // namespace

std::string CutToCp932Bytes(std::string_view text, std::size_t max_bytes) {
  std::size_t used = 0, pos = 0;
  std::string cp932;
  while (pos < text.size()) {
    std::size_t n = Utf8SequenceLength(static_cast<unsigned char>(text[pos]));
    if (pos + n > text.size()) n = text.size() - pos;
    std::size_t width = Utf8ToCp932(text.substr(pos, n), cp932) ? cp932.size() : 2;
    if (used + width > max_bytes) break;
    used += width;
    pos += n;
  }
  return std::string(text.substr(0, pos));
}

void SetMessage(MessageArea& area, std::string_view first, std::string_view second) {
  area.Lines[0] = CutToCp932Bytes(first, kMessageLineBytes);
  area.Lines[1] = CutToCp932Bytes(second, kMessageLineBytes);
}

void ClearMessage(MessageArea& area) {
  area.Lines[0].clear();
  area.Lines[1].clear();
}

void InitProgramState(ProgramState& state) {
  state = ProgramState{};
  ResetGameRecord(state.Record);
  RebuildShown(state);
  state.SavedRecord = state.Record;  // a fresh record counts as saved
}

void RebuildShown(ProgramState& state) {
  ReplayTo(state.Record, state.Shown, state.Record.PlyCount);
}

void CutRecordAt(GameRecord& record, int ply) {
  if (ply >= 0 && ply < kMaxMoves) record.MoveList[ply] = MoveCode{};
}

}  // namespace shogi
