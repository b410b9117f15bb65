// A match's games through the game driver.
#include "shell/match_game.h"

#include <memory>
#include <vector>

#include "rules/move_rules.h"
#include "rules/sfen.h"
#include "shell/game_driver.h"
#include "shell/headless_user_interface.h"

namespace shogi {
namespace {

// Both computer sides behind the driver's two pointers: each call goes to the side to move,
// the game's moments to both.
class Seats : public ComputerPlayer {
 public:
  Seats(ComputerPlayer& first, ComputerPlayer& second) : seats_{&first, &second} {}

  void PrepareGame(int start_index) override {
    for (ComputerPlayer* p : Distinct()) p->PrepareGame(start_index);
  }
  void BeginGame(int* abort_flag) override {
    for (ComputerPlayer* p : Distinct()) p->BeginGame(abort_flag);
  }
  int Think(const ThinkRequest& request, ComputerAnswer& answer) override {
    return seats_[SideOfPly(request.PlyCount)]->Think(request, answer);
  }
  void EndGame() override {
    for (ComputerPlayer* p : Distinct()) p->EndGame();
  }
  void ReleaseMemory() override {
    for (ComputerPlayer* p : Distinct()) p->ReleaseMemory();
  }

 private:
  std::vector<ComputerPlayer*> Distinct() const {
    if (seats_[0] == seats_[1]) return {seats_[0]};
    return {seats_[0], seats_[1]};
  }
  ComputerPlayer* seats_[2];
};

}  // namespace

int PlayMatchGame(ComputerPlayer& first, int first_kind, ComputerPlayer& second, int second_kind,
                  const OpeningLine& opening, GameSummary& summary, std::string& message) {
  auto state = std::make_unique<ProgramState>();
  InitProgramState(*state);
  GameRecord& r = state->Record;
  for (std::size_t i = 0; i < opening.size(); ++i) {
    MoveCode m;
    if (!ParseUsiMove(opening[i], m) || !IsLegalMove(r, state->Shown, m) ||
        r.PlyCount + 1 >= kGamePlyLimit) {
      message = "opening move " + std::to_string(i + 1) + " '" + opening[i] + "' is not playable";
      return 1;
    }
    ApplyMove(state->Shown, m, SideOfPly(r.PlyCount));
    r.MoveList[r.PlyCount++] = m;
    CutRecordAt(r, r.PlyCount);
  }

  HeadlessUserInterface ui(first_kind, second_kind);
  Seats seats(first, second);
  ShellContext ctx{*state, ui, &seats, &seats};
  (void)StartGame(ctx, true);
  summary.ResultCode = r.ResultCode;
  summary.Plies = r.PlyCount;
  std::string moves;
  for (int i = r.StartIndex; i < r.PlyCount; ++i) {
    if (!moves.empty()) moves += ' ';
    moves += FormatUsiMove(r.MoveList[i]);
  }
  summary.Moves = moves;
  if (state->InteractionState != kStateIdle) {
    message = "the game did not end (" + ui.LastMessage() + ")";
    return 1;
  }
  return 0;
}

}  // namespace shogi
