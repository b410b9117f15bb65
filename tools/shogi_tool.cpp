// shogi-tool: command-line access to the rules, records, mate solver and thinking library.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "tools/command.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include "platform/windows_path.h"
#else
#include <unistd.h>
#include <climits>
#endif

namespace shogi::tool {
namespace {

std::vector<Command>& MutableCommands() {
  static std::vector<Command> commands;
  return commands;
}

}  // namespace

void RegisterCommand(const Command& command) {
  MutableCommands().push_back(command);
}
const std::vector<Command>& Commands() {
  return MutableCommands();
}

int UsageError(const char* name, const std::string& text) {
  std::fprintf(stderr, "shogi-tool %s: %s\n", name, text.c_str());
  return kExitUsage;
}

std::string ProgramDirectory() {
  std::string path;
#ifdef _WIN32
  wchar_t buffer[MAX_PATH];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, MAX_PATH);
  path = shogi::Utf8Path(std::wstring(buffer, n));
  const char separator = '\\';
#else
  char buffer[PATH_MAX];
  ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
  if (n > 0) path.assign(buffer, static_cast<std::size_t>(n));
  const char separator = '/';
#endif
  std::size_t cut = path.find_last_of(separator);
  return cut == std::string::npos ? std::string(".") + separator : path.substr(0, cut + 1);
}

namespace {

void PrintHelp(std::FILE* out) {
  std::fprintf(out, "usage: shogi-tool COMMAND ARGUMENTS...\n\ncommands:\n");
  for (const Command& c : Commands()) {
    std::fprintf(out, "  %s %s\n      %s\n", c.name, c.usage, c.summary);
  }
  std::fprintf(out,
               "\nPOSITION is 'startpos' or an SFEN given as one argument, e.g.\n"
               "  'lnsgkgsnl/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL b - 1'\n");
}

}  // namespace
}  // namespace shogi::tool

int main(int argc, char** argv) {
  using namespace shogi::tool;
#ifdef _WIN32
  // The same bytes as on every other system: no CR added before each LF, and a console that
  // shows the UTF-8 the tool prints.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  SetConsoleOutputCP(CP_UTF8);
  // The arguments as UTF-8, as the program's paths and texts are everywhere.
  int wide_count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wide_count);
  std::vector<std::string> utf8_arguments;
  std::vector<char*> utf8_argv;
  for (int i = 0; wide != nullptr && i < wide_count; ++i)
    utf8_arguments.push_back(shogi::Utf8Path(wide[i]));
  if (wide != nullptr) LocalFree(wide);
  for (std::string& a : utf8_arguments) utf8_argv.push_back(a.data());
  if (!utf8_argv.empty()) {
    argc = static_cast<int>(utf8_argv.size());
    argv = utf8_argv.data();
  }
#endif
  if (argc < 2) {
    PrintHelp(stderr);
    return kExitUsage;
  }
  std::string name = argv[1];
  if (name == "--help" || name == "-h" || name == "help") {
    PrintHelp(stdout);
    return kExitOk;
  }
  std::vector<std::string> args(argv + 2, argv + argc);
  for (const Command& c : Commands()) {
    if (name == c.name) return c.run(args);
  }
  std::fprintf(stderr, "shogi-tool: unknown command '%s' (see shogi-tool --help)\n", name.c_str());
  return kExitUsage;
}
