// Games of random legal moves, and databases of any size written straight from them, for the
// search tests and the search benchmark. The games are real: every move is legal where it is
// played, so that a search replays them as it replays recorded games.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "database_files/database_format.h"
#include "rules/game_record.h"

namespace shogi::test_support {

// A game from `start` of random legal moves, until `plies` moves are made or the side to
// move has none; the header is left blank and the result is 0. `game` is reset first.
void RandomGame(Handicap start, int plies, std::mt19937& rng, GameRecord& game);

// `count` random games: from the even position, or in about one game of `handicap_share`
// from a handicap start that `format` can store; of 1 to `max_plies` moves (more than 256
// makes games that a block cuts short).
std::vector<GameRecord> RandomGames(const DatabaseFormat& format, int count, int max_plies,
                                    int handicap_share, std::uint32_t seed);

// The index fields of game n in a synthetic database, worked out from n alone, so that a test
// can tell which games a record search must find: players 1 + n % 997 and 1 + (7 n) % 997
// (Kisen: these numbers; Tarvel: the names SyntheticPlayerName of them), tournament
// 1 + n % 99, opening 1 + n % 97, year 1950 + n % 70, month 1 + n % 12, day 1 + n % 28,
// result n % 5.
struct SyntheticFields {
  int Players[2], Tournament, Opening, Year, Month, Day, Result;
};
SyntheticFields SyntheticFieldsOf(int n);
// "棋士" and the number (cp932).
std::string SyntheticPlayerName(int number);
// The name lists of a synthetic database in `folder`: KSNAME.DAT and 棋士名.DAT with the
// players 1..999, KISEN.DAT and 棋戦.DAT with the tournaments "棋戦" 1..99, SENKEI.DAT and
// 戦型.DAT with the openings "戦型" 1..99.
void WriteSyntheticLists(const std::string& folder);

// The game that game n (1..count) of a synthetic database holds: games[GameOfNumber(n, size)].
int GameOfNumber(int n, int games);

// Writes a database of `count` games at `paths`: game n holds the moves of
// games[GameOfNumber(n, games.size())] and the fields SyntheticFieldsOf(n). The files are
// written in one sequential pass. False when they cannot be written.
bool WriteSyntheticDatabase(const DatabaseFormat& format, const DatabasePaths& paths, int count,
                            const std::vector<GameRecord>& games);

}  // namespace shogi::test_support
