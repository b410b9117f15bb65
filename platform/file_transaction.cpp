// Files replaced or removed together through a staging folder and a commit mark.
#include "platform/file_transaction.h"

#include <utility>

#include "platform/replacing_file.h"

namespace shogi {
namespace {

namespace fs = file_system;

constexpr const char kCommitMark[] = "commit";
constexpr const char kRemoveMark[] = "remove";
// Staged bytes are written out in pieces of this size.
constexpr std::size_t kBufferBytes = 1 << 16;

std::string InFolder(const std::string& folder, const std::string& name) {
  return folder + "/" + name;
}
std::string StagedPath(const std::string& staging, std::size_t i) {
  return InFolder(staging, std::to_string(i));
}

bool Exists(const std::string& path) {
  return fs::KindOf(path) != fs::Kind::kMissing;
}

// A step the fault hook allows and that then succeeds.
template <class Action>
bool Step(ReplaceStep step, Action action) {
  return ReplaceStepAllowed(step) && action();
}

bool RemoveStep(const std::string& path) {
  return Step(ReplaceStep::kRemove, [&] { return fs::RemoveFile(path); });
}

// Ends a transaction that reached its mark: the mark and the (then empty) folder go.
bool RemoveMarkAndFolder(const std::string& staging, const char* mark) {
  if (!RemoveStep(InFolder(staging, mark)) ||
      !Step(ReplaceStep::kRemove, [&] { return fs::RemoveFolder(staging); }))
    return false;
  fs::SyncFolder(fs::FolderOf(staging));
  return true;
}

// The renames (or removals) of a marked transaction that have not happened yet.
bool RollForward(const std::string& staging, const std::vector<std::string>& targets,
                 bool removal) {
  const char* mark = removal ? kRemoveMark : kCommitMark;
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const std::string staged = StagedPath(staging, i);
    if (removal) {
      if (Exists(targets[i]) && !RemoveStep(targets[i])) return false;
    } else if (Exists(staged) &&
               !Step(ReplaceStep::kRename, [&] { return fs::MoveOver(staged, targets[i]); })) {
      return false;
    }
  }
  return RemoveMarkAndFolder(staging, mark);
}

}  // namespace

FileTransaction::FileTransaction(std::string staging, std::vector<std::string> targets)
    : staging_(std::move(staging)), targets_(std::move(targets)) {}

bool FileTransaction::Begin() {
  Abort();
  if (RecoverFileTransaction(staging_, targets_) == RecoveryOutcome::kFailed) return false;
  if (!Step(ReplaceStep::kCreate, [&] { return fs::MakeFolder(staging_); })) return false;
  begun_ = true;
  staged_.assign(targets_.size(), Staged{});
  return true;
}

bool FileTransaction::Fail() {
  Abort();
  return false;
}

bool FileTransaction::Stage(std::size_t i) {
  if (!begun_ || i >= staged_.size() || staged_[i].Created) return Fail();
  Staged& s = staged_[i];
  if (!ReplaceStepAllowed(ReplaceStep::kCreate) ||
      fs::CreateNew(StagedPath(staging_, i), targets_[i], s.Handle) != fs::CreateResult::kCreated)
    return Fail();
  s.Created = true;
  s.Buffer.reserve(kBufferBytes);
  return true;
}

bool FileTransaction::Flush(Staged& s) {
  const bool written = s.Buffer.empty() || fs::WriteAll(s.Handle, s.Buffer);
  s.Buffer.clear();
  return written;
}

bool FileTransaction::Write(std::size_t i, std::string_view bytes) {
  if (!begun_ || i >= staged_.size() || !staged_[i].Created) return Fail();
  Staged& s = staged_[i];
  if (!ReplaceStepAllowed(ReplaceStep::kWrite)) return Fail();
  s.Buffer.append(bytes);
  if (s.Buffer.size() >= kBufferBytes && !Flush(s)) return Fail();
  return true;
}

bool FileTransaction::WriteAt(std::size_t i, std::uint64_t offset, std::string_view bytes) {
  if (!begun_ || i >= staged_.size() || !staged_[i].Created) return Fail();
  Staged& s = staged_[i];
  if (!ReplaceStepAllowed(ReplaceStep::kWrite) || !Flush(s) ||
      !fs::WriteAllAt(s.Handle, offset, bytes))
    return Fail();
  return true;
}

// Makes the empty file `mark` in the staging folder and puts its name on the disk.
bool FileTransaction::Mark(const char* mark) {
  fs::Handle handle = fs::kNoHandle;
  if (!ReplaceStepAllowed(ReplaceStep::kCreate) ||
      fs::CreateNew(InFolder(staging_, mark), "", handle) != fs::CreateResult::kCreated)
    return false;
  const bool closed = fs::Close(handle);
  if (!closed || !ReplaceStepAllowed(ReplaceStep::kFlush)) return false;
  fs::SyncFolder(staging_);
  return true;
}

bool FileTransaction::Commit() {
  if (!begun_) return false;
  for (Staged& s : staged_) {
    if (!s.Created) continue;
    if (!Flush(s) || !Step(ReplaceStep::kFlush, [&] { return fs::FlushToDisk(s.Handle); }))
      return Fail();
    const bool closed = fs::Close(s.Handle);
    s.Handle = fs::kNoHandle;
    if (!closed) return Fail();
  }
  if (!Mark(kCommitMark)) return Fail();
  // Done: whatever fails from here on is finished by the next recovery.
  begun_ = false;
  (void)RollForward(staging_, targets_, false);
  return true;
}

bool FileTransaction::CommitRemoval() {
  if (!begun_) return false;
  for (const Staged& s : staged_) {
    if (s.Created) return Fail();
  }
  if (!Mark(kRemoveMark)) return Fail();
  begun_ = false;
  (void)RollForward(staging_, targets_, true);
  return true;
}

void FileTransaction::Abort() {
  if (!begun_) return;
  begun_ = false;
  for (std::size_t i = 0; i < staged_.size(); ++i) {
    Staged& s = staged_[i];
    if (s.Handle != fs::kNoHandle) fs::Close(s.Handle);
    if (s.Created) fs::RemoveFile(StagedPath(staging_, i));
  }
  staged_.clear();
  for (const char* mark : {kCommitMark, kRemoveMark}) {
    if (Exists(InFolder(staging_, mark))) fs::RemoveFile(InFolder(staging_, mark));
  }
  fs::RemoveFolder(staging_);
}

RecoveryOutcome RecoverFileTransaction(const std::string& staging,
                                       const std::vector<std::string>& targets) {
  switch (fs::KindOf(staging)) {
    case fs::Kind::kMissing:
      return RecoveryOutcome::kNothing;
    case fs::Kind::kFolder:
      break;
    default:
      return RecoveryOutcome::kFailed;
  }
  for (const bool removal : {false, true}) {
    if (Exists(InFolder(staging, removal ? kRemoveMark : kCommitMark)))
      return RollForward(staging, targets, removal) ? RecoveryOutcome::kRolledForward
                                                    : RecoveryOutcome::kFailed;
  }
  for (std::size_t i = 0; i < targets.size(); ++i) {
    const std::string staged = StagedPath(staging, i);
    if (Exists(staged) && !RemoveStep(staged)) return RecoveryOutcome::kFailed;
  }
  if (!Step(ReplaceStep::kRemove, [&] { return fs::RemoveFolder(staging); }))
    return RecoveryOutcome::kFailed;
  return RecoveryOutcome::kRolledBack;
}

}  // namespace shogi
