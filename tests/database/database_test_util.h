// What the database tests share: a fresh program folder with name lists, the games of the
// hand-written golden databases, and file bytes.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "database/database_format.h"
#include "rules/game_record.h"
#include "tests/support/test_files.h"

namespace shogi::test_support {

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
GameRecord GoldenLanceGame();

}  // namespace shogi::test_support
