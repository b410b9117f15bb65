// The replacing file write on POSIX systems and on Windows.
#include "platform/replacing_file.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_path.h"
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

// What creating a temporary file came to.
enum class CreateResult { kCreated, kNameTaken, kFailed };

#ifdef _WIN32

int ProcessId() {
  return static_cast<int>(GetCurrentProcessId());
}

HANDLE AsHandle(std::intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

CreateResult CreateTemporary(const std::string& name, const std::string& /*target*/,
                             std::intptr_t& handle) {
  HANDLE h = CreateFileW(WidePath(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    handle = reinterpret_cast<std::intptr_t>(h);
    return CreateResult::kCreated;
  }
  return GetLastError() == ERROR_FILE_EXISTS ? CreateResult::kNameTaken : CreateResult::kFailed;
}

bool WriteAll(std::intptr_t handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = bytes.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(bytes.size());
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle), bytes.data(), chunk, &written, nullptr) || written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool FlushToDisk(std::intptr_t handle) {
  return FlushFileBuffers(AsHandle(handle)) != 0;
}

bool CloseFile(std::intptr_t handle) {
  return CloseHandle(AsHandle(handle)) != 0;
}

// One step that replaces the target, written through to the disk.
bool MoveOver(const std::string& temporary, const std::string& target) {
  return MoveFileExW(WidePath(temporary).c_str(), WidePath(target).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void RemoveFile(const std::string& path) {
  DeleteFileW(WidePath(path).c_str());
}

#else

int ProcessId() {
  return static_cast<int>(getpid());
}

CreateResult CreateTemporary(const std::string& name, const std::string& target,
                             std::intptr_t& handle) {
  const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? CreateResult::kNameTaken : CreateResult::kFailed;
  // A rewritten file keeps the permissions it had.
  struct stat old;
  if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    (void)::fchmod(fd, old.st_mode & 07777);
  handle = fd;
  return CreateResult::kCreated;
}

bool WriteAll(std::intptr_t handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(static_cast<int>(handle), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool FlushToDisk(std::intptr_t handle) {
  return ::fsync(static_cast<int>(handle)) == 0;
}

bool CloseFile(std::intptr_t handle) {
  return ::close(static_cast<int>(handle)) == 0;
}

// The rename replaces the target in one step; the folder is synced so that the new entry
// is on the disk too. A folder that cannot be synced (some file systems refuse) does not
// undo a completed replacement.
bool MoveOver(const std::string& temporary, const std::string& target) {
  if (std::rename(temporary.c_str(), target.c_str()) != 0) return false;
  const std::size_t slash = target.find_last_of('/');
  const std::string folder =
      slash == std::string::npos ? std::string(".") : target.substr(0, slash == 0 ? 1 : slash);
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    (void)::fsync(fd);
    ::close(fd);
  }
  return true;
}

void RemoveFile(const std::string& path) {
  ::unlink(path.c_str());
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

bool ReplacingFile::Open(const std::string& path) {
  Abort();
  path_ = path;
  if (!StepAllowed(ReplaceStep::kCreate)) return false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = TemporaryName(path);
    switch (CreateTemporary(name, path, handle_)) {
      case CreateResult::kCreated:
        temporary_ = name;
        return true;
      case CreateResult::kNameTaken:
        continue;
      case CreateResult::kFailed:
        return false;
    }
  }
  return false;
}

bool ReplacingFile::Write(std::string_view bytes) {
  if (handle_ == -1) return false;
  if (!StepAllowed(ReplaceStep::kWrite) || !WriteAll(handle_, bytes)) return Fail();
  return true;
}

bool ReplacingFile::Commit() {
  if (handle_ == -1) return false;
  if (!StepAllowed(ReplaceStep::kFlush) || !FlushToDisk(handle_)) return Fail();
  const bool closed = CloseFile(handle_);
  handle_ = -1;
  if (!closed || !StepAllowed(ReplaceStep::kRename) || !MoveOver(temporary_, path_)) return Fail();
  temporary_.clear();
  return true;
}

void ReplacingFile::Abort() {
  if (handle_ != -1) CloseFile(handle_);
  handle_ = -1;
  if (!temporary_.empty()) RemoveFile(temporary_);
  temporary_.clear();
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  ReplacingFile file;
  return file.Open(path) && file.Write(bytes) && file.Commit();
}

}  // namespace shogi
