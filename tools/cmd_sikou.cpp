// shogi-tool sikou: asks the thinking library for its move after a list of USI moves, loading
// and calling it the way the program does.
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "players/library_binding.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"
#include "tools/command.h"
#include "tools/tool_position.h"

namespace shogi::tool {
namespace {

constexpr const char* kSikouName = "sikou";

int RunSikou(const std::vector<std::string>& args) {
  std::string library_path;
  std::vector<std::string> usi_moves;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--library") {
      if (i + 1 >= args.size() || args[i + 1].empty())
        return UsageError(kSikouName, "--library needs a FILE");
      library_path = args[++i];
      continue;
    }
    // A move list may also come as one argument with spaces ("7g7f 3c3d").
    std::istringstream words(args[i]);
    for (std::string word; words >> word;) usi_moves.push_back(word);
  }

  // The moves are played from the standard initial position and must be legal there: the
  // library replays whatever it gets, so a wrong list would only give a puzzling answer.
  static GameRecord record;
  ResetGameRecord(record);
  Position pos = record.InitialPosition;
  std::string message;
  if (PlayUsiMoves(usi_moves, record, pos, message) != 0) return UsageError(kSikouName, message);

  LibraryBinding binding;
  const int flags =
      library_path.empty() ? binding.Bind(ProgramDirectory()) : binding.BindFile(library_path);
  if (!binding.Loaded()) {
    std::fprintf(stderr, "shogi-tool sikou: cannot load the thinking library: %s\n",
                 binding.LoadMessage().c_str());
    return kExitFailed;
  }
  std::string missing;
  if (!(flags & kBoundSikouIni)) missing += " sikou_ini";
  if (!(flags & kBoundSikou)) missing += " sikou";
  if (!(flags & kBoundSikouEnd)) missing += " sikou_end";
  if (!missing.empty()) {
    std::fprintf(stderr, "shogi-tool sikou: the thinking library does not export%s\n",
                 missing.c_str());
    return kExitFailed;
  }

  const SikouEntryPoints& sikou = binding.EntryPoints();
  std::int32_t abort_flag = 0, clock = 0, from = 0, to = 0, promote = 0;
  sikou.Ini(&abort_flag);
  const std::int32_t result =
      sikou.Think(record.PlyCount, reinterpret_cast<const unsigned char*>(record.MoveList), &clock,
                  &from, &to, &promote);
  sikou.End();

  std::printf("result %d\n", static_cast<int>(result));
  if (result <= 0) return kExitOk;
  const bool board_move = IsSquare(from) && (promote == 0 || promote == 1);
  const bool drop = from > kDropBase && from <= DropOrigin(kRook) && promote == 0;
  if (!IsSquare(to) || !(board_move || drop)) {
    std::fprintf(stderr,
                 "shogi-tool sikou: the answer is not a move (from %d, to %d, promote %d)\n",
                 static_cast<int>(from), static_cast<int>(to), static_cast<int>(promote));
    return kExitFailed;
  }
  const MoveCode answer = EncodeMove(from, to, promote);
  std::printf("move %s\n", FormatUsiMove(answer).c_str());
  if (!IsLegalMove(record, pos, EncodeMove(from, to, promote))) {
    std::fprintf(stderr, "shogi-tool sikou: the answer %s is not a legal move\n",
                 FormatUsiMove(answer).c_str());
    return kExitFailed;
  }
  return kExitOk;
}

const CommandRegistration kSikou(
    {kSikouName, "[--library FILE] MOVE...",
     "asks the thinking library (default: sikou.so beside shogi-tool) for its move after the "
     "USI moves played from the standard initial position; prints 'result N' and 'move USI'",
     RunSikou});

}  // namespace
}  // namespace shogi::tool
