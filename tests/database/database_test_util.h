// What the database tests share: a fresh program folder with name lists, the games of the
// hand-written golden databases, and file bytes.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "database/database_rewrite.h"
#include "database_files/database_format.h"
#include "rules/game_record.h"
#include "tests/support/test_files.h"

namespace shogi::test {

// A folder of its own for each test, removed afterwards.
class DatabaseFolderTest : public ::testing::Test {
 protected:
  // The folder, ending in a separator.
  const std::string& Folder() const { return folder_.Path(); }
  // Writes `utf8` as cp932 to `name` (a subfolder is created as needed).
  void WriteList(const std::string& name, std::string_view utf8) const;
  // The list files of the golden games (KSNAME.DAT, KISEN.DAT, SENKEI.DAT, 棋戦.DAT,
  // 戦型.DAT).
  void WriteGoldenLists() const;
  // The paths of `name` ("games.idx", "games.mix") in the folder.
  DatabasePaths PathsOf(std::string_view name) const;
  // A copy of the golden pair of `format` in the folder, as "games.idx" or "games.mix".
  DatabasePaths CopyGolden(const DatabaseFormat& format) const;

 public:  // also for tables of cases built outside the fixture
  // The database `name` ("games.idx") in the folder holding `games`, its files written from
  // the layouts at once (no registration).
  DatabasePaths WriteGames(const DatabaseFormat& format, std::string_view name,
                           const std::vector<GameRecord>& games) const;

 private:
  TempFolder folder_;
};

// The golden pair of `format`: tests/data/kisen/two_games.idx and .kif, or
// tests/data/tarvel/two_games.mix and .mkf.
DatabasePaths GoldenPaths(const DatabaseFormat& format);

// The games of tests/data/kisen/two_games.* and tests/data/tarvel/two_games.*, with the
// lists of WriteGoldenLists: an even game with names (a 12-byte one, and a 13-byte one
// whose last character would cross byte 12), tournament, opening, game number and date;
// and a 香落ち game won by the handicap giver, whose horse moves and who drops a bishop.
GameRecord GoldenEvenGame();
// Sets the header of `r` (texts UTF-8).
void SetHeader(GameRecord& r, const char* first, const char* second, const char* tournament,
               const char* opening, int game_number, int year, int month, int day, int result);
GameRecord GoldenLanceGame();

// An even game dated year-month-day holding the first `plies` (0..20) moves of one fixed
// opening, so that games of different lengths have different blocks.
GameRecord DatedGame(int year, int month, int day, int plies = 1);

// One game of a yearbook data set, as the tests write it.
struct YearbookGame {
  std::string Title;  // UTF-8, as are the names
  std::string FirstFamily, FirstGiven, SecondFamily, SecondGiven;
  int Year = 2001, Month = 4, Day = 9;
  int Result = 0;  // the header's byte: 0 the first player won, 1 the second
  // Moves as the yearbook stores them: origin, destination (16 × rank + file), flags.
  std::vector<std::array<std::uint8_t, 3>> Moves;
  int DeclaredMoves = -1;  // the header's move count; -1: the number of moves
};
// The three yearbook files of `games` in `folder` (names "headers.dat", "index.dat",
// "moves.dat"); `index_games` and `data_games` (when not -1) cut the move index or the move
// data after that many games.
struct YearbookPaths {
  std::string Headers, MoveIndex, MoveData;
};
YearbookPaths WriteYearbookFiles(const std::string& folder, const std::vector<YearbookGame>& games,
                                 int index_games = -1, int data_games = -1);
// A yearbook record's header that is not a game (its title begins with byte 9).
YearbookGame NotAGame();

// The bytes of a database's index and move files (nothing for a file that is not there),
// and whether its staging folder is left.
struct DatabaseFiles {
  std::optional<std::string> Index, Moves;
  bool Staging = false;
  friend bool operator==(const DatabaseFiles&, const DatabaseFiles&) = default;
};
DatabaseFiles FilesOf(const DatabaseFormat& format, const DatabasePaths& paths);
// Writes `files` back as the database's files.
void PutFiles(const DatabaseFormat& format, const DatabasePaths& paths, const DatabaseFiles& files);

// A new database of `format` at `paths` (one there before is removed) holding `games`,
// registered as new games in order with `folder` as the program folder; nonzero with the
// message of the first step that failed.
[[nodiscard]] int WriteGames(const DatabaseFormat& format, const DatabasePaths& paths,
                             const std::string& folder, const std::vector<GameRecord>& games,
                             std::string& message);

// The numbers of the search list at `path`, as many as it holds up to the first number below
// 1; false when the file cannot be read.
bool ReadListed(const std::string& path, std::vector<int>& numbers);
// Writes `numbers` as the search list at `path`.
void PutSearchList(const std::string& path, const std::vector<int>& numbers);

}  // namespace shogi::test
