// The crash-safe writers' file-system calls on POSIX systems and on Windows.
#include "platform/file_system.h"

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

namespace shogi::file_system {

#ifdef _WIN32

namespace {
HANDLE AsHandle(Handle h) {
  return reinterpret_cast<HANDLE>(h);
}

// One call's worth of bytes (a DWORD counts them).
DWORD Chunk(std::size_t size) {
  return size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
}
}  // namespace

CreateResult CreateNew(const std::string& path, const std::string& /*like*/, Handle& handle) {
  HANDLE h = CreateFileW(WidePath(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h != INVALID_HANDLE_VALUE) {
    handle = reinterpret_cast<Handle>(h);
    return CreateResult::kCreated;
  }
  return GetLastError() == ERROR_FILE_EXISTS ? CreateResult::kNameTaken : CreateResult::kFailed;
}

bool WriteAll(Handle handle, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle), bytes.data(), Chunk(bytes.size()), &written, nullptr) ||
        written == 0)
      return false;
    bytes.remove_prefix(written);
  }
  return true;
}

bool WriteAllAt(Handle handle, std::uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    OVERLAPPED o{};
    o.Offset = static_cast<DWORD>(offset);
    o.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD written = 0;
    if (!WriteFile(AsHandle(handle), bytes.data(), Chunk(bytes.size()), &written, &o) ||
        written == 0)
      return false;
    bytes.remove_prefix(written);
    offset += written;
  }
  // A positioned write moves the file pointer; appending goes on at the end.
  LARGE_INTEGER zero{};
  return SetFilePointerEx(AsHandle(handle), zero, nullptr, FILE_END) != 0;
}

bool FlushToDisk(Handle handle) {
  return FlushFileBuffers(AsHandle(handle)) != 0;
}

bool Close(Handle handle) {
  return CloseHandle(AsHandle(handle)) != 0;
}

bool MoveOver(const std::string& from, const std::string& to) {
  return MoveFileExW(WidePath(from).c_str(), WidePath(to).c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

bool RemoveFile(const std::string& path) {
  return DeleteFileW(WidePath(path).c_str()) != 0;
}

bool MakeFolder(const std::string& path) {
  return CreateDirectoryW(WidePath(path).c_str(), nullptr) != 0;
}

bool RemoveFolder(const std::string& path) {
  return RemoveDirectoryW(WidePath(path).c_str()) != 0;
}

void SyncFolder(const std::string&) {}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

Kind KindOf(const std::string& path) {
  const DWORD attributes = GetFileAttributesW(WidePath(path).c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::kMissing;
  return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::kFolder : Kind::kFile;
}

int ProcessId() {
  return static_cast<int>(GetCurrentProcessId());
}

namespace {
bool FileInformation(const std::string& path, BY_HANDLE_FILE_INFORMATION& info) {
  HANDLE h =
      CreateFileW(WidePath(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const bool got = GetFileInformationByHandle(h, &info) != 0;
  CloseHandle(h);
  return got;
}
}  // namespace

bool SameFile(const std::string& a, const std::string& b) {
  BY_HANDLE_FILE_INFORMATION x, y;
  return FileInformation(a, x) && FileInformation(b, y) &&
         x.dwVolumeSerialNumber == y.dwVolumeSerialNumber && x.nFileIndexHigh == y.nFileIndexHigh &&
         x.nFileIndexLow == y.nFileIndexLow;
}

#else

CreateResult CreateNew(const std::string& path, const std::string& like, Handle& handle) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return errno == EEXIST ? CreateResult::kNameTaken : CreateResult::kFailed;
  // A rewritten file keeps the permissions it had.
  struct stat old;
  if (::stat(like.c_str(), &old) == 0 && S_ISREG(old.st_mode))
    (void)::fchmod(fd, old.st_mode & 07777);
  handle = fd;
  return CreateResult::kCreated;
}

bool WriteAll(Handle handle, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n = ::write(static_cast<int>(handle), bytes.data(), bytes.size());
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

bool WriteAllAt(Handle handle, std::uint64_t offset, std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t n =
        ::pwrite(static_cast<int>(handle), bytes.data(), bytes.size(), static_cast<off_t>(offset));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    bytes.remove_prefix(static_cast<std::size_t>(n));
    offset += static_cast<std::uint64_t>(n);
  }
  return true;
}

bool FlushToDisk(Handle handle) {
  return ::fsync(static_cast<int>(handle)) == 0;
}

bool Close(Handle handle) {
  return ::close(static_cast<int>(handle)) == 0;
}

std::string FolderOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

// A folder that cannot be synced (some file systems refuse) does not undo a completed change.
void SyncFolder(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    (void)::fsync(fd);
    ::close(fd);
  }
}

bool MoveOver(const std::string& from, const std::string& to) {
  if (std::rename(from.c_str(), to.c_str()) != 0) return false;
  SyncFolder(FolderOf(to));
  return true;
}

bool RemoveFile(const std::string& path) {
  return ::unlink(path.c_str()) == 0;
}

bool MakeFolder(const std::string& path) {
  return ::mkdir(path.c_str(), 0777) == 0;
}

bool RemoveFolder(const std::string& path) {
  return ::rmdir(path.c_str()) == 0;
}

Kind KindOf(const std::string& path) {
  struct stat info;
  if (::lstat(path.c_str(), &info) != 0) return Kind::kMissing;
  if (S_ISREG(info.st_mode)) return Kind::kFile;
  return S_ISDIR(info.st_mode) ? Kind::kFolder : Kind::kOther;
}

int ProcessId() {
  return static_cast<int>(getpid());
}

bool SameFile(const std::string& a, const std::string& b) {
  struct stat x, y;
  return ::stat(a.c_str(), &x) == 0 && ::stat(b.c_str(), &y) == 0 && x.st_dev == y.st_dev &&
         x.st_ino == y.st_ino;
}

#endif

}  // namespace shogi::file_system
