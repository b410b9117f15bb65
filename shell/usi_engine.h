// An outside engine speaking the USI protocol, started as a child process: the handshake,
// its options, a new game, one move per position, and quitting; and the computer side of
// the game driver that plays its moves. Every wait has a time limit, so a dead or silent
// engine is an error, never a hang.
#pragma once

#include <string>
#include <vector>

#include "platform/child_process.h"
#include "rules/game_record.h"
#include "shell/computer_player.h"

namespace shogi {

struct UsiOption {
  std::string Name;
  std::string Value;
};

// "NAME=VALUE" into an option; false when there is no '=' or no name.
[[nodiscard]] bool ParseUsiOption(const std::string& text, UsiOption& option);

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

  // Starts `command`, sends "usi" and waits for "usiok", sends one "setoption name N value V"
  // per option, then "isready" and waits for "readyok". False with a message on any failure
  // (the engine is then stopped).
  [[nodiscard]] bool Start(const std::string& command, const std::vector<UsiOption>& options,
                           std::string& message);
  bool Started() const { return process_.Running(); }
  // "usinewgame".
  [[nodiscard]] bool NewGame(std::string& message);

  enum class Answer { kMove, kResign, kWin, kError };
  // Sends `position` and "go byoyomi MS" and reads up to "bestmove": a move, "resign" or
  // "win". kError with a message when the engine dies, stays silent, or answers nonsense.
  Answer Go(const std::string& position, int byoyomi_ms, MoveCode& move, std::string& message);

  // "quit", then the engine gets a second to end before it is killed.
  void Quit();

  void SetLimits(const Limits& limits) { limits_ = limits; }
  // The engine's "id name", once started.
  const std::string& Name() const { return name_; }

 private:
  // Reads lines until one starting with `word`; false with a message on a timeout or end.
  bool WaitFor(const std::string& word, double seconds, std::string& line, std::string& message);
  bool Send(const std::string& line, std::string& message);

  ChildProcess process_;
  Limits limits_;
  std::string name_;
};

// The game driver's computer side for an outside engine: a new game at BeginGame, a move
// per Think (its legality checked: an illegal or missing move resigns, with the reason kept).
class UsiPlayer : public ComputerPlayer {
 public:
  UsiPlayer(UsiEngine& engine, int move_ms) : engine_(engine), move_ms_(move_ms) {}

  void BeginGame(int* abort_flag) override;
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override;
  // The last failure ("" when none): the match reports it.
  const std::string& Error() const { return error_; }

 private:
  UsiEngine& engine_;
  int move_ms_;
  std::string error_;
};

}  // namespace shogi
