// The POSITION argument.
#include "tools/tool_position.h"

#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi::tool {

int RecordFromPositionArgument(const std::string& text, GameRecord& record, Position& pos,
                               std::string& message) {
  Position parsed;
  Side side;
  int number;
  if (ParseSfen(text, parsed, side, number, message) != 0) return 1;
  ResetGameRecord(record);
  record.InitialPosition = parsed;
  record.StartIndex = record.PlyCount = side;
  pos = parsed;
  return 0;
}

int PlayUsiMoves(const std::vector<std::string>& usi, GameRecord& record, Position& pos,
                 std::string& message) {
  for (std::size_t i = 0; i < usi.size(); ++i) {
    if (record.PlyCount + 1 >= kMaxMoves) {
      message = "at most " + std::to_string(kMaxMoves - 1) + " moves";
      return 1;
    }
    MoveCode m;
    if (!ParseUsiMove(usi[i], m)) {
      message = "move " + std::to_string(i + 1) + " '" + usi[i] + "' is not a USI move";
      return 1;
    }
    if (!IsLegalMove(record, pos, m)) {
      message = "move " + std::to_string(i + 1) + " '" + usi[i] + "' is not legal in its position";
      return 1;
    }
    ApplyMove(pos, m, SideOfPly(record.PlyCount));
    record.MoveList[record.PlyCount++] = m;
    record.MoveList[record.PlyCount] = MoveCode{};
  }
  return 0;
}

}  // namespace shogi::tool
