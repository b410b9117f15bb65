// Replacing or removing a few files as one step that neither a failed write nor a crash can
// split. The new contents go to files of their own in a staging folder beside the targets
// ("0", "1", … for targets 0, 1, …). When every staged file is on the disk, an empty marker
// file in the folder ("commit", or "remove" for a removal) is made durable: that is the point
// of no return. Then the staged files are renamed over their targets in the targets' order
// (or the targets are deleted), and the marker and the folder go.
//
// RecoverFileTransaction, run before the targets are opened again, finishes a transaction
// whose marker is there (roll forward: the renames and removals left are done) and throws
// away one whose marker is not (roll back: the staged files and the folder go, the targets
// were never touched). After a crash at any point the targets are therefore either all old
// or all new, and no staged file outlives the next recovery. Nothing else is ever deleted:
// recovery removes only the names above, and a staging folder holding anything more is left
// alone (and the next transaction on it refused).
//
// Every step asks the replacing writes' fault hook (platform/replacing_file.h): kCreate
// (the folder, each staged file, the marker), kWrite (each Write or WriteAt call), kFlush
// (each staged file and the marker reaching the disk), kRename and kRemove.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/file_system.h"

namespace shogi {

class FileTransaction {
 public:
  // `staging`: the folder to use, beside the targets (same file system); `targets`: the files
  // the transaction may replace or remove, in the order they are replaced.
  FileTransaction(std::string staging, std::vector<std::string> targets);
  FileTransaction(const FileTransaction&) = delete;
  FileTransaction& operator=(const FileTransaction&) = delete;
  ~FileTransaction() { Abort(); }

  // Recovers a transaction a crash left behind, then makes the staging folder.
  [[nodiscard]] bool Begin();
  // Creates the new (empty) content of target `i`; targets never staged stay as they are.
  [[nodiscard]] bool Stage(std::size_t i);
  // Appends to the staged file of target `i` (through a buffer).
  [[nodiscard]] bool Write(std::size_t i, std::string_view bytes);
  // Writes over bytes already appended, at `offset` of the staged file.
  [[nodiscard]] bool WriteAt(std::size_t i, std::uint64_t offset, std::string_view bytes);
  // Puts every staged file on the disk, marks the transaction done and moves the staged files
  // over their targets. True once the mark is on the disk: a later step that fails is
  // finished by the next RecoverFileTransaction. False (and everything undone) before it.
  [[nodiscard]] bool Commit();
  // Marks the transaction as the removal of every target and removes them; true as Commit.
  [[nodiscard]] bool CommitRemoval();
  // Throws away what was staged (nothing after a successful commit).
  void Abort();

 private:
  struct Staged {
    file_system::Handle Handle = file_system::kNoHandle;
    std::string Buffer;
    bool Created = false;
  };
  bool Flush(Staged& staged);
  bool Mark(const char* marker);
  bool Fail();

  std::string staging_;
  std::vector<std::string> targets_;
  std::vector<Staged> staged_;
  bool begun_ = false;
};

enum class RecoveryOutcome {
  kNothing,        // no transaction was left
  kRolledBack,     // one without its mark: the targets are as they were
  kRolledForward,  // one with its mark: the targets are the new ones
  kFailed,         // a step failed, or the folder is not the transaction's: nothing is sure
};
RecoveryOutcome RecoverFileTransaction(const std::string& staging,
                                       const std::vector<std::string>& targets);

}  // namespace shogi
