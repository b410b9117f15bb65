// Memory and file byte streams.
#include "platform/byte_stream.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>

#include "platform/file_path.h"

#ifdef _WIN32
#include "platform/windows_path.h"
#endif

namespace shogi {

std::FILE* OpenFile(const std::string& path, const char* mode) {
#ifdef _WIN32
  return _wfopen(WidePath(path).c_str(), WidePath(mode).c_str());
#else
  return std::fopen(path.c_str(), mode);
#endif
}

std::size_t MemoryByteStream::Read(char* buffer, std::size_t size) {
  std::size_t n = std::min(size, data_.size() - position_);
  if (n > 0) std::memcpy(buffer, data_.data() + position_, n);
  position_ += n;
  return n;
}

FileByteStream::~FileByteStream() {
  if (file_ != nullptr) std::fclose(file_);
}

bool FileByteStream::Open(const std::string& path) {
  if (file_ != nullptr) {
    std::fclose(file_);
    file_ = nullptr;
  }
  std::FILE* f = OpenFile(path, "rb");
  if (f == nullptr) return false;
  // fopen accepts a directory on POSIX systems; reading it would only fail later.
  struct stat info;
  if (fstat(fileno(f), &info) != 0 || S_ISDIR(info.st_mode)) {
    std::fclose(f);
    return false;
  }
  file_ = f;
  return true;
}

std::size_t FileByteStream::Read(char* buffer, std::size_t size) {
  if (file_ == nullptr) return 0;
  return std::fread(buffer, 1, size, file_);
}

bool FileByteStream::Failed() const {
  return file_ != nullptr && std::ferror(file_) != 0;
}

}  // namespace shogi
