// The POSITION argument.
#include "tools/tool_position.h"

#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi::tool {

bool RecordFromPositionArgument(const std::string& text, GameRecord& record, Position& pos,
                                std::string& message) {
  Position parsed;
  Side side;
  int number;
  if (!ParseSfen(text, parsed, side, number, message)) return false;
  ResetGameRecord(record);
  record.InitialPosition = parsed;
  record.StartIndex = record.PlyCount = side;
  pos = parsed;
  return true;
}

bool PlayUsiMoves(const std::vector<std::string>& usi, GameRecord& record, Position& pos,
                  std::string& message) {
  for (std::size_t i = 0; i < usi.size(); ++i) {
    if (record.PlyCount + 1 >= kMaxMoves) {
      message = "at most " + std::to_string(kMaxMoves - 1) + " moves";
      return false;
    }
    MoveCode m;
    if (!ParseUsiMove(usi[i], m)) {
      message = "move " + std::to_string(i + 1) + " '" + usi[i] + "' is not a USI move";
      return false;
    }
    if (!IsLegalMove(record, pos, m)) {
      message = "move " + std::to_string(i + 1) + " '" + usi[i] + "' is not legal in its position";
      return false;
    }
    ApplyMove(pos, m, SideOfPly(record.PlyCount));
    record.MoveList[record.PlyCount++] = m;
    record.MoveList[record.PlyCount] = MoveCode{};
  }
  return true;
}

}  // namespace shogi::tool
