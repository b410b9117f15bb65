// Read-only file mappings on POSIX systems and on Windows.
#include "platform/mapped_file.h"

#include <cstdint>

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_path.h"
#else
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace shogi {

MappedFile& MappedFile::operator=(MappedFile&& other) noexcept {
  if (this != &other) {
    Close();
    data_ = other.data_;
    size_ = other.size_;
    other.data_ = nullptr;
    other.size_ = 0;
#ifdef _WIN32
    mapping_ = other.mapping_;
    other.mapping_ = nullptr;
#endif
  }
  return *this;
}

#ifdef _WIN32

bool MappedFile::Open(const std::string& path, std::size_t length) {
  Close();
  if (length == 0) return false;
  HANDLE file = CreateFileW(WidePath(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size;
  bool ok = GetFileSizeEx(file, &size) && static_cast<std::uint64_t>(size.QuadPart) >= length;
  HANDLE mapping = ok ? CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr) : nullptr;
  CloseHandle(file);  // the mapping keeps the file open
  if (mapping == nullptr) return false;
  void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, length);
  if (view == nullptr) {
    CloseHandle(mapping);
    return false;
  }
  mapping_ = mapping;
  data_ = static_cast<const std::uint8_t*>(view);
  size_ = length;
  return true;
}

void MappedFile::Close() {
  if (data_ != nullptr) UnmapViewOfFile(data_);
  if (mapping_ != nullptr) CloseHandle(static_cast<HANDLE>(mapping_));
  data_ = nullptr;
  mapping_ = nullptr;
  size_ = 0;
}

#else

bool MappedFile::Open(const std::string& path, std::size_t length) {
  Close();
  if (length == 0) return false;
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat info;
  const bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode) &&
                  static_cast<std::uint64_t>(info.st_size) >= length;
  void* view = ok ? ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, fd, 0) : MAP_FAILED;
  ::close(fd);  // the mapping keeps the file open
  if (view == MAP_FAILED) return false;
  data_ = static_cast<const std::uint8_t*>(view);
  size_ = length;
  return true;
}

void MappedFile::Close() {
  if (data_ != nullptr) ::munmap(const_cast<std::uint8_t*>(data_), size_);
  data_ = nullptr;
  size_ = 0;
}

#endif

}  // namespace shogi
