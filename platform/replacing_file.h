// Whole-file rewrites that never lose the old file: the new bytes go to a temporary file
// beside the target, reach the disk, and only then take the target's place in one rename.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace shogi {

// A file being rewritten. Open creates a temporary file with a name of its own in the
// target's folder (never a fixed "<path>.tmp", which may be a user's file); Write appends;
// Commit flushes the data to the disk and renames the temporary over the target in one
// step. Any failure, Abort, or destruction before Commit removes the temporary and leaves
// the target as it was.
class ReplacingFile {
 public:
  ReplacingFile() = default;
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;
  ~ReplacingFile() { Abort(); }

  [[nodiscard]] bool Open(const std::string& path);
  // False once any write has failed; the file is then abandoned.
  [[nodiscard]] bool Write(std::string_view bytes);
  [[nodiscard]] bool Commit();
  void Abort();

  // The temporary's path while the file is open (for tests).
  const std::string& TemporaryPath() const { return temporary_; }

 private:
  bool Fail();

  std::string path_;
  std::string temporary_;
  std::intptr_t handle_ = -1;  // a descriptor, or a HANDLE on Windows
};

// Replaces the file at `path` with `bytes` through a ReplacingFile. False when the file
// could not be written; the old file is then untouched and no temporary is left.
[[nodiscard]] bool WriteFileReplacing(const std::string& path, std::string_view bytes);

// The steps of a replacing write (and of a FileTransaction, which also removes files and
// folders), for tests that make one fail.
enum class ReplaceStep { kCreate, kWrite, kFlush, kRename, kRemove };

// A test hook asked before each step; returning false makes that step fail as if the system
// had refused it. nullptr (the default) lets every step run.
using ReplaceFaultHook = bool (*)(ReplaceStep step);
void SetReplaceFaultHook(ReplaceFaultHook hook);
// Asks the hook about `step`: true when the step may run.
[[nodiscard]] bool ReplaceStepAllowed(ReplaceStep step);

}  // namespace shogi
