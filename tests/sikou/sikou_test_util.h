// Test helpers for the thinking library: loading it by path, and building move lists from
// USI moves played (and checked) with the rules library.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "rules/attack.h"
#include "tests/support/game_builder.h"

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

// The tests of the library: each needs it loaded.
class LibraryTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib().loaded()) << lib().error(); }
  static const Library& lib() { return TheLibrary(); }
};

// A tiny xorshift generator, so that random lists and games are the same on every run.
struct Random {
  std::uint64_t state;
  std::uint32_t Next();
  int Below(int n) { return static_cast<int>(Next() % static_cast<std::uint32_t>(n)); }
};

// A game from the standard initial position, played and checked by the rules library, as
// the library sees it: its move list as bytes, and its answers checked and played.
class Game : public shogi::test::Game {
 public:
  using shogi::test::Game::IsLegal;
  // Whether from/to/promote (the library's answer encoding) is a legal move of the side to
  // move; PlayAnswer plays the library's answer if it is.
  bool IsLegal(int from, int to, int promote) const;
  bool PlayAnswer(const Answer& a);

  bool NoLegalMove() const { return LegalMoves().empty(); }
  bool InCheck() const { return shogi::InCheck(pos, ToMove()); }

  // The move list as the library gets it: two bytes a move from ply 0.
  std::vector<std::uint8_t> moves() const;
  int ply() const { return record.PlyCount; }
  // Byte `index` of the position record (squares 1..81, hands at 83.. and 91..).
  int At(int index) const { return static_cast<std::int8_t>(pos.bytes()[index]); }
  // The position as SFEN and the moves played as USI (for failure messages).
  std::string Diagram() const;
  std::string Usi() const { return shogi::test::UsiMoves(record); }
};

// The game after USI `moves`, each of which must be legal (a failed expectation otherwise).
Game Played(const std::string& moves);

// A legal move as an answer, to be played with PlayAnswer.
Answer AnswerOf(shogi::MoveCode m);

// Whether the answer `a` to `g` (the attacker to move) forces mate within `plies`: the last
// move is checked with the rules, and the library is asked again after every reply of the
// defender.
::testing::AssertionResult ForcesMate(const Game& g, const Answer& a, int plies);

// A move in the library's answer encoding written as USI ("P*5e", "8h2b+"); values out of
// range as "from-to+".
std::string UsiMove(int from, int to, int promote);

}  // namespace sikou_test
