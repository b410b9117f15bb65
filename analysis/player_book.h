// The opening book as the computer player reads it: records of the first 64 move slots of
// games, looked up by replaying them to the current ply.
#pragma once

#include "analysis/player_control.h"
#include "rules/game_record.h"

namespace shogi::player {

constexpr int kBookSlots = 64;
// Slot 0 of a handicap game's record: this byte in front of the handicap code (the Tarvel
// numbering), the moves from slot 1 on.
constexpr int kBookHandicapMark = 0xFF;

// One record: slot i holds the move of ply i; a zero slot ends a game shorter than 64.
struct BookRecord {
  MoveCode Slots[kBookSlots];
};

// A book file. Every byte of it is untrusted: the lookup checks every move it replays.
class OpeningBook {
 public:
  virtual ~OpeningBook() = default;
  // The number of records; 0 or less when the file cannot be opened or holds none.
  virtual int RecordCount() = 0;
  // Record `index` (0-based); false when it cannot be read.
  virtual bool ReadRecord(int index, BookRecord& record) = 0;
};

enum class BookAnswer {
  kHit,      // `move` is the book move
  kMiss,     // no record matches, or the game's start cannot be described by the book
  kNoBook,   // the book cannot be opened or is empty: no move, and the book stays enabled
  kStopped,  // AbortFlag was set
};

// Looks the position at `record.PlyCount` (shown as `current`) up in `book`, scanning the
// records cyclically from the one after `first` (taken modulo the count): a record counts
// when its start type is the game's and its moves, replayed from the game's initial position,
// reach `current` byte for byte with a move left at this ply, which must be legal.
BookAnswer LookUpBook(OpeningBook& book, const GameRecord& record, const Position& current,
                      int first, SearchControl& control, MoveCode& move);

}  // namespace shogi::player
