// Reading a database game by game as it is stored, for the routines that walk a whole
// database (conversions, the opening books): the raw index record, the start position its
// handicap code names, and the moves that can be played from there.
#pragma once

#include <cstdint>
#include <string>

#include "database/game_database.h"

namespace shogi {

// A database the conversions and the opening book read from is not there.
inline constexpr const char kMessageKisenMissing[] = "棋泉ファイルが存在しません。";
inline constexpr const char kMessageTarvelMissing[] = "Tarvelファイルが存在しません。";

struct StoredGame {
  std::uint8_t Index[kMaxIndexRecordBytes] = {};  // the format's IndexRecordBytes of them
  int HandicapCode = 0;                           // as stored
  int Result = 0;                                 // as stored
  Handicap Start = Handicap::kEven;               // the start position of the handicap code
  // Plies StartIndex..End-1 of the game, the end marker at End (entries before StartIndex
  // are zero). A damaged block gives the sound moves before the damage.
  MoveCode Moves[kMaxMoves] = {};
  int End = 0;
  // The first slot from StartIndex whose byte 0 is 0 (256 when every slot is in use), as the
  // block stores it, whether or not the moves before it can be played.
  int SlotsUsed = 0;
};

// Opens the pair of `paths` for reading: 0; or 1 with `missing` when either file is not
// there, else with the message of GameDatabase::Open (a damaged pair).
[[nodiscard]] int OpenStoredDatabase(const DatabaseFormat& format, const DatabasePaths& paths,
                                     const char* missing, GameDatabase& db, std::string& message);

// Game n (1..db.Count()) of an open database, its moves decoded up to slot `limit` (not
// included). False when its record or block cannot be read.
[[nodiscard]] bool ReadStoredGame(const GameDatabase& db, int n, StoredGame& game,
                                  int limit = kBlockSlots);

}  // namespace shogi
