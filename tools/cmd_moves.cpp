// shogi-tool moves / perft: the legal moves of a position and the perft count.
#include <chrono>
#include <cstdio>
#include <cstdlib>

#include "rules/move_rules.h"
#include "rules/perft.h"
#include "rules/sfen.h"
#include "tools/command.h"
#include "tools/tool_position.h"

namespace shogi::tool {
namespace {

int RunMoves(const std::vector<std::string>& args) {
  if (args.size() != 1) return UsageError("moves", "expected one POSITION argument");
  GameRecord record;
  Position pos;
  std::string message;
  if (RecordFromPositionArgument(args[0], record, pos, message) != 0)
    return UsageError("moves", message);
  static LegalMoveList list;
  int n = LegalMoves(record, pos, list);
  for (int i = 0; i < n; ++i) std::printf("%s\n", FormatUsiMove(list.Move(i)).c_str());
  return kExitOk;
}

int RunPerft(const std::vector<std::string>& args) {
  if (args.size() != 2) return UsageError("perft", "expected POSITION and DEPTH");
  char* end = nullptr;
  long depth = std::strtol(args[1].c_str(), &end, 10);
  if (args[1].empty() || *end != '\0' || depth < 0 || depth > 12)
    return UsageError("perft", "DEPTH must be a whole number from 0 to 12");
  GameRecord record;
  Position pos;
  std::string message;
  if (RecordFromPositionArgument(args[0], record, pos, message) != 0)
    return UsageError("perft", message);
  auto start = std::chrono::steady_clock::now();
  std::uint64_t leaves = Perft(record, pos, static_cast<int>(depth));
  double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%llu\n", static_cast<unsigned long long>(leaves));
  std::fprintf(stderr, "time %.3f s, %.0f leaves/s\n", seconds,
               seconds > 0 ? leaves / seconds : 0.0);
  return kExitOk;
}

const CommandRegistration kMoves({"moves", "POSITION",
                                  "prints the legal moves of the side to move, one per line (USI)",
                                  RunMoves});
const CommandRegistration kPerft({"perft", "POSITION DEPTH",
                                  "prints the number of leaf positions DEPTH plies below POSITION",
                                  RunPerft});

}  // namespace
}  // namespace shogi::tool
