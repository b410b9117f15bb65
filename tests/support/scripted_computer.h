// A ComputerPlayer for tests: plays the moves it is given, in order, and logs every call.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "players/computer_player.h"

namespace shogi::test {

class ScriptedComputer : public ComputerPlayer {
 public:
  struct Reply {
    int Result = 1;  // > 0 a move, <= 0 resignation
    int Origin = 0, Destination = 0, Promote = 0;
    std::function<void()> During;  // runs inside Think, as pumped messages would
  };

  // A move in USI notation ("7g7f", "8h2b+", "P*5e"); a malformed text fails the test.
  static Reply Move(const std::string& usi, std::function<void()> during = {});
  static Reply Resign(std::function<void()> during = {});
  // A reply with raw answer values (to feed the driver a damaged answer).
  static Reply Raw(int result, int origin, int destination, int promote);

  std::deque<Reply> Replies;
  bool IsOffered = true;

  // Log: "prepare 1", "begin", "think 3" (the ply), "end", "release".
  std::vector<std::string> Events;
  std::vector<ThinkRequest> Requests;
  int* AbortFlagAddress = nullptr;  // what BeginGame received

  void PrepareGame(int start_index) override;
  void BeginGame(int* abort_flag) override;
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override;
  void EndGame() override;
  void ReleaseMemory() override;
  bool Offered() const override { return IsOffered; }

  // How many times an event was logged.
  int Count(const std::string& event) const;
};

}  // namespace shogi::test
