// Child processes with pipes: POSIX (fork, exec, poll) and Windows (CreateProcess, anonymous
// pipes polled with PeekNamedPipe).
#include "platform/child_process.h"

#include <chrono>
#include <thread>

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_path.h"
#else
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

extern char** environ;
#endif

namespace shogi {
namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

constexpr const char* kPipeMessage = "パイプを作成できません。";

std::string CannotStartMessage(const std::vector<std::string>& arguments) {
  return "プログラムを起動できません。\n" + (arguments.empty() ? std::string() : arguments[0]);
}

}  // namespace

std::vector<std::string> SplitCommandLine(const std::string& line) {
  std::vector<std::string> words;
  std::string word;
  bool in_word = false, quoted = false;
  for (const char c : line) {
    if (c == '"') {
      quoted = !quoted;
      in_word = true;
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (in_word) words.push_back(word);
      word.clear();
      in_word = false;
    } else {
      word += c;
      in_word = true;
    }
  }
  if (in_word) words.push_back(word);
  return words;
}

std::string QuoteCommandWord(const std::string& word) {
  if (!word.empty() && word.find_first_of(" \t") == std::string::npos) return word;
  return "\"" + word + "\"";
}

ChildProcess::~ChildProcess() {
  if (Running()) Finish(0.5);
  CloseAll();
}

ChildProcess::ReadResult ChildProcess::ReadLine(std::string& line, double seconds) {
  const auto start = Clock::now();
  bool looked = false;
  while (true) {
    if (TakeLine(line)) return ReadResult::kLine;
    if (closed_ || !HasOutput()) {
      // The child has ended: what is left without a line end is its last line.
      if (buffer_.empty()) return ReadResult::kClosed;
      line.swap(buffer_);
      buffer_.clear();
      return ReadResult::kLine;
    }
    // One look at the pipe even with no time to wait: a poll from the message loop asks
    // with 0 seconds and must still see what has arrived.
    const double left = seconds - SecondsSince(start);
    if (left <= 0 && looked) return ReadResult::kTimeout;
    Fill(left > 0 ? left : 0);
    looked = true;
  }
}

int ChildProcess::Reset(std::string& message) {
  if (Running()) {
    message = "プログラムは既に起動しています。";
    return 1;
  }
  CloseAll();
  buffer_.clear();
  closed_ = false;
  return 0;
}

bool ChildProcess::TakeLine(std::string& line) {
  const std::size_t end = buffer_.find('\n');
  if (end == std::string::npos) return false;
  line = buffer_.substr(0, end);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  buffer_.erase(0, end + 1);
  return true;
}

#ifndef _WIN32

int ChildProcess::Start(const std::vector<std::string>& arguments, std::string& message) {
  if (Reset(message) != 0) return 1;
  if (arguments.empty() || arguments[0].empty()) {
    message = CannotStartMessage(arguments);
    return 1;
  }
  // Sockets rather than pipes toward the child: a write to a child that has died then fails
  // with an error (MSG_NOSIGNAL) instead of a SIGPIPE that would end this program. The
  // parent's ends are closed on exec, so no other child inherits them.
  int in_pair[2], out_pipe[2];
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, in_pair) != 0) {
    message = kPipeMessage;
    return 1;
  }
  if (pipe2(out_pipe, O_CLOEXEC) != 0) {
    close(in_pair[0]);
    close(in_pair[1]);
    message = kPipeMessage;
    return 1;
  }
  std::vector<char*> argv;
  for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  // The child gets its own process group, so that killing it takes its children along; its
  // standard input and output are the two channels (dup2 clears close-on-exec).
  posix_spawn_file_actions_t actions;
  posix_spawnattr_t attributes;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, in_pair[1], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, out_pipe[1], STDOUT_FILENO);
  posix_spawnattr_init(&attributes);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP);
  posix_spawnattr_setpgroup(&attributes, 0);
  pid_t pid = -1;
  const int error = posix_spawnp(&pid, argv[0], &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(in_pair[1]);
  close(out_pipe[1]);
  if (error != 0) {
    close(in_pair[0]);
    close(out_pipe[0]);
    message = CannotStartMessage(arguments);
    return 1;
  }
  pid_ = pid;
  to_child_ = in_pair[0];
  from_child_ = out_pipe[0];
  return 0;
}

bool ChildProcess::Running() const {
  return pid_ > 0;
}

bool ChildProcess::WriteLine(const std::string& line) {
  if (to_child_ < 0) return false;
  const std::string data = line + "\n";
  std::size_t sent = 0;
  while (sent < data.size()) {
    const ssize_t n = send(to_child_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

bool ChildProcess::HasOutput() const {
  return from_child_ >= 0;
}

void ChildProcess::Fill(double seconds) {
  pollfd p{from_child_, POLLIN, 0};
  const int ready = poll(&p, 1, static_cast<int>(seconds * 1000) + 1);
  if (ready <= 0) return;  // a timeout or a signal: the caller checks the time again
  char chunk[4096];
  const ssize_t n = read(from_child_, chunk, sizeof chunk);
  if (n < 0 && errno == EINTR) return;
  if (n <= 0) {
    closed_ = true;
    return;
  }
  buffer_.append(chunk, static_cast<std::size_t>(n));
}

int ChildProcess::Finish(double seconds) {
  if (!Running()) return -1;
  if (to_child_ >= 0) {
    close(to_child_);
    to_child_ = -1;
  }
  const auto start = Clock::now();
  int status = 0;
  while (true) {
    const pid_t done = waitpid(pid_, &status, WNOHANG);
    if (done == pid_) break;
    if (done < 0) {
      status = -1;
      break;
    }
    if (SecondsSince(start) >= seconds) {
      kill(-pid_, SIGKILL);
      kill(pid_, SIGKILL);
      waitpid(pid_, &status, 0);
      status = -1;
      break;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  pid_ = -1;
  CloseAll();
  if (status == -1 || !WIFEXITED(status)) return -1;
  return WEXITSTATUS(status);
}

void ChildProcess::CloseAll() {
  if (to_child_ >= 0) close(to_child_);
  if (from_child_ >= 0) close(from_child_);
  to_child_ = from_child_ = -1;
}

#else  // _WIN32

namespace {

// One argument as the C runtime of the child splits its command line again: quoted when
// needed, backslashes doubled before a quote, quotes escaped.
std::wstring QuotedArgument(const std::wstring& a) {
  if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
  std::wstring out = L"\"";
  std::size_t backslashes = 0;
  for (const wchar_t c : a) {
    if (c == L'\\') {
      ++backslashes;
      continue;
    }
    out.append(c == L'"' ? 2 * backslashes + 1 : backslashes, L'\\');
    backslashes = 0;
    out += c;
  }
  out.append(2 * backslashes, L'\\');
  return out + L"\"";
}

}  // namespace

int ChildProcess::Start(const std::vector<std::string>& arguments, std::string& message) {
  if (Reset(message) != 0) return 1;
  if (arguments.empty() || arguments[0].empty()) {
    message = CannotStartMessage(arguments);
    return 1;
  }
  SECURITY_ATTRIBUTES sa{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
  HANDLE child_in_read, child_in_write, child_out_read, child_out_write;
  if (!CreatePipe(&child_in_read, &child_in_write, &sa, 0)) {
    message = kPipeMessage;
    return 1;
  }
  if (!CreatePipe(&child_out_read, &child_out_write, &sa, 0)) {
    CloseHandle(child_in_read);
    CloseHandle(child_in_write);
    message = kPipeMessage;
    return 1;
  }
  // The parent's ends are not inherited.
  SetHandleInformation(child_in_write, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(child_out_read, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = child_in_read;
  si.hStdOutput = child_out_write;
  si.hStdError = GetStdHandle(STD_ERROR_HANDLE);
  PROCESS_INFORMATION pi{};
  std::wstring line;
  for (const std::string& a : arguments) {
    if (!line.empty()) line += L' ';
    line += QuotedArgument(WidePath(a));
  }
  const BOOL ok = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                 nullptr, nullptr, &si, &pi);
  CloseHandle(child_in_read);
  CloseHandle(child_out_write);
  if (!ok) {
    CloseHandle(child_in_write);
    CloseHandle(child_out_read);
    message = CannotStartMessage(arguments);
    return 1;
  }
  CloseHandle(pi.hThread);
  process_ = pi.hProcess;
  to_child_ = child_in_write;
  from_child_ = child_out_read;
  return 0;
}

bool ChildProcess::Running() const {
  return process_ != nullptr;
}

bool ChildProcess::WriteLine(const std::string& line) {
  if (to_child_ == nullptr) return false;
  const std::string data = line + "\n";
  DWORD written = 0;
  return WriteFile(static_cast<HANDLE>(to_child_), data.data(), static_cast<DWORD>(data.size()),
                   &written, nullptr) &&
         written == data.size();
}

bool ChildProcess::HasOutput() const {
  return from_child_ != nullptr;
}

void ChildProcess::Fill(double seconds) {
  DWORD available = 0;
  if (!PeekNamedPipe(static_cast<HANDLE>(from_child_), nullptr, 0, nullptr, &available, nullptr)) {
    closed_ = true;
    return;
  }
  if (available == 0) {
    Sleep(seconds < 0.002 ? 1 : 2);
    return;
  }
  char chunk[4096];
  DWORD n = 0;
  if (!ReadFile(static_cast<HANDLE>(from_child_), chunk,
                available < sizeof chunk ? available : static_cast<DWORD>(sizeof chunk), &n,
                nullptr) ||
      n == 0) {
    closed_ = true;
    return;
  }
  buffer_.append(chunk, n);
}

int ChildProcess::Finish(double seconds) {
  if (!Running()) return -1;
  if (to_child_ != nullptr) {
    CloseHandle(static_cast<HANDLE>(to_child_));
    to_child_ = nullptr;
  }
  HANDLE process = static_cast<HANDLE>(process_);
  int status = -1;
  if (WaitForSingleObject(process, static_cast<DWORD>(seconds * 1000)) == WAIT_OBJECT_0) {
    DWORD code = 0;
    if (GetExitCodeProcess(process, &code)) status = static_cast<int>(code);
  } else {
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 1000);
  }
  CloseHandle(process);
  process_ = nullptr;
  CloseAll();
  return status;
}

void ChildProcess::CloseAll() {
  if (to_child_ != nullptr) CloseHandle(static_cast<HANDLE>(to_child_));
  if (from_child_ != nullptr) CloseHandle(static_cast<HANDLE>(from_child_));
  to_child_ = from_child_ = nullptr;
}

#endif

}  // namespace shogi
