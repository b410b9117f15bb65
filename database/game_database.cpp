// Opening, creating, reading and registering, once for both database formats.
#include "database/game_database.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <optional>

#include "database/database_rewrite.h"
#include "database_files/little_endian.h"
#include "platform/file_path.h"
#include "platform/replacing_file.h"
#include "records/record_io.h"

namespace shogi {
namespace {

// The message for a file of the pair that did not open: one that is not there gets
// `if_missing`; one that is there but refuses writing cannot be written.
const char* OpenFailure(const std::string& path, RecordFile::Mode mode, const char* if_missing) {
  return mode == RecordFile::Mode::kReadWrite && FileExists(path) ? kMessageCannotCreate
                                                                  : if_missing;
}

}  // namespace

int GameDatabase::Open(const DatabaseFormat& format, const DatabasePaths& paths,
                       RecordFile::Mode mode, std::string& message, TruncatedDatabase truncated) {
  format_ = &format;
  count_ = 0;
  moves_.Close();
  index_.Close();
  if (RecoverDatabase(format, paths, message) != 0) return 1;
  const std::string index_path = paths.Index(format), moves_path = paths.Moves(format);
  if (!index_.Open(index_path, mode)) {
    message = OpenFailure(index_path, mode, kMessageFileMissing);
    return 1;
  }
  // An index without its move file is not a database.
  if (!moves_.Open(moves_path, mode)) {
    message = OpenFailure(moves_path, mode, kMessageMalformed);
    index_.Close();
    return 1;
  }
  const std::uint64_t record_bytes = format.IndexRecordBytes;
  std::uint64_t moves_bytes = 0;
  std::uint8_t header[kMaxIndexRecordBytes] = {};
  bool sound = index_.Size(index_bytes_) && moves_.Size(moves_bytes);
  // An empty index is an empty database; a header cut short is damage no count can mend.
  has_header_ = index_bytes_ > 0;
  sound = sound && (!has_header_ ||
                    (index_bytes_ >= record_bytes && index_.ReadAt(0, header, record_bytes)));
  if (sound) {
    stated_count_ = has_header_ ? format.GameCount(header, index_bytes_) : 0;
    const std::uint64_t whole =
        std::min<std::uint64_t>({has_header_ ? index_bytes_ / record_bytes - 1 : 0,
                                 moves_bytes / kMoveBlockBytes, kMaxGameCount});
    // Both files must hold every game the count claims, whole; else only the whole ones are
    // read, when the caller reads a damaged database.
    sound = stated_count_ <= whole || truncated == TruncatedDatabase::kReadWhole;
    count_ = static_cast<int>(std::min(stated_count_, whole));
    // A count read from 16 bits with other bytes beside them is written again in full before
    // the index grows, so that growing past 2 MiB cannot change it.
    stored_count_whole_ = Le32{{header[0], header[1], header[2], header[3]}}.Get() == stated_count_;
  }
  if (!sound) {
    message = kMessageMalformed;
    count_ = 0;
    stated_count_ = 0;
    index_.Close();
    moves_.Close();
    return 1;
  }
  return 0;
}

bool GameDatabase::ReadIndex(int n, std::uint8_t* record) const {
  return ReadIndexRange(n, 1, record);
}

bool GameDatabase::ReadBlock(int n, std::uint8_t* block) const {
  return ReadBlockRange(n, 1, block);
}

bool GameDatabase::ReadIndexRange(int first, int n, std::uint8_t* records) const {
  if (first < 0 || n < 1 || n > count_ + 1 - first) return false;
  const std::uint64_t bytes = format_->IndexRecordBytes;
  if (!has_header_) {  // an empty index: a header of zeros and no games
    std::memset(records, 0, bytes);
    return true;
  }
  return index_.ReadAt(static_cast<std::uint64_t>(first) * bytes, records,
                       static_cast<std::size_t>(bytes * static_cast<std::uint64_t>(n)));
}

bool GameDatabase::ReadBlockRange(int first, int n, std::uint8_t* blocks) const {
  if (first < 1 || n < 1 || n > count_ + 1 - first) return false;
  return moves_.ReadAt(static_cast<std::uint64_t>(first - 1) * kMoveBlockBytes, blocks,
                       static_cast<std::size_t>(kMoveBlockBytes * static_cast<std::uint64_t>(n)));
}

bool GameDatabase::WriteGame(int n, const std::uint8_t* record, const std::uint8_t* block) {
  if (n < 1 || n > count_ + 1 || Truncated()) return false;
  const std::uint64_t bytes = format_->IndexRecordBytes;
  // An empty index gets its header, and a count written in part gets all four bytes,
  // before the index grows.
  if (!has_header_) {
    const std::uint8_t zeros[kMaxIndexRecordBytes] = {};
    if (!index_.WriteAt(0, zeros, bytes) || !index_.Sync()) return false;
    has_header_ = true;
    stored_count_whole_ = true;
  }
  if (n == count_ + 1 && !stored_count_whole_ && !SetCount(count_)) return false;
  return moves_.WriteAt(static_cast<std::uint64_t>(n - 1) * kMoveBlockBytes, block,
                        kMoveBlockBytes) &&
         index_.WriteAt(static_cast<std::uint64_t>(n) * bytes, record, bytes) && moves_.Sync() &&
         index_.Sync();
}

// The count is written alone, four bytes at the start of the index: storage writes them in
// one piece with the sector that holds them, so a crash leaves the old count or the new one.
bool GameDatabase::SetCount(int count) {
  if (count < 0 || static_cast<std::uint32_t>(count) > kMaxGameCount) return false;
  Le32 stored;
  stored.Set(static_cast<std::uint32_t>(count));
  if (!index_.WriteAt(0, stored.Bytes, sizeof stored.Bytes) || !index_.Sync()) return false;
  count_ = count;
  stated_count_ = static_cast<std::uint64_t>(count);
  stored_count_whole_ = true;
  return true;
}

DatabaseState ProbeDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                            std::string& message) {
  if (RecoverDatabase(format, paths, message) != 0) return DatabaseState::kDamaged;
  if (!FileExists(paths.Index(format))) return DatabaseState::kMissing;
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) != 0)
    return DatabaseState::kDamaged;
  if (!db.Truncated()) return DatabaseState::kSound;
  message = kMessageMalformed;
  return DatabaseState::kTruncated;
}

int RepairDatabase(const DatabaseFormat& format, const DatabasePaths& paths, int& count,
                   std::string& message) {
  count = 0;
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kReadWrite, message,
              TruncatedDatabase::kReadWhole) != 0)
    return 1;
  if (db.Truncated() && !db.SetCount(db.Count())) {
    message = kMessageCannotCreate;
    return 1;
  }
  count = db.Count();
  return 0;
}

int CreateDatabase(const DatabaseFormat& format, const DatabasePaths& paths, std::string& message) {
  const std::string index_path = paths.Index(format), moves_path = paths.Moves(format);
  // The move file first: an index is what makes a database, so a pair cut short by a
  // failure here is no database at all.
  if (RecoverDatabase(format, paths, message) == 0 && !FileExists(index_path) &&
      !FileExists(moves_path) && WriteFileReplacing(moves_path, {})) {
    if (WriteFileReplacing(index_path, std::string(format.IndexRecordBytes, '\0'))) return 0;
    std::remove(moves_path.c_str());
  }
  message = kMessageCannotCreate;
  return 1;
}

int DatabaseGameCount(const DatabaseFormat& format, const DatabasePaths& paths, int& count,
                      std::string& message) {
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) != 0)
    return 1;
  count = db.Count();
  return 0;
}

int ReadGame(const DatabaseFormat& format, const DatabasePaths& paths, const DatabaseNames& names,
             int n, GameRecord& record, std::string& message, const ShownPlyHook& shown_ply) {
  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kRead, message, TruncatedDatabase::kReadWhole) != 0)
    return 0;
  if (n < 1 || n > db.Count()) {
    // A game the count claims but the files do not hold whole is damaged, not absent.
    message = n >= 1 && static_cast<std::uint64_t>(n) <= db.StatedCount()
                  ? kMessageMalformed
                  : kMessageNumberBeyondCount;
    return 0;
  }
  std::uint8_t index[kMaxIndexRecordBytes], block[kMoveBlockBytes];
  if (!db.ReadIndex(n, index) || !db.ReadBlock(n, block)) {
    message = kMessageMalformed;
    return 0;
  }
  GameRecord game;
  PrepareRecordForReading(record, game);
  const Handicap start = ApplyIndexFields(format.ReadIndex(index, names), format.Scheme, game);
  const int end = format.DecodeBlock(block, start, game.MoveList);
  game.PlyCount = shown_ply ? std::clamp(shown_ply(game), game.StartIndex, end) : game.StartIndex;
  record = game;
  return n;
}

int ReadGame(const DatabaseFormat& format, const DatabasePaths& paths, const std::string& folder,
             int n, GameRecord& record, std::string& message, const ShownPlyHook& shown_ply) {
  DatabaseNames names;
  LoadDatabaseNames(format, folder, names);
  return ReadGame(format, paths, names, n, record, message, shown_ply);
}

int RegisterGame(const DatabaseFormat& format, const DatabasePaths& paths,
                 const DatabaseNames& names, const GameRecord& record, int& number,
                 std::string& message) {
  const std::optional<Handicap> start =
      MatchHandicap(record.InitialPosition, record.StartIndex, format.Scheme);
  if (!start) {
    message = kMessageNotSavable;
    return 1;
  }
  const int code = HandicapNumber(*start, format.Scheme);
  std::uint8_t block[kMoveBlockBytes];
  const int slots_used = format.EncodeBlock(record.MoveList, *start, code, block);

  GameDatabase db;
  if (db.Open(format, paths, RecordFile::Mode::kReadWrite, message) != 0) return 1;
  if (number < 0 || number > db.Count()) {
    message = kMessageNumberBeyondCount;
    return 1;
  }
  if (number == 0 && static_cast<std::uint32_t>(db.Count()) >= kMaxGameCount) {
    message = kMessageCannotCreate;
    return 1;
  }
  const int n = number == 0 ? db.Count() + 1 : number;
  std::uint8_t index[kMaxIndexRecordBytes] = {};
  if (number > 0 && !db.ReadIndex(n, index)) {
    message = kMessageMalformed;
    return 1;
  }
  format.WriteIndex(record, code, StoredResult(record, slots_used), names, index);
  if (!db.WriteGame(n, index, block) || (number == 0 && !db.SetCount(n))) {
    message = kMessageCannotCreate;
    return 1;
  }
  number = n;
  return 0;
}

int RegisterGame(const DatabaseFormat& format, const DatabasePaths& paths,
                 const std::string& folder, const GameRecord& record, int& number,
                 std::string& message) {
  DatabaseNames names;
  LoadDatabaseNames(format, folder, names);
  return RegisterGame(format, paths, names, record, number, message);
}

}  // namespace shogi
