// The replacing file write on POSIX systems and on Windows.
#include "platform/replacing_file.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#endif

namespace shogi {
namespace {

ReplaceFaultHook g_fault_hook = nullptr;
unsigned g_temporary_counter = 0;

bool StepAllowed(ReplaceStep step) {
  return g_fault_hook == nullptr || g_fault_hook(step);
}

// Temporary names tried before giving up; each collision means another file already took
// that name, which is left alone.
constexpr int kNameAttempts = 100;

#ifdef _WIN32

int ProcessId() {
  return static_cast<int>(GetCurrentProcessId());
}

// Paths are in the program's ANSI code page, as the C runtime takes them.
std::wstring Wide(const std::string& path) {
  const int n = MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()),
                                    nullptr, 0);
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  if (n > 0)
    MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), out.data(), n);
  return out;
}

HANDLE AsHandle(std::intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

#else

int ProcessId() {
  return static_cast<int>(getpid());
}

// Makes the rename itself durable: the folder's entry is written out too. A folder that
// cannot be synced (some file systems refuse) does not undo a completed replacement.
void SyncFolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  (void)::fsync(fd);
  ::close(fd);
}

#endif

std::string TemporaryName(const std::string& path) {
  return path + "." + std::to_string(ProcessId()) + "-" + std::to_string(++g_temporary_counter) +
         ".tmp";
}

}  // namespace

void SetReplaceFaultHook(ReplaceFaultHook hook) {
  g_fault_hook = hook;
}

bool ReplacingFile::Fail() {
  Abort();
  return false;
}

#ifdef _WIN32

bool ReplacingFile::Open(const std::string& path) {
  Abort();
  path_ = path;
  if (!StepAllowed(ReplaceStep::kCreate)) return false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = TemporaryName(path);
    HANDLE h = CreateFileW(Wide(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h != INVALID_HANDLE_VALUE) {
      handle_ = reinterpret_cast<std::intptr_t>(h);
      temporary_ = name;
      return true;
    }
    if (GetLastError() != ERROR_FILE_EXISTS) return false;
  }
  return false;
}

bool ReplacingFile::Write(std::string_view bytes) {
  if (handle_ == -1) return false;
  if (!StepAllowed(ReplaceStep::kWrite)) return Fail();
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle_), bytes.data(), chunk, &written, nullptr) || written == 0)
      return Fail();
    bytes.remove_prefix(written);
  }
  return true;
}

bool ReplacingFile::Commit() {
  if (handle_ == -1) return false;
  if (!StepAllowed(ReplaceStep::kFlush) || !FlushFileBuffers(AsHandle(handle_))) return Fail();
  const BOOL closed = CloseHandle(AsHandle(handle_));
  handle_ = -1;
  if (!closed || !StepAllowed(ReplaceStep::kRename) ||
      !MoveFileExW(Wide(temporary_).c_str(), Wide(path_).c_str(),
                   MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    return Fail();
  }
  temporary_.clear();
  return true;
}

void ReplacingFile::Abort() {
  if (handle_ != -1) CloseHandle(AsHandle(handle_));
  handle_ = -1;
  if (!temporary_.empty()) DeleteFileW(Wide(temporary_).c_str());
  temporary_.clear();
}

#else

bool ReplacingFile::Open(const std::string& path) {
  Abort();
  path_ = path;
  if (!StepAllowed(ReplaceStep::kCreate)) return false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = TemporaryName(path);
    const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0) {
      handle_ = fd;
      temporary_ = name;
      // A rewritten file keeps the permissions it had.
      struct stat old;
      if (::stat(path.c_str(), &old) == 0 && S_ISREG(old.st_mode))
        (void)::fchmod(fd, old.st_mode & 07777);
      return true;
    }
    if (errno != EEXIST) return false;
  }
  return false;
}

bool ReplacingFile::Write(std::string_view bytes) {
  if (handle_ == -1) return false;
  if (!StepAllowed(ReplaceStep::kWrite)) return Fail();
  while (!bytes.empty()) {
    const ssize_t n = ::write(static_cast<int>(handle_), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return Fail();
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool ReplacingFile::Commit() {
  if (handle_ == -1) return false;
  if (!StepAllowed(ReplaceStep::kFlush) || ::fsync(static_cast<int>(handle_)) != 0) return Fail();
  const int closed = ::close(static_cast<int>(handle_));
  handle_ = -1;
  if (closed != 0 || !StepAllowed(ReplaceStep::kRename) ||
      std::rename(temporary_.c_str(), path_.c_str()) != 0) {
    return Fail();
  }
  temporary_.clear();
  SyncFolderOf(path_);
  return true;
}

void ReplacingFile::Abort() {
  if (handle_ != -1) ::close(static_cast<int>(handle_));
  handle_ = -1;
  if (!temporary_.empty()) ::unlink(temporary_.c_str());
  temporary_.clear();
}

#endif

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  ReplacingFile file;
  return file.Open(path) && file.Write(bytes) && file.Commit();
}

}  // namespace shogi
