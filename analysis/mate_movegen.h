// The mate solver's own generators: checks (full and reduced) and evasions, in the solver's
// frame where the attacker is always the first player and the defender the second.
#pragma once

#include "rules/position.h"

namespace shogi {

// Room for every check of any position: drops on the lines and knight squares around the
// king (at most 42 squares, 5 pieces each: 210), board moves onto those squares (at most
// 10 pieces reach a square, 2 forms each: 840) and moves uncovering a line (8 lines, a
// dragon or horse has at most 20 destinations, 2 forms: 320). 1 370 < 2 048.
constexpr int kMaxMateChecks = 2048;
// King steps 8, captures of the checker 2 x 10, interpositions on at most 7 squares with
// 7 drops and 2 x 10 moves each: 217 < 256.
constexpr int kMaxMateEvasions = 256;

// The moves are left unset until added: the lists are made for every node searched, and
// setting thousands of moves each time cost the solvers a tenth of their time.
template <int N>
struct MateMoveList {
  int count = 0;
  union {
    MoveCode moves[N];
  };

  MateMoveList() {}

  void Add(int origin, int destination, int promote) {
    // The capacities above bound every list; the check keeps a corrupt position harmless.
    if (count < N) moves[count++] = EncodeMove(origin, destination, promote);
  }
};
using CheckList = MateMoveList<kMaxMateChecks>;
using EvasionList = MateMoveList<kMaxMateEvasions>;

// Appends every checking move of the first player against the second player's king (which
// must exist), in three phases: drops around the king, board moves giving direct check
// grouped by their destination around the king, then moves uncovering a line piece. The
// full generator lists both forms of a move whose promotion is optional; the reduced one
// lists only the promoting form for pawns, bishops and rooks. Moves are pseudo-legal: one
// that leaves the attacker's own king attacked is caught by the defender's reply.
void GenerateChecks(const Position& pos, bool full, CheckList& out);

// Appends the legal replies of the second player, whose king is in check: king moves first,
// then captures of the checking piece, then interpositions nearest the king first, on each
// square drops (pawn .. rook) before moves. With `first_only` it stops after the first.
// Returns the count.
[[nodiscard]] int GenerateEvasions(const Position& pos, EvasionList& out, bool first_only);

// The squares the second player's king could step to now: next to it, not held by its own
// pieces, and attacked by no first-player piece once the king has left its square.
struct KingEscapes {
  int count = 0;
  Square squares[8];
};
KingEscapes FreeKingSquares(const Position& pos);

// GenerateEvasions with the king's free squares known (FreeKingSquares of `pos`).
[[nodiscard]] int GenerateEvasions(const Position& pos, const KingEscapes& steps, EvasionList& out,
                                   bool first_only);

// The king's free squares now and after each of many moves or drops of the first player in
// one position: the attacks of the pieces on the board are read once; after a move, those of
// the piece moved are left out and its own added, and a line piece's lines are followed again
// only where the move's origin or destination stands on them.
class CheckEscapes {
 public:
  // Nothing read yet (and nothing set: Read before anything else).
  CheckEscapes() = default;
  explicit CheckEscapes(const Position& pos) { Read(pos); }
  void Read(const Position& pos);
  bool Ready() const { return pos_ != nullptr; }
  // FreeKingSquares of the position.
  KingEscapes Now() const;
  // FreeKingSquares of `next`, the position after the first player's move `m`.
  KingEscapes After(const Position& next, MoveCode m) const;

 private:
  friend void GenerateCoveringChecks(const CheckEscapes& reading, const KingEscapes& escapes,
                                     CheckList& out);
  const Position* pos_ = nullptr;
  // The board without the king, the first player's pieces; the squares the pieces reach by a
  // step, and those two or more of them reach so.
  std::uint64_t occupied_[2], first_[2], steps_[2], twice_[2];
  unsigned forms_;  // the types the first player's pieces on the board move as, by bit
  static constexpr int kMaxLiners = 40;
  int liner_count_ = 0;  // the line pieces whose lines pass near the king: their squares,
                         // those lines, and the squares they reach along them
  std::uint8_t liners_[kMaxLiners], lines_[kMaxLiners];
  std::uint64_t rays_[kMaxLiners][2];
};

// About how many checks the first player has after each of the second player's replies in
// one position: the squares the first player's pieces reach are read once, before the reply;
// after it, the squares from which they and the pieces in hand would check the king are
// counted. A piece's forms are counted once and a move uncovering a line not at all.
class CheckEstimate {
 public:
  // Nothing read yet (and nothing set: Read before anything else).
  CheckEstimate() = default;
  explicit CheckEstimate(const Position& pos) { Read(pos); }
  void Read(const Position& pos);
  bool Ready() const { return ready_; }
  // The estimate for `next`, the position after one reply of the second player.
  int After(const Position& next) const;

 private:
  static constexpr int kMaxPieces = 40;
  bool ready_ = false;
  int count_ = 0;  // the first player's pieces other than the king, and what each reaches
  std::uint8_t square_[kMaxPieces], type_[kMaxPieces];
  std::uint64_t reach_[kMaxPieces][2];
};

// Whether the first player's check `m` may take every square of `escapes` from the king:
// the piece it moves (or drops) attacks or occupies each, or its origin uncovers a line piece
// onto it. False means the king steps to one of them whatever else happens, so that `m` is
// no mate.
bool MayCoverEscapes(const Position& pos, MoveCode m, const KingEscapes& escapes);

// The checks of GenerateChecks (full) that MayCoverEscapes may pass for `escapes`, and
// perhaps some more, in the same order, in the position `reading` has read; `escapes` is its
// Now().
void GenerateCoveringChecks(const CheckEscapes& reading, const KingEscapes& escapes,
                            CheckList& out);

// The position turned by 180 degrees with the colours exchanged: square q becomes 82 - q,
// every piece changes side, the hands are exchanged and the king squares mapped (a missing
// king stays missing). Turning twice gives the position back.
Position TurnPosition(const Position& pos);

// A move mapped the same way (drop origins stay as they are).
MoveCode TurnMove(MoveCode move);

}  // namespace shogi
