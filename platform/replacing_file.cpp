// The replacing file write.
#include "platform/replacing_file.h"

#include "platform/file_system.h"

namespace shogi {
namespace {

namespace fs = file_system;

ReplaceFaultHook g_replace_fault_hook = nullptr;
unsigned g_temporary_counter = 0;

// Temporary names tried before giving up; each collision means another file already took
// that name, which is left alone.
constexpr int kNameAttempts = 100;

std::string TemporaryName(const std::string& path) {
  return path + "." + std::to_string(fs::ProcessId()) + "-" +
         std::to_string(++g_temporary_counter) + ".tmp";
}

}  // namespace

void SetReplaceFaultHook(ReplaceFaultHook hook) {
  g_replace_fault_hook = hook;
}

bool ReplaceStepAllowed(ReplaceStep step) {
  return g_replace_fault_hook == nullptr || g_replace_fault_hook(step);
}

bool ReplacingFile::Fail() {
  Abort();
  return false;
}

bool ReplacingFile::Open(const std::string& path) {
  Abort();
  path_ = path;
  if (!ReplaceStepAllowed(ReplaceStep::kCreate)) return false;
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string name = TemporaryName(path);
    switch (fs::CreateNew(name, path, handle_)) {
      case fs::CreateResult::kCreated:
        temporary_ = name;
        return true;
      case fs::CreateResult::kNameTaken:
        continue;
      case fs::CreateResult::kFailed:
        return false;
    }
  }
  return false;
}

bool ReplacingFile::Write(std::string_view bytes) {
  if (handle_ == -1) return false;
  if (!ReplaceStepAllowed(ReplaceStep::kWrite) || !fs::WriteAll(handle_, bytes)) return Fail();
  return true;
}

bool ReplacingFile::Commit() {
  if (handle_ == -1) return false;
  if (!ReplaceStepAllowed(ReplaceStep::kFlush) || !fs::FlushToDisk(handle_)) return Fail();
  const bool closed = fs::Close(handle_);
  handle_ = -1;
  if (!closed || !ReplaceStepAllowed(ReplaceStep::kRename) || !fs::MoveOver(temporary_, path_))
    return Fail();
  temporary_.clear();
  return true;
}

void ReplacingFile::Abort() {
  if (handle_ != -1) fs::Close(handle_);
  handle_ = -1;
  if (!temporary_.empty()) fs::RemoveFile(temporary_);
  temporary_.clear();
}

bool WriteFileReplacing(const std::string& path, std::string_view bytes) {
  ReplacingFile file;
  return file.Open(path) && file.Write(bytes) && file.Commit();
}

}  // namespace shogi
