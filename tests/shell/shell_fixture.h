// The common ground of the shell tests: a program state with a scripted person, an
// in-process computer and a library, and helpers that play moves through the view's calls.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/game_driver.h"
#include "tests/support/game_builder.h"
#include "tests/support/scripted_computer.h"
#include "tests/support/scripted_user_interface.h"

namespace shogi {

class ShellFixture : public ::testing::Test {
 protected:
  // Also between the cases of a table: a fresh state, person and computers.
  void SetUp() override {
    InitProgramState(state);
    ui = test::ScriptedUserInterface{};
    computer = library = test::ScriptedComputer{};
  }

  // A fresh record that starts at `sfen` (side to move from the SFEN) and holds the USI
  // moves `usi` with their cumulative times, shown at its start.
  void LoadSfen(const std::string& sfen, const std::string& usi = "",
                const std::vector<int>& times = {}) {
    state.Record = test::MakeRecord(sfen, usi, times);
    RebuildShown(state);
  }

  // A person's move in USI notation through pick-up and release, as the view makes it. A
  // promotion choice that opens is left open.
  ViewUpdate PersonMove(const std::string& usi) {
    const MoveCode m = test::UsiMove(usi);
    const BoardSpot from = IsDrop(m) ? BoardSpot{HandAreaOf(SideToMove(state)), m.from - kDropBase}
                                     : BoardSpot{BoardArea::kBoard, m.from};
    GamePickUp(ctx, from);
    EXPECT_TRUE(state.Held.Active) << "nothing to pick up for " << usi;
    return GameRelease(ctx, {BoardArea::kBoard, DestinationOf(m)});
  }

  // Persons' moves separated by spaces, each made as PersonMove; a promotion choice that opens
  // is answered by the "+" of the move.
  void PersonMoves(const std::string& usi) {
    for (const std::string& word : test::SplitUsi(usi)) {
      PersonMove(word);
      if (state.InteractionState == kStatePromotion) ChoosePromotion(ctx, word.back() == '+');
    }
  }

  // Starts a game, answering the conditions dialog with the two player kinds.
  void StartWith(int first_kind, int second_kind, bool computer_mode = true) {
    ui.ConditionsAnswers.push_back(
        test::ScriptedUserInterface::AcceptPlayers(first_kind, second_kind));
    StartGame(ctx, computer_mode);
  }

  // The record's moves as USI texts, from StartIndex to the end marker.
  std::string Moves() const { return test::UsiMoves(state.Record); }

  ProgramState state;
  test::ScriptedUserInterface ui;
  test::ScriptedComputer computer;  // positive PlayerKinds
  test::ScriptedComputer library;   // negative PlayerKinds
  ShellContext ctx{state, ui, &computer, &library};
};

}  // namespace shogi
