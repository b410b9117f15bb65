// A file mapped read-only into memory: the pages are read when first touched and shared with
// every other process that maps the same file, so a large table costs nothing at start-up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace shogi {

class MappedFile {
 public:
  MappedFile() = default;
  MappedFile(const MappedFile&) = delete;
  MappedFile& operator=(const MappedFile&) = delete;
  MappedFile(MappedFile&& other) noexcept { *this = static_cast<MappedFile&&>(other); }
  MappedFile& operator=(MappedFile&& other) noexcept;
  ~MappedFile() { Close(); }

  // Maps the first `length` bytes of the regular file at `path`. False (nothing mapped) when
  // the file cannot be opened, is not a regular file, is shorter than `length`, or the
  // system refuses the mapping. A `length` of 0 maps nothing and fails.
  [[nodiscard]] bool Open(const std::string& path, std::size_t length);
  void Close();

  bool IsOpen() const { return data_ != nullptr; }
  const std::uint8_t* Data() const { return data_; }
  std::size_t Size() const { return size_; }

 private:
  const std::uint8_t* data_ = nullptr;
  std::size_t size_ = 0;
#ifdef _WIN32
  void* mapping_ = nullptr;  // the file-mapping HANDLE
#endif
};

}  // namespace shogi
