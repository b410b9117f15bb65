// The desktop's text editor: ShellExecuteW on Windows, a detached xdg-open elsewhere.
#include "platform/text_editor.h"

#ifdef _WIN32
#include <windows.h>
// shellapi.h needs windows.h before it.
#include <shellapi.h>

#include "platform/windows_path.h"
#else
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

extern char** environ;
#endif

namespace shogi {

#ifdef _WIN32

bool OpenInTextEditor(const std::string& path) {
  const std::wstring parameter = L"\"" + WidePath(path) + L"\"";
  const HINSTANCE result =
      ShellExecuteW(nullptr, L"open", L"notepad.exe", parameter.c_str(), nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32;
}

#else

namespace {

constexpr const char kOpener[] = "xdg-open";

// The opener's full path from PATH, found before forking: the child may only make calls that
// are safe between fork and exec, and a PATH search is not one of them.
std::string FindOpener() {
  const char* path = std::getenv("PATH");
  std::string_view dirs = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const std::size_t colon = dirs.find(':');
    std::string dir(dirs.substr(0, colon));
    if (dir.empty()) dir = ".";
    const std::string candidate = dir + "/" + kOpener;
    if (access(candidate.c_str(), X_OK) == 0) return candidate;
    if (colon == std::string_view::npos) return {};
    dirs.remove_prefix(colon + 1);
  }
}

// Writes the errno of a failed step to the report pipe and leaves the child.
[[noreturn]] void ChildFailed(int report) {
  const int error = errno;
  (void)!write(report, &error, sizeof error);
  _exit(127);
}

}  // namespace

bool OpenInTextEditor(const std::string& path) {
  const std::string opener = FindOpener();
  if (opener.empty()) return false;
  std::vector<char*> argv = {const_cast<char*>(kOpener), const_cast<char*>(path.c_str()), nullptr};
  // The pipe stays open in the grandchild until its exec succeeds (close-on-exec) or it
  // reports why not; so reading it to its end tells whether the opener started.
  int report[2];
  if (pipe2(report, O_CLOEXEC) != 0) return false;
  // Two forks: the middle child ends at once and is reaped here, so the opener belongs to
  // no one and leaves no zombie when it ends; setsid keeps it out of our terminal's signals.
  const pid_t middle = fork();
  if (middle == 0) {
    close(report[0]);
    setsid();
    const pid_t opener_pid = fork();
    if (opener_pid == 0) {
      execve(opener.c_str(), argv.data(), environ);
      ChildFailed(report[1]);
    }
    if (opener_pid < 0) ChildFailed(report[1]);
    _exit(0);
  }
  close(report[1]);
  bool started = middle > 0;
  if (started) {
    int status = 0;
    while (waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int error = 0;
    ssize_t got;
    while ((got = read(report[0], &error, sizeof error)) < 0 && errno == EINTR) {
    }
    started = got == 0;
  }
  close(report[0]);
  return started;
}

#endif

}  // namespace shogi
