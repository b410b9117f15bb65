// Record files on POSIX systems and on Windows.
#include "platform/record_file.h"

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_path.h"
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#endif

namespace shogi {
namespace {

RecordFileFaultHook g_fault_hook = nullptr;

#ifdef _WIN32

HANDLE AsHandle(std::intptr_t h) {
  return reinterpret_cast<HANDLE>(h);
}

std::intptr_t OpenHandle(const std::string& path, bool write) {
  // A file open for reading may be replaced meanwhile, as on POSIX systems: a rewrite renames
  // its new database over the one it reads from, and the reader keeps the old bytes.
  const DWORD share = write ? FILE_SHARE_READ : FILE_SHARE_READ | FILE_SHARE_DELETE;
  HANDLE h =
      CreateFileW(WidePath(path).c_str(), write ? GENERIC_READ | GENERIC_WRITE : GENERIC_READ,
                  share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  return h == INVALID_HANDLE_VALUE ? -1 : reinterpret_cast<std::intptr_t>(h);
}

void CloseHandleOf(std::intptr_t handle) {
  CloseHandle(AsHandle(handle));
}

bool SizeOf(std::intptr_t handle, std::uint64_t& size) {
  LARGE_INTEGER n;
  if (!GetFileSizeEx(AsHandle(handle), &n)) return false;
  size = static_cast<std::uint64_t>(n.QuadPart);
  return true;
}

OVERLAPPED At(std::uint64_t offset) {
  OVERLAPPED o{};
  o.Offset = static_cast<DWORD>(offset);
  o.OffsetHigh = static_cast<DWORD>(offset >> 32);
  return o;
}

// One call's worth of bytes at `offset`: how many went through, or -1 on an error.
long long ReadSome(std::intptr_t handle, std::uint64_t offset, char* buffer, std::size_t size) {
  OVERLAPPED o = At(offset);
  DWORD n = 0;
  const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
  if (!ReadFile(AsHandle(handle), buffer, chunk, &n, &o))
    return GetLastError() == ERROR_HANDLE_EOF ? 0 : -1;
  return n;
}

long long WriteSome(std::intptr_t handle, std::uint64_t offset, const char* data,
                    std::size_t size) {
  OVERLAPPED o = At(offset);
  DWORD n = 0;
  const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
  if (!WriteFile(AsHandle(handle), data, chunk, &n, &o)) return -1;
  return n;
}

bool SyncHandle(std::intptr_t handle) {
  return FlushFileBuffers(AsHandle(handle)) != 0;
}

#else

std::intptr_t OpenHandle(const std::string& path, bool write) {
  const int fd = ::open(path.c_str(), (write ? O_RDWR : O_RDONLY) | O_CLOEXEC);
  if (fd < 0) return -1;
  struct stat info;
  if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
    ::close(fd);
    return -1;
  }
  return fd;
}

void CloseHandleOf(std::intptr_t handle) {
  ::close(static_cast<int>(handle));
}

bool SizeOf(std::intptr_t handle, std::uint64_t& size) {
  struct stat info;
  if (::fstat(static_cast<int>(handle), &info) != 0) return false;
  size = static_cast<std::uint64_t>(info.st_size);
  return true;
}

long long ReadSome(std::intptr_t handle, std::uint64_t offset, char* buffer, std::size_t size) {
  for (;;) {
    const ssize_t n = ::pread(static_cast<int>(handle), buffer, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

long long WriteSome(std::intptr_t handle, std::uint64_t offset, const char* data,
                    std::size_t size) {
  for (;;) {
    const ssize_t n = ::pwrite(static_cast<int>(handle), data, size, static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    return n;
  }
}

bool SyncHandle(std::intptr_t handle) {
  return ::fsync(static_cast<int>(handle)) == 0;
}

#endif

// Asks the test hook about a step; `bytes` may come back lowered for a torn write.
bool StepAllowed(RecordFileStep step, std::size_t& bytes) {
  return g_fault_hook == nullptr || g_fault_hook(step, bytes);
}

bool WriteAll(std::intptr_t handle, std::uint64_t offset, const char* data, std::size_t size) {
  while (size > 0) {
    const long long n = WriteSome(handle, offset, data, size);
    if (n <= 0) return false;
    offset += static_cast<std::uint64_t>(n);
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

void SetRecordFileFaultHook(RecordFileFaultHook hook) {
  g_fault_hook = hook;
}

bool RecordFile::Open(const std::string& path, Mode mode) {
  Close();
  const bool write = mode == Mode::kReadWrite;
  std::size_t none = 0;
  if (write && !StepAllowed(RecordFileStep::kOpenForWriting, none)) return false;
  handle_ = OpenHandle(path, write);
  return handle_ != -1;
}

void RecordFile::Close() {
  if (handle_ != -1) CloseHandleOf(handle_);
  handle_ = -1;
}

bool RecordFile::Size(std::uint64_t& size) const {
  return handle_ != -1 && SizeOf(handle_, size);
}

bool RecordFile::ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const {
  if (handle_ == -1) return false;
  char* out = static_cast<char*>(buffer);
  while (size > 0) {
    const long long n = ReadSome(handle_, offset, out, size);
    if (n <= 0) return false;  // an error, or the file ended first
    offset += static_cast<std::uint64_t>(n);
    out += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool RecordFile::WriteAt(std::uint64_t offset, const void* data, std::size_t size) {
  if (handle_ == -1) return false;
  const char* bytes = static_cast<const char*>(data);
  std::size_t allowed = size;
  if (!StepAllowed(RecordFileStep::kWrite, allowed)) {
    if (allowed < size) (void)WriteAll(handle_, offset, bytes, allowed);
    return false;
  }
  return WriteAll(handle_, offset, bytes, size);
}

bool RecordFile::Sync() {
  std::size_t none = 0;
  return handle_ != -1 && StepAllowed(RecordFileStep::kSync, none) && SyncHandle(handle_);
}

}  // namespace shogi
