// Test helpers for the thinking library: loading it by path, and building move lists from
// USI moves played (and checked) on a board of the tests' own.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace sikou_test {

// The answer of one call of `sikou`; the outputs start at kUntouched so that a call that
// must not write them can be checked.
constexpr int kUntouched = -7777;
struct Answer {
  int result = 0;
  int from = kUntouched;
  int to = kUntouched;
  int promote = kUntouched;
};

// sikou.so loaded with dlopen from the build's bin directory, as the program loads it.
class Library {
 public:
  Library();
  ~Library();
  Library(const Library&) = delete;
  Library& operator=(const Library&) = delete;

  bool loaded() const { return sikou_ != nullptr && ini_ != nullptr && end_ != nullptr; }
  const std::string& error() const { return error_; }

  int32_t* Ini(int32_t* abort_flag) const;
  void End() const;
  Answer Think(const std::vector<std::uint8_t>& moves) const;
  // The raw call, for lists that are not whole moves.
  Answer Call(int count, const std::uint8_t* moves) const;
  int CallRaw(int count, const std::uint8_t* moves, int32_t* from, int32_t* to,
              int32_t* promote) const;

 private:
  void* handle_ = nullptr;
  int32_t* (*ini_)(int32_t*) = nullptr;
  int32_t (*sikou_)(int32_t, const unsigned char*, int32_t*, int32_t*, int32_t*,
                    int32_t*) = nullptr;
  void (*end_)() = nullptr;
  std::string error_;
};

// The library loaded once for all tests.
const Library& TheLibrary();

// A game played from the standard initial position. Every move is checked against the rules
// (piece movement, blocked lines, promotion, drops, two pawns in a file, the own king left
// in check), so that a test cannot build its position by accident from an illegal game.
// Pawn-drop mates are not detected.
class Game {
 public:
  Game();

  // Plays USI moves separated by spaces ("7g7f 3c3d 8h2b+ 3a2b B*4e"); false with `error`
  // filled at the first illegal or malformed one.
  bool Play(const std::string& moves);
  const std::string& error() const { return error_; }

  // Whether from/to/promote (the library's answer encoding) is a legal move of the side to
  // move; PlayAnswer plays the library's answer if it is.
  bool IsLegal(int from, int to, int promote) const;
  bool PlayAnswer(const Answer& a);

  // Every legal move of the side to move (answer encoding), and whether there is none.
  struct Move {
    int from, to, promote;
  };
  std::vector<Move> LegalMoves() const;
  bool NoLegalMove() const { return LegalMoves().empty(); }
  bool InCheck() const;

  const std::vector<std::uint8_t>& moves() const { return bytes_; }
  int ply() const { return static_cast<int>(bytes_.size() / 2); }
  int At(int sq) const { return cell_[sq]; }
  int Hand(int side, int type) const { return cell_[(side == 0 ? 82 : 90) + type]; }
  // The board as text, and the moves played as USI (for failure messages).
  std::string Diagram() const;
  std::string Usi() const;

 private:
  bool Check(int from, int to, int promote, std::string* why) const;
  void Apply(int from, int to, int promote);

  std::int8_t cell_[100];
  std::vector<std::uint8_t> bytes_;
  std::string error_;
};

// The game after USI `moves`, each of which must be legal (a failed expectation otherwise).
Game Played(const std::string& moves);

// A legal move as an answer, to be played with PlayAnswer.
Answer AnswerOf(const Game::Move& m);

// Whether the answer `a` to `g` (the attacker to move) forces mate within `plies`: the last
// move is checked with the tests' own rules, and the library is asked again after every reply
// of the defender.
::testing::AssertionResult ForcesMate(const Game& g, const Answer& a, int plies);

// Square number of a USI square ("7g" = file 7, rank 7 = 61) and back.
int UsiSquare(const std::string& text);
std::string SquareName(int sq);
// A move in the library's answer encoding written as USI ("P*5e", "8h2b+").
std::string UsiMove(int from, int to, int promote);

}  // namespace sikou_test
