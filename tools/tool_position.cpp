// The POSITION argument.
#include "tools/tool_position.h"

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

}  // namespace shogi::tool
