// The common ground of the tests of the database menus' commands: a fresh program folder
// with its settings, a program state with a scripted person, the texts shown with their
// caption, and the interaction states seen while a database routine pumps messages.
#pragma once

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "shell/command_table.h"
#include "tests/database/database_test_util.h"
#include "tests/support/scripted_user_interface.h"

namespace shogi {

class DatabaseCommandFixture : public test::DatabaseFolderTest {
 protected:
  using Texts = std::vector<std::string>;

  void SetUp() override {
    DatabaseFolderTest::SetUp();
    InitProgramState(state);
    LoadSettings(profile, Folder(), settings);
    ui.OnPump = [this] { states_while_running.insert(state.InteractionState); };
  }

  // The texts shown, each checked to carry `caption`.
  Texts ShownWith(const char* caption) const {
    for (const auto& shown : ui.Messages) EXPECT_EQ(shown.Caption, caption) << shown.Text;
    return ui.MessageTexts();
  }

  ProgramState state;
  test::ScriptedUserInterface ui;
  ShellContext ctx{state, ui};
  MemoryProfile profile;
  ProgramSettings settings;
  CommandEnv env{ctx, profile, settings};
  std::set<int> states_while_running;  // by the message pump during the command
};

}  // namespace shogi
