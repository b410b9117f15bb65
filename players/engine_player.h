// The outside USI engines as a computer side, the one adapter between the engine client and
// the game: PlayerKind kFirstEnginePlayer + n plays engine n of the list (the window's
// registered engines, or a match's one engine). Each engine is started at its first
// move and kept for the next; while it thinks the window's messages are pumped (the engine
// is another process, read without blocking), AbortFlag sends "stop". An engine that fails
// (no answer in its time plus the margin, ended, an illegal move) is ended and reported
// through TakeFailure, and the driver suspends the game.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "players/computer_player.h"
#include "players/engine_list.h"

namespace shogi {

// The caption of the failure message the driver shows.
inline constexpr const char* kEngineFailurePrefix = "エンジンに異常があるため対局を中断しました。";

class EnginePlayer : public ComputerPlayer {
 public:
  // `abort_flag` is the program's AbortFlag, read while an engine thinks.
  explicit EnginePlayer(const int* abort_flag) : abort_flag_(abort_flag) {}

  // The registered engines; a new list ends the running ones.
  void SetList(const EngineList& list);
  const EngineList& List() const { return list_; }

  void SetLimits(const UsiEngine::Limits& limits) { limits_ = limits; }
  // How long each wait for the engine's output lasts before the messages are pumped again.
  void SetPollSeconds(double seconds) { poll_seconds_ = seconds; }
  // Caps every engine's time per move (ms, <= 0: its own), for matches and tests.
  void SetByoyomiCap(int ms) { byoyomi_cap_ms_ = ms; }

  // Starts engine `n` ahead of its first move, so that a caller can refuse an engine that does
  // not start. Nonzero with the engine's message.
  [[nodiscard]] int Start(int n, std::string& message);

  // A game begins: each engine gets "usinewgame" before its first move in it.
  void PrepareGame(int start_index) override;
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override;
  std::string TakeFailure() override;

  // Why the last Think failed, without the caption and the engine's name ("" when it did not
  // fail; a new game clears it): a match notes it. A declared win ("bestmove win") is such a
  // failure: the game cannot take it as a move.
  const std::string& LastError() const { return error_; }

  // The player list's names of the engines, in list order.
  std::vector<std::string> Names() const;
  // Ends every running engine ("quit"); the list changed or the program closes.
  void QuitAll();
  // The last search's info (tests, the status of a game).
  const UsiInfo& LastInfo() const { return last_info_; }

 private:
  // The running engine of list entry `n`, started when needed; nullptr with the message when
  // it does not start.
  UsiEngine* Started(int n, std::string& message);
  // The same, given "usinewgame" before its first move of a game.
  UsiEngine* EngineFor(int n, std::string& message);
  void Fail(int n, const std::string& detail);

  EngineList list_;
  const int* abort_flag_;
  UsiEngine::Limits limits_;
  double poll_seconds_ = 0.02;
  int byoyomi_cap_ms_ = 0;
  std::map<int, std::unique_ptr<UsiEngine>> running_;
  std::map<int, bool> in_game_;
  std::string failure_;
  std::string error_;
  UsiInfo last_info_;
};

}  // namespace shogi
