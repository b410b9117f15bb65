// The type of a command's row and the numbers of the commands: what a feature file needs to
// add its rows to the command table (command_table.h gathers them).
#pragma once

#include <string>

#include "platform/profile.h"
#include "shell/command_ids.h"
#include "shell/command_state.h"
#include "shell/settings.h"
#include "shell/shell_context.h"

namespace shogi {

// What a handler works with: the shell's context and the settings kept in the profile.
struct CommandEnv {
  ShellContext& Ctx;
  Profile& UserProfile;
  ProgramSettings& Settings;
};

// Rows generated from another table come in groups, which the menu layout places whole.
enum class CommandGroup { kNone, kPresets, kResults };

struct CommandRow {
  int Id = 0;
  std::string Label;   // the menu text, UTF-8
  std::string Prompt;  // "status text\ntool tip"; "" for none
  // Carries the command out; `Arg` is the row's argument (a preset, a result code, a format).
  ViewUpdate (*Run)(CommandEnv& env, int arg) = nullptr;
  int Arg = 0;
  EnableRule Enabled = nullptr;
  // Whether the menu item shows a check mark; null for an item that is never checked.
  bool (*Checked)(const ProgramState& state, int arg) = nullptr;
  CommandGroup Group = CommandGroup::kNone;
};

}  // namespace shogi
