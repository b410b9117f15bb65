// The scripted computer of the tests.
#include "tests/support/scripted_computer.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/game_builder.h"

namespace shogi::test {

ScriptedComputer::Reply ScriptedComputer::Move(const std::string& usi,
                                               std::function<void()> during) {
  const MoveCode m = UsiMove(usi);
  if (IsEndMarker(m)) return Resign();
  Reply r;
  r.Origin = OriginOf(m);
  r.Destination = DestinationOf(m);
  r.Promote = IsPromotion(m) ? 1 : 0;
  r.During = std::move(during);
  return r;
}

ScriptedComputer::Reply ScriptedComputer::Resign(std::function<void()> during) {
  Reply r;
  r.Result = 0;
  r.During = std::move(during);
  return r;
}

ScriptedComputer::Reply ScriptedComputer::Raw(int result, int origin, int destination,
                                              int promote) {
  Reply r;
  r.Result = result;
  r.Origin = origin;
  r.Destination = destination;
  r.Promote = promote;
  return r;
}

void ScriptedComputer::PrepareGame(int start_index) {
  Events.push_back("prepare " + std::to_string(start_index));
}

void ScriptedComputer::BeginGame(int* abort_flag) {
  AbortFlagAddress = abort_flag;
  Events.push_back("begin");
}

int ScriptedComputer::Think(const ThinkRequest& request, ComputerAnswer& answer) {
  Events.push_back("think " + std::to_string(request.PlyCount));
  Requests.push_back(request);
  if (Replies.empty()) {
    ADD_FAILURE() << "the scripted computer was asked for a move at ply " << request.PlyCount
                  << " with no reply left";
    return 0;
  }
  Reply reply = Replies.front();
  Replies.pop_front();
  if (reply.During) reply.During();
  if (reply.Result > 0) {
    answer.Origin[0] = reply.Origin;
    answer.Destination[0] = reply.Destination;
    answer.Promote[0] = reply.Promote;
  }
  return reply.Result;
}

void ScriptedComputer::EndGame() {
  Events.push_back("end");
}

void ScriptedComputer::ReleaseMemory() {
  Events.push_back("release");
}

int ScriptedComputer::Count(const std::string& event) const {
  return static_cast<int>(std::count(Events.begin(), Events.end(), event));
}

}  // namespace shogi::test
