// Matches between two computer players: the sides set up from their descriptions, colours
// alternating, from the start or from opening lines, with the tally and the Elo difference.
// The games themselves are played by the caller's game runner (the shell's PlayMatchGame
// plays them through the window's game driver).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "players/computer_player.h"
#include "players/usi_engine.h"

namespace shogi {

// A player of a match: "level:N" (the in-process player, N 1..9), "sikou" (the thinking
// library, loaded as the window does), or "usi:COMMAND" (an outside USI engine).
struct MatchPlayer {
  enum class Kind { kLevel, kSikou, kUsi };
  Kind Type = Kind::kLevel;
  int Level = 1;
  std::string Command;             // kUsi
  std::vector<UsiOption> Options;  // kUsi: sent with setoption
  std::string Label() const;
};
[[nodiscard]] int ParseMatchPlayer(const std::string& text, MatchPlayer& player,
                                   std::string& message);

// One opening line: USI moves from the standard initial position.
using OpeningLine = std::vector<std::string>;
// Reads an openings file: one line of USI moves each; empty lines and lines starting with
// '#' are skipped. Nonzero with a message when it cannot be read.
[[nodiscard]] int ReadOpenings(const std::string& path, std::vector<OpeningLine>& lines,
                               std::string& message);

// One game's end as seen from player A.
struct GameSummary {
  int Number = 0;      // 1..games
  bool AFirst = true;  // A played the first player (先手)
  int ResultCode = 0;  // the record's result: 1 first won, 2 second won, 3 repetition, 0 limit
  int Plies = 0;
  int AScore = 0;     // 1 A won, -1 A lost, 0 a draw
  std::string Note;   // why a side stopped, when it was not the rules (a dead engine)
  std::string Moves;  // the game's moves in USI
};

struct MatchTally {
  int Wins = 0, Losses = 0, Draws = 0;  // of player A
  int Games() const { return Wins + Losses + Draws; }
};

// The Elo difference of A over B from the score p = (wins + draws / 2) / games by the
// logistic formula -400 log10(1 / p - 1), and the 95 % margin from the normal approximation
// of the mean score (1.96 standard errors, converted at both ends and halved). Undefined
// (infinite) when A scored everything or nothing.
struct EloEstimate {
  bool Defined = false;
  double Difference = 0;
  double Margin = 0;
};
EloEstimate EstimateElo(const MatchTally& tally);

// Plays one game: `first` and `second` are the two sides' computer players with their
// PlayerKinds (positive: in-process levels, negative: library-like), from the standard
// initial position after `opening`. Nonzero with a message when the game cannot be played.
using MatchGameRunner = std::function<int(
    ComputerPlayer& first, int first_kind, ComputerPlayer& second, int second_kind,
    const OpeningLine& opening, GameSummary& summary, std::string& message)>;

struct MatchOptions {
  int Games = 2;
  double Seconds = 0;  // > 0: caps every move's budget (in-process levels and engines)
  double Scale = 0;    // > 0: multiplies the in-process levels' budgets (before the cap)
  std::vector<OpeningLine> Openings;
  std::string ProgramFolder;                       // where sikou is loaded from
  std::function<void(const GameSummary&)> OnGame;  // after each game
  MatchGameRunner PlayGame;                        // plays each game (required)
};

// Plays the match A against B: game i (from 1) has A as the first player when i is odd; each
// opening line is used for two games in a row, one with each colour. Nonzero with a
// message when a player cannot be set up (the library or an engine does not start).
[[nodiscard]] int RunMatch(const MatchPlayer& a, const MatchPlayer& b, const MatchOptions& options,
                           MatchTally& tally, std::string& message);

}  // namespace shogi
