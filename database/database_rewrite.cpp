// Database rewrites through a file transaction, and their recovery.
#include "database/database_rewrite.h"

#include <cstring>

#include "database_files/little_endian.h"
#include "platform/file_system.h"
#include "platform/message_pump.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// The transaction's targets, in the order they are replaced: the move file first, so that
// the index, which is what makes a database, is the last file to change.
constexpr std::size_t kMovesTarget = 0;
constexpr std::size_t kIndexTarget = 1;

std::vector<std::string> Targets(const DatabaseFormat& format, const DatabasePaths& paths) {
  return {paths.Moves(format), paths.Index(format)};
}

std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
  return {reinterpret_cast<const char*>(data), size};
}

}  // namespace

std::string RewriteStagingPath(const DatabaseFormat& format, const DatabasePaths& paths) {
  return paths.Index(format) + "-rewrite";
}

int RecoverDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                    std::string& message) {
  if (RecoverFileTransaction(RewriteStagingPath(format, paths), Targets(format, paths)) ==
      RecoveryOutcome::kFailed) {
    message = kMessageMalformed;
    return 1;
  }
  return 0;
}

void RewrittenHeader(const DatabaseFormat& format, const std::uint8_t* old_header,
                     std::uint32_t count, std::uint8_t* header) {
  if (old_header != nullptr) {
    std::memcpy(header, old_header, format.IndexRecordBytes);
  } else {
    std::memset(header, 0, format.IndexRecordBytes);
  }
  Le32 stored;
  stored.Set(count);
  std::memcpy(header, stored.Bytes, sizeof stored.Bytes);
}

bool DatabaseRewrite::Begin(const DatabaseFormat& format, const DatabasePaths& paths, Files files) {
  format_ = &format;
  transaction_.emplace(RewriteStagingPath(format, paths), Targets(format, paths));
  index_staged_ = false;
  if (!transaction_->Begin()) return false;
  if (files == Files::kNone) return true;
  index_staged_ = transaction_->Stage(kIndexTarget);
  return index_staged_ && (files == Files::kIndexOnly || transaction_->Stage(kMovesTarget));
}

bool DatabaseRewrite::Header(const std::uint8_t* old_header, std::uint32_t count) {
  std::uint8_t header[kMaxIndexRecordBytes];
  RewrittenHeader(*format_, old_header, count, header);
  return Record(header);
}

bool DatabaseRewrite::Record(const std::uint8_t* record) {
  return transaction_ &&
         transaction_->Write(kIndexTarget, Bytes(record, format_->IndexRecordBytes));
}

bool DatabaseRewrite::Block(const std::uint8_t* block) {
  return transaction_ && transaction_->Write(kMovesTarget, Bytes(block, kMoveBlockBytes));
}

bool DatabaseRewrite::SetCount(std::uint32_t count) {
  Le32 stored;
  stored.Set(count);
  return transaction_ && transaction_->WriteAt(kIndexTarget, 0, Bytes(stored.Bytes, 4));
}

bool DatabaseRewrite::Commit() {
  return transaction_ && transaction_->Commit();
}

bool DatabaseRewrite::RemoveDatabase() {
  return transaction_ && transaction_->CommitRemoval();
}

int CopyGames(const GameDatabase& from, int first, int last, DatabaseRewrite& to,
              std::string& message) {
  std::uint8_t record[kMaxIndexRecordBytes], block[kMoveBlockBytes];
  for (int n = first; n <= last; ++n) {
    if (!from.ReadIndex(n, record) || !from.ReadBlock(n, block)) {
      message = kMessageMalformed;
      return 1;
    }
    if (!to.Record(record) || !to.Block(block)) {
      message = kMessageCannotCreate;
      return 1;
    }
    PumpMessages();
  }
  return 0;
}

bool SameDatabase(const DatabaseFormat& format, const DatabasePaths& a, const DatabasePaths& b) {
  return file_system::SameFile(a.Index(format), b.Index(format)) ||
         file_system::SameFile(a.Moves(format), b.Moves(format));
}

}  // namespace shogi
