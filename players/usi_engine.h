// An outside engine speaking the USI protocol, started as a child process: the handshake,
// its options, a new game, one move per position, and quitting (EnginePlayer plays its moves
// as a computer side, engine_player.h). Every wait has a time limit, so a dead or silent
// engine is an error, never a hang.
#pragma once

#include <string>
#include <vector>

#include "platform/child_process.h"
#include "rules/game_record.h"

namespace shogi {

struct UsiOption {
  std::string Name;
  std::string Value;
};

// "NAME=VALUE" into an option; false when there is no '=' or no name.
[[nodiscard]] bool ParseUsiOption(const std::string& text, UsiOption& option);

// An option the engine offers: "option name N type T [default D] [min A] [max B] [var V]...".
// Names and defaults may hold spaces; "<empty>" stands for an empty string.
struct UsiOptionOffer {
  enum class Type { kCheck, kSpin, kCombo, kButton, kString, kFilename };
  std::string Name;
  Type Kind = Type::kString;
  std::string Default;
  int Min = 0, Max = 0;
  std::vector<std::string> Choices;  // combo
};
// False for a line that is not an option or names no known type.
[[nodiscard]] bool ParseUsiOptionLine(const std::string& line, UsiOptionOffer& offer);

// What "info" lines told about the running search; each line changes only the fields it
// names. Scores are from the mover's side: centipawns, or with Mate the plies to mate
// (negative: being mated; "mate +" and "mate -" count as 0 plies with their sign in
// MateSign).
struct UsiInfo {
  int Depth = 0, SelDepth = 0;
  bool HasScore = false, Mate = false;
  int Score = 0;     // centipawns, or plies to mate
  int MateSign = 0;  // +1 the mover mates, -1 the mover is mated (Mate only)
  long long Nodes = 0, Nps = 0;
  std::vector<std::string> Pv;  // USI moves
};
// Merges one "info ..." line into `info`; false for a line that is not "info".
bool ParseUsiInfo(const std::string& line, UsiInfo& info);

// The time of one "go": the clocks and byoyomi in ms, a fixed time per move, or infinite.
struct UsiGo {
  enum class Mode { kClock, kMoveTime, kInfinite };
  Mode Kind = Mode::kClock;
  int FirstMs = 0, SecondMs = 0;  // btime, wtime (kClock)
  int ByoyomiMs = 0;              // kClock
  int MoveTimeMs = 0;             // kMoveTime
};
std::string UsiGoCommand(const UsiGo& go);
// How long "bestmove" may take before the engine counts as silent: the search's own time
// (the mover's clock and byoyomi, or the move time) plus `extra` seconds; 0 for infinite.
double UsiGoSeconds(const UsiGo& go, bool first_to_move, double extra);

// The position command of a game: "position startpos moves ..." for the even start with the
// first player to move, else "position sfen <start> moves ..." (no "moves" without moves).
std::string UsiPositionCommand(const Position& initial, int start_index, const MoveCode* moves,
                               int ply_count);

class UsiEngine {
 public:
  struct Limits {
    double handshake = 10;   // seconds for "usiok" and "readyok"
    double move_extra = 10;  // seconds beyond the move time for "bestmove"
  };

  ~UsiEngine() { Quit(); }

  // Starts `command`, sends "usi" and waits for "usiok" (keeping its name and options), sends
  // one "setoption name N value V" per option, then "isready" and waits for "readyok". Nonzero
  // with a message on any failure (the engine is then stopped).
  [[nodiscard]] int Start(const std::string& command, const std::vector<UsiOption>& options,
                          std::string& message);
  bool Started() const { return process_.Running(); }
  // "usinewgame".
  [[nodiscard]] int NewGame(std::string& message);
  // "gameover win|lose|draw".
  void GameOver(const std::string& result);

  enum class Answer { kMove, kResign, kWin, kError, kPending };
  // Sends `position` and "go byoyomi MS" and reads up to "bestmove": a move, "resign" or
  // "win". kError with a message when the engine dies, stays silent, or answers nonsense.
  Answer Go(const std::string& position, int byoyomi_ms, MoveCode& move, std::string& message);
  // The same with any time of `go` (not infinite); Info() then holds the search's last info.
  Answer Go(const std::string& position, const UsiGo& go, bool first_to_move, MoveCode& move,
            std::string& message);

  // The same in steps for a caller that must keep its window alive: BeginGo sends the
  // position and the "go"; Poll reads what has come within `seconds` (0: only what is
  // there), keeps the "info" lines in Info() and answers kPending until "bestmove" came.
  // A search that outlives its time (UsiGoSeconds) by the move margin is kError; so is one
  // that has not answered "stop" within the margin.
  [[nodiscard]] int BeginGo(const std::string& position, const UsiGo& go, bool first_to_move,
                            std::string& message);
  Answer Poll(double seconds, MoveCode& move, std::string& message);
  // "stop" to a running search; its "bestmove" still has to be polled.
  void Stop();
  bool Searching() const { return searching_; }
  const UsiInfo& Info() const { return info_; }

  // "quit", then the engine gets a second to end before it is killed.
  void Quit();

  void SetLimits(const Limits& limits) { limits_ = limits; }
  // The engine's "id name", once started.
  const std::string& Name() const { return name_; }
  // The options it offered in its answer to "usi".
  const std::vector<UsiOptionOffer>& Options() const { return options_; }

 private:
  // Reads lines until one starting with `word`; nonzero with a message on a timeout or end.
  int WaitFor(const std::string& word, double seconds, std::string& line, std::string& message);
  int Send(const std::string& line, std::string& message);
  // The answer of a "bestmove" line.
  Answer BestMove(const std::string& line, MoveCode& move, std::string& message);

  ChildProcess process_;
  Limits limits_;
  std::string name_;
  std::vector<UsiOptionOffer> options_;
  bool searching_ = false;
  double deadline_ = 0;  // seconds on the steady clock; 0 while infinite
  UsiInfo info_;
};

}  // namespace shogi
