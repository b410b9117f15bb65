// Files of fixed-size records read and written in place at byte offsets: the game
// databases' index and move files. Unlike a ReplacingFile, writes land in the file itself,
// so a caller that must survive a crash orders its writes and syncs between them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace shogi {

class RecordFile {
 public:
  enum class Mode { kRead, kReadWrite };  // an existing file only: Open never creates one

  RecordFile() = default;
  RecordFile(const RecordFile&) = delete;
  RecordFile& operator=(const RecordFile&) = delete;
  ~RecordFile() { Close(); }

  // False when the file does not exist, is a directory, or cannot be opened in `mode`.
  [[nodiscard]] bool Open(const std::string& path, Mode mode);
  bool IsOpen() const { return handle_ != -1; }
  void Close();

  // The file's length in bytes.
  [[nodiscard]] bool Size(std::uint64_t& size) const;
  // Reads exactly `size` bytes at `offset`; false on an error or when the file ends first.
  [[nodiscard]] bool ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const;
  // Writes all `size` bytes at `offset`, extending the file when it ends there.
  [[nodiscard]] bool WriteAt(std::uint64_t offset, const void* data, std::size_t size);
  // Waits until what was written is on the disk.
  [[nodiscard]] bool Sync();

 private:
  std::intptr_t handle_ = -1;  // a descriptor, or a HANDLE on Windows
};

// The steps of a RecordFile that change a file, for tests that stop a writer part way.
enum class RecordFileStep { kOpenForWriting, kWrite, kSync };

// A test hook asked before each step. Returning false makes the step fail as if the system
// had refused it; for kWrite the hook may lower `bytes` first, and that many bytes of the
// write reach the file before it fails (a write torn by a crash). nullptr (the default)
// lets every step run.
using RecordFileFaultHook = bool (*)(RecordFileStep step, std::size_t& bytes);
void SetRecordFileFaultHook(RecordFileFaultHook hook);

}  // namespace shogi
