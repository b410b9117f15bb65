// The book lookup of the computer player.
#include "analysis/player_book.h"

#include "rules/handicap.h"
#include "rules/move_rules.h"

namespace shogi::player {
namespace {

// The start type of a record (0 the even game, else its handicap code) and the slot its moves
// begin at.
void RecordStart(const BookRecord& r, int& type, int& first_slot) {
  if (r.Slots[0].to == kBookHandicapMark) {
    type = r.Slots[0].from;
    first_slot = 1;
  } else {
    type = 0;
    first_slot = 0;
  }
}

}  // namespace

BookAnswer LookUpBook(OpeningBook& book, const GameRecord& record, const Position& current,
                      int first, SearchControl& control, MoveCode& move) {
  const int count = book.RecordCount();
  if (count <= 0) return BookAnswer::kNoBook;
  const std::optional<Handicap> start =
      MatchHandicap(record.InitialPosition, record.StartIndex, HandicapScheme::kTarvel);
  if (!start) return BookAnswer::kMiss;
  const int game_type = HandicapNumber(*start, HandicapScheme::kTarvel);
  const int ply = record.PlyCount;
  if (ply < record.StartIndex || ply >= kBookSlots) return BookAnswer::kMiss;
  const int begin = ((first % count) + count) % count;

  BookRecord r;
  for (int step = 1; step <= count; ++step) {
    if (control.Poll() && control.Aborted()) return BookAnswer::kStopped;
    if (!book.ReadRecord((begin + step) % count, r)) continue;
    int type, first_slot;
    RecordStart(r, type, first_slot);
    if (type != game_type || first_slot != record.StartIndex) continue;
    Position pos = record.InitialPosition;
    bool replayed = true;
    for (int i = first_slot; i < ply && replayed; ++i) {
      const MoveCode m = r.Slots[i];
      replayed = IsWellFormedMove(m) && IsPlayableMove(pos, SideOfPly(i), m);
      if (replayed) ApplyMove(pos, m, SideOfPly(i));
    }
    if (!replayed || !(pos == current)) continue;
    const MoveCode next = r.Slots[ply];
    if (!IsWellFormedMove(next) || !IsLegalMove(record, current, next)) continue;
    move = next;
    return BookAnswer::kHit;
  }
  return BookAnswer::kMiss;
}

}  // namespace shogi::player
