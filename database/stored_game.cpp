// Opening a database for a walk through all its games, and reading one game as stored.
#include "database/stored_game.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "platform/file_path.h"
#include "records/record_io.h"

namespace shogi {

int OpenStoredDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                       const char* missing, GameDatabase& db, std::string& message) {
  if (!IsRegularFile(paths.Index(format)) || !IsRegularFile(paths.Moves(format))) {
    message = missing;
    return 1;
  }
  return db.Open(format, paths, RecordFile::Mode::kRead, message);
}

bool ReadStoredGame(const GameDatabase& db, int n, StoredGame& game, int limit) {
  std::uint8_t block[kMoveBlockBytes];
  if (!db.ReadIndex(n, game.Index) || !db.ReadBlock(n, block)) return false;
  const DatabaseFormat& format = db.Format();
  static const DatabaseNames kNoNames;
  const IndexFields fields = format.ReadIndex(game.Index, kNoNames);
  game.HandicapCode = fields.HandicapCode;
  game.Result = fields.Result;
  game.Start = HandicapOfStoredCode(format.Scheme, fields.HandicapCode);
  game.SlotsUsed = HandicapStartIndex(game.Start);
  while (game.SlotsUsed < kBlockSlots && block[2 * game.SlotsUsed] != 0) ++game.SlotsUsed;
  // The slots from `limit` on end the game for the decoder.
  for (int slot = std::max(limit, 0); slot < kBlockSlots; ++slot) block[2 * slot] = 0;
  for (MoveCode& m : game.Moves) m = MoveCode{};
  game.End = format.DecodeBlock(block, game.Start, game.Moves);
  return true;
}

}  // namespace shogi
