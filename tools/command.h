// The subcommands of shogi-tool: each file cmd_*.cpp registers its commands at start-up.
#pragma once

#include <string>
#include <vector>

namespace shogi::tool {

// Exit statuses: 0 success, 1 the operation failed (a reader's message, a missing library),
// 2 bad arguments.
constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

using CommandFunction = int (*)(const std::vector<std::string>& args);

struct Command {
  const char* name;
  const char* usage;    // arguments, e.g. "POSITION DEPTH"
  const char* summary;  // one line for --help
  CommandFunction run;
};

// Registers a command; used through a static CommandRegistration in each cmd_*.cpp.
void RegisterCommand(const Command& command);
const std::vector<Command>& Commands();

struct CommandRegistration {
  explicit CommandRegistration(const Command& command) { RegisterCommand(command); }
};

// Prints "shogi-tool NAME: TEXT" to standard error and returns kExitUsage.
int UsageError(const char* name, const std::string& text);

// The directory of the running shogi-tool, with a trailing separator.
std::string ProgramDirectory();

}  // namespace shogi::tool
