// Byte streams that record readers take their input from: a block of memory or an open file
// (and, later, a download from a URL).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>
#include <type_traits>

namespace shogi {

// A source of bytes read from the front to the end, once.
class ByteStream {
 public:
  ByteStream() = default;
  ByteStream(const ByteStream&) = delete;
  ByteStream& operator=(const ByteStream&) = delete;
  virtual ~ByteStream() = default;

  // Reads up to `size` bytes into `buffer` and returns how many were read; 0 means the end
  // of the data or an error (see Failed).
  virtual std::size_t Read(char* buffer, std::size_t size) = 0;

  // Whether reading stopped because of an error rather than at the end of the data, so that
  // a reader does not take a broken download for a complete record.
  virtual bool Failed() const { return false; }
};

// The bytes of a block of memory; the block must outlive the stream.
class MemoryByteStream final : public ByteStream {
 public:
  explicit MemoryByteStream(std::string_view data) : data_(data) {}
  // A temporary string would be gone before the first read.
  template <typename T>
  requires std::is_same_v<T, std::string>
  explicit MemoryByteStream(T&&) = delete;
  std::size_t Read(char* buffer, std::size_t size) override;

 private:
  std::string_view data_;
  std::size_t position_ = 0;
};

// The bytes of a file, read in binary mode; the file is closed with the stream.
class FileByteStream final : public ByteStream {
 public:
  FileByteStream() = default;
  ~FileByteStream() override;

  // Opens `path` for reading. False when it does not exist, cannot be read or is a
  // directory.
  [[nodiscard]] bool Open(const std::string& path);
  bool IsOpen() const { return file_ != nullptr; }

  std::size_t Read(char* buffer, std::size_t size) override;
  bool Failed() const override;

 private:
  std::FILE* file_ = nullptr;
};

}  // namespace shogi
