// The in-process computer player of levels 1 to 9: the opening book, the mate searches and
// the main selection (plans, candidates, threat checks, preliminary scores, deep evaluation
// under the level's target and time budget).
#pragma once

#include <cstdint>
#include <functional>

#include "analysis/mate_table.h"
#include "analysis/player_book.h"
#include "analysis/player_control.h"
#include "rules/game_record.h"

namespace shogi::player {

constexpr int kMinLevel = 1;
constexpr int kMaxLevel = 9;

// What one level does: its mate depths and budget, and how deep its evaluation looks.
struct LevelSettings {
  int mate_depth;        // the mate search after a book miss (level 1: 3, no book)
  int threat_depth;      // stage 3: the opponent's mate searched in the current position
  double budget;         // seconds from the start of the move
  int deep_depth;        // plies of the deep score's full-width search in the first pass
  int second_depth;      // the deepest second test, a ply deeper per pass (0: none)
  bool second_always;    // tests every leader, not only those whose first result is >= -24
  int reply_mate_depth;  // the opponent's mate searched after a candidate that would lead
};
const LevelSettings& SettingsOfLevel(int level);

// The target of stage 6 for `level` from the provisional best's deep score `s` (both in
// capture-value units).
int LevelTarget(int level, int s);

// Where a move came from (for the tools and the tests).
enum class MoveSource { kNone, kBook, kMate, kThreatFilter, kSelection };

struct ThinkOutcome {
  // 0 no move (resign, or stopped through AbortFlag), else the origin of `move`.
  int result = 0;
  MoveCode move{};
  MoveSource source = MoveSource::kNone;
  bool aborted = false;  // AbortFlag ended the thinking
  bool book_consulted = false;
  int script = 0;           // the strategy script that placed a plan move (0 none)
  int candidates = 0;       // stage 2's count
  int deep_scored = 0;      // candidates given a deep score in stage 6
  int second_tests = 0;     // stage 6's deeper tests
  int second_depth = 0;     // the deepest complete pass of those tests (0: none)
  MoveCode first_choice{};  // the first pass's choice, when the deeper tests ran
  int best_score = 0;       // the played move's deep score (capture-value units)
  std::uint64_t polls = 0;  // search nodes and book records visited
};

// What the player works with besides the game: the stop request and progress, the clock,
// the random numbers of the book's starting record, the book and the mate table.
struct ThinkEnvironment {
  const int* abort_flag = nullptr;  // AbortFlag; may be null
  LoopProgress progress;            // told from time to time (the window takes its messages
                                    // there); false stops the player as AbortFlag does
  SecondsClock clock;               // empty: the wall clock
  std::function<int()> random;      // empty: the C library's rand()
  OpeningBook* book = nullptr;      // none: no book moves
  MateTable* mate_table = nullptr;  // none: the solver works without a table
  double budget_scale = 0;          // > 0: every level's budget times this (the levels keep
                                    // their proportions in short matches)
  double budget_cap = 0;            // > 0: no level thinks longer than this (seconds)
};

// The computer player. It keeps, across the moves of one game, whether the book has failed.
class Thinker {
 public:
  // A new game begins: the book is enabled again.
  void NewGame() { book_failed_ = false; }

  // Chooses the move of the side to move (record.PlyCount mod 2) in `shown`, the position
  // after record.PlyCount plies of `record`. `level` is 1..9.
  ThinkOutcome Think(int level, const GameRecord& record, const Position& shown,
                     const ThinkEnvironment& env);

 private:
  bool book_failed_ = false;
};

}  // namespace shogi::player
