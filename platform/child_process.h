// A program started as a child process with pipes on its standard input and output, read
// line by line with time limits, so that a dead or silent child is an error and never a
// hang. Standard error stays the parent's.
#pragma once

#include <string>
#include <vector>

namespace shogi {

// The words of a command line: separated by spaces or tabs, a part in double quotes kept
// whole (the quotes dropped), so that a path with spaces is one word when quoted. Nothing in
// it is expanded or run by a shell.
std::vector<std::string> SplitCommandLine(const std::string& line);
// `word` as one word of a command line: in double quotes when it is empty or holds a space or
// a tab.
std::string QuoteCommandWord(const std::string& word);

class ChildProcess {
 public:
  ChildProcess() = default;
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Starts the program `arguments[0]` (looked up on the PATH when it names no folder) with
  // the rest as its arguments, without a shell. Nonzero with a message (Japanese) when it
  // cannot be started.
  [[nodiscard]] int Start(const std::vector<std::string>& arguments, std::string& message);
  // The same for the words of a command line (SplitCommandLine).
  [[nodiscard]] int Start(const std::string& command_line, std::string& message) {
    return Start(SplitCommandLine(command_line), message);
  }
  bool Running() const;

  // Writes `line` and a line feed to the child's input. False when the child is gone.
  [[nodiscard]] bool WriteLine(const std::string& line);

  enum class ReadResult { kLine, kTimeout, kClosed };
  // The next line of the child's output without its line end (CR LF or LF), waiting at most
  // `seconds`. kClosed once the child has closed its output (it ended). With 0 seconds it
  // only takes what has already arrived, so the message loop can poll it.
  ReadResult ReadLine(std::string& line, double seconds);

  // Closes the child's input, waits up to `seconds` for it to end and then kills it.
  // Returns its exit status, or -1 when it had to be killed or was not running.
  int Finish(double seconds);

 private:
  void CloseAll();
  // Before a start: nonzero with a message while a child runs, else a clean slate.
  [[nodiscard]] int Reset(std::string& message);
  // Moves one complete line out of the buffer, if there is one.
  bool TakeLine(std::string& line);
  bool HasOutput() const;
  // Waits at most `seconds` for output and appends what came; sets closed_ at its end.
  void Fill(double seconds);

  std::string buffer_;
  bool closed_ = false;
#ifdef _WIN32
  void* process_ = nullptr;  // HANDLE
  void* to_child_ = nullptr;
  void* from_child_ = nullptr;
#else
  int pid_ = -1;
  int to_child_ = -1;
  int from_child_ = -1;
#endif
};

}  // namespace shogi
