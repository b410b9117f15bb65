// Positions, records and games for the tests of every folder, built from SFEN and USI moves
// with the rules' LegalMoves as referee.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "rules/handicap.h"
#include "rules/move_rules.h"
#include "rules/sfen.h"

namespace shogi::test {

// A position and its side to move.
struct SfenPosition {
  Position pos{};
  Side side = kFirst;
};
// The position of an SFEN or "startpos"; a malformed text fails the test.
SfenPosition FromSfen(std::string_view sfen);

// The move of a USI text ("7g7f", "8h2b+", "P*5e"); a malformed text fails the test and
// gives the end marker.
MoveCode UsiMove(std::string_view usi);

// The start position of `h` as SFEN, written out from the layouts apart from the rules' table:
// in every handicap the giver, the second player, moves first.
const char* HandicapSfen(Handicap h);

// The words of a list of USI moves separated by spaces.
std::vector<std::string> SplitUsi(std::string_view usi);

// A reset record (names "人間", today's date, result 0) that starts at `pos` with `side` to
// move: StartIndex = PlyCount = side, no moves.
GameRecord RecordAt(const Position& pos, Side side);

// The record of `sfen` holding the USI moves `usi` (separated by spaces) from StartIndex on,
// with the cumulative times `times` (one per move, or none), shown at its start. The moves
// are stored as a file would hold them: their legality is not asked.
GameRecord MakeRecord(std::string_view sfen, std::string_view usi = {},
                      const std::vector<int>& times = {});

// The record's moves from StartIndex to the end marker as USI, separated by spaces.
std::string UsiMoves(const GameRecord& record);

// A game being played: the record with PlyCount after its last move, and the shown position.
// Every move must be one that LegalMoves lists for the record.
class Game {
 public:
  explicit Game(std::string_view sfen = "startpos");

  Side ToMove() const { return SideOfPly(record.PlyCount); }
  // The legal moves of the side to move, in the rules' order.
  std::vector<MoveCode> LegalMoves() const;
  // The same as USI texts.
  std::vector<std::string> Legal() const;
  bool IsLegal(MoveCode move) const;
  bool IsLegal(std::string_view usi) const;

  // Plays `move` if it is legal; false (nothing changed) if not.
  bool TryMove(MoveCode move);
  // Plays USI moves separated by spaces; the first that is malformed or illegal fails the
  // test and ends the play (false).
  bool Play(std::string_view usi);

  GameRecord record;
  Position pos;
};

}  // namespace shogi::test
