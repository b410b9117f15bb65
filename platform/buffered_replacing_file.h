// A ReplacingFile written through a buffer, for writers that produce a file in many small
// pieces (database records, book records): the bytes reach the temporary file in large
// chunks, and nothing replaces the target before Commit.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "platform/replacing_file.h"

namespace shogi {

class BufferedReplacingFile {
 public:
  [[nodiscard]] bool Open(const std::string& path) {
    buffer_.clear();
    return file_.Open(path);
  }
  // False once any write has failed; the file is then abandoned.
  [[nodiscard]] bool Write(std::string_view bytes) {
    buffer_.append(bytes);
    return buffer_.size() < kChunkBytes || Flush();
  }
  [[nodiscard]] bool Commit() { return Flush() && file_.Commit(); }

 private:
  static constexpr std::size_t kChunkBytes = std::size_t{1} << 20;

  bool Flush() {
    const bool written = file_.Write(buffer_);
    buffer_.clear();
    return written;
  }

  ReplacingFile file_;
  std::string buffer_;
};

}  // namespace shogi
