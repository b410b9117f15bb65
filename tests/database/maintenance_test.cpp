// The whole-database commands' checks, questions and results: the duplicate check, the two
// merges, deleting a game with the search list's renumbering, removing a database, swapping
// two games, and the staging folder a crash leaves.
#include <gtest/gtest.h>

#include <filesystem>

#include "database/duplicates.h"
#include "database/maintenance.h"
#include "database/merge.h"
#include "database/search_list.h"
#include "platform/replacing_file.h"
#include "records/record_io.h"
#include "tests/database/database_test_util.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::DatedGame;
using test::FilesOf;
using test::MakeRecord;

class MaintenanceTest : public test::DatabaseFolderTest {
 protected:
  // Hooks that note the status words, the questions (answering `yes`) and the progress
  // reports.
  CommandHooks Noting(bool yes = true) {
    return {[this](const char* word) { words.push_back(word); },
            [this, yes](const std::string& question) {
              questions.push_back(question);
              return yes;
            },
            [this](std::int64_t, std::int64_t) { return ++pumps > 0; }};
  }
  std::vector<std::string> words, questions;
  int pumps = 0;
};

const char kLanceStart[] = "lnsgkgsn1/1r5b1/ppppppppp/9/9/9/PPPPPPPPP/1B5R1/LNSGKGSNL w - 1";

// The search list a duplicate check leaves in the folder: the pairs it wrote, or the list
// that was there before (5, 6) when it wrote none.
class DuplicatesTest : public MaintenanceTest {
 protected:
  int Check(const DatabaseFormat& format, const DatabasePaths& paths, std::vector<int>& listed,
            std::int64_t max_entries = kMaxSearchListEntries, bool writes_fail = false) {
    test::PutSearchList(List(), {5, 6});
    if (writes_fail)
      SetReplaceFaultHook([](ReplaceStep step) { return step != ReplaceStep::kWrite; });
    const int rc = FindDuplicates(format, paths, List(), Noting(), pairs, message, max_entries);
    SetReplaceFaultHook(nullptr);
    EXPECT_TRUE(test::ReadListed(List(), listed));
    return rc;
  }
  std::string List() const { return Folder() + "list.dat"; }
  int pairs = 0;
  std::string message;
};

TEST_F(DuplicatesTest, DuplicatesAreGamesEndingOnTheSameBoard) {
  const GameRecord opening = MakeRecord("startpos", "7g7f 3c3d");
  // The rooks go away and come back: four plies more, the same board.
  const GameRecord longer = MakeRecord("startpos", "7g7f 3c3d 2h3h 8b7b 3h2h 7b8b");
  const GameRecord other = MakeRecord("startpos", "2g2f 3c3d");
  const GameRecord lance = MakeRecord(kLanceStart, "3c3d 7g7f");
  // Two different boards of one hash (the check's FNV-1a), told apart square by square.
  const GameRecord hashed = MakeRecord(
      "startpos", "1g1f 4a4b 2g2f 4b3b 9i9h 3c3d 7i7h 9c9d 6i6h 6a7b 2h3h 5c5d 3g3f 1c1d");
  const GameRecord same_hash =
      MakeRecord("startpos", "8g8f 9a9b 6i5h 6a6b 2g2f 3a4b 3g3f 6c6d 2h4h 5c5d 7i7h 6b7b");
  struct Case {
    const char* name;
    std::vector<GameRecord> games;
    std::vector<int> listed;  // the pairs, each on two lines
  } cases[] = {
      {"two boards of one hash", {hashed, same_hash, same_hash, hashed}, {2, 3, 1, 4}},
      {"different lengths", {opening, other, longer}, {1, 3}},
      {"a game equal to two earlier ones", {opening, longer, other, opening}, {1, 2, 1, 4, 2, 4}},
      {"the same moves from another start", {opening, lance, lance}, {2, 3}},
      {"found by the later game", {opening, lance, lance, longer}, {2, 3, 1, 4}},
      {"none", {opening, other, lance}, {}},
  };
  for (const Case& c : cases) {
    for (const DatabaseFormat* format : {&kKisenFormat, &kTarvelFormat}) {
      SCOPED_TRACE(std::string(c.name) + " " + format->Caption);
      const DatabasePaths paths = WriteGames(*format, "games.idx", c.games);
      words.clear();
      pumps = 0;
      std::vector<int> listed;
      const int rc = Check(*format, paths, listed);
      const int expected_pairs = static_cast<int>(c.listed.size() / 2);
      EXPECT_EQ(listed, c.listed.empty() ? std::vector<int>({5, 6}) : c.listed);
      EXPECT_EQ(rc, c.listed.empty() ? 1 : 0);
      EXPECT_EQ(pairs, expected_pairs);
      EXPECT_EQ(message, c.listed.empty() ? std::string(kMessageNoDuplicates)
                                          : Printed(kMessageDuplicatePairs, expected_pairs));
      EXPECT_EQ(words, std::vector<std::string>{kStatusCheckingDuplicates});
      EXPECT_GE(pumps, static_cast<int>(c.games.size()));
    }
  }
}

TEST_F(DuplicatesTest, OneGameHasNoDuplicatesWithoutItsMovesBeingRead) {
  const DatabasePaths paths = WriteGames(kKisenFormat, "games.idx", {DatedGame(2000, 1, 1)});
  std::vector<int> listed;
  EXPECT_EQ(Check(kKisenFormat, paths, listed), 1);
  EXPECT_EQ(message, kMessageNoDuplicates);
  EXPECT_TRUE(words.empty());
  EXPECT_EQ(pumps, 0);
}

// Many games on a few boards: every pair is listed, by the later game and then the earlier,
// as long as the list can count its entries (its limit lowered here to sit at the boundary);
// a list that cannot count them, or cannot be written, leaves the old list as it was.
TEST_F(DuplicatesTest, PairsOfManyEqualGamesAreListedUpToWhatTheListCanCount) {
  const GameRecord boards[] = {DatedGame(2001, 1, 1, 2), DatedGame(2001, 1, 1, 4),
                               DatedGame(2001, 1, 1, 5)};
  std::vector<GameRecord> games;
  std::vector<int> board_of, expected;
  for (int d = 1; d <= 150; ++d) {
    board_of.push_back(d % 7 == 0 ? 2 : d % 2);
    games.push_back(boards[board_of.back()]);
    for (int i = 1; i < d; ++i) {
      if (board_of[i - 1] == board_of[d - 1]) expected.insert(expected.end(), {i, d});
    }
  }
  const auto entries = static_cast<std::int64_t>(expected.size());
  const DatabasePaths paths = WriteGames(kTarvelFormat, "games.mix", games);
  std::vector<int> listed;
  ASSERT_EQ(Check(kTarvelFormat, paths, listed, entries), 0) << message;
  EXPECT_EQ(listed, expected);
  EXPECT_EQ(pairs, entries / 2);

  for (const bool writes_fail : {false, true}) {
    EXPECT_EQ(Check(kTarvelFormat, paths, listed, entries - (writes_fail ? 0 : 1), writes_fail), 1);
    EXPECT_EQ(message, kMessageNoMemoryToCheck);
    EXPECT_EQ(listed, (std::vector<int>{5, 6}));
  }
}

TEST_F(MaintenanceTest, MergeAppendsTheSourceAfterItsChecksAndQuestion) {
  for (const DatabaseFormat* format : {&kKisenFormat, &kTarvelFormat}) {
    SCOPED_TRACE(format->Caption);
    const std::vector<GameRecord> target = {DatedGame(2001, 1, 1, 1), DatedGame(2001, 1, 2, 2)};
    const std::vector<GameRecord> source = {DatedGame(1999, 5, 5, 3), DatedGame(1999, 5, 6, 4),
                                            DatedGame(1999, 5, 7, 5)};
    const DatabasePaths paths = WriteGames(*format, "games.idx", target);
    const DatabasePaths from = WriteGames(*format, "source.idx", source);
    std::vector<GameRecord> all = target;
    all.insert(all.end(), source.begin(), source.end());
    const auto merged = FilesOf(*format, WriteGames(*format, "merged.idx", all));
    const auto before = FilesOf(*format, paths);
    std::filesystem::create_directory(Folder() + "sub");
    std::filesystem::create_hard_link(paths.Index(*format),
                                      Folder() + "linked." + std::string(format->IndexExtension));
    struct Case {
      std::string chosen;
      bool answer;
      int rc;
      std::string message;
    } cases[] = {
        {Folder() + "x.", true, 1, kMessageBadFileName},
        {Folder() + "missing.idx", true, 1, format->MissingMessage},
        // The same files, however the path is written.
        {Folder() + "sub/../" + paths.Index(*format).substr(Folder().size()), true, 1,
         kMessageSameDatabase},
        {Folder() + "linked." + std::string(format->IndexExtension), true, 1, kMessageSameDatabase},
        {from.Index(*format), false, 1, ""},
        {from.Index(*format), true, 0, ""},
    };
    for (const Case& c : cases) {
      SCOPED_TRACE(c.chosen);
      questions.clear();
      words.clear();
      std::string message;
      EXPECT_EQ(MergeDatabase(*format, paths, c.chosen, Noting(c.answer), message), c.rc);
      EXPECT_EQ(message, c.message);
      EXPECT_EQ(FilesOf(*format, paths), c.rc == 0 ? merged : before);
      const bool asked = c.message.empty();
      EXPECT_EQ(questions,
                asked ? std::vector<std::string>{kQuestionMerge} : std::vector<std::string>{});
      EXPECT_EQ(words,
                c.rc == 0 ? std::vector<std::string>{kStatusMerging} : std::vector<std::string>{});
    }
    std::filesystem::remove(Folder() + "linked." + std::string(format->IndexExtension));
  }
  EXPECT_EQ(MergeWarning(kTarvelFormat, PathsOf("db.mix")),
            "警告：同一棋譜" + Folder() + "db.MIXを指定すると、棋譜が壊れます。");
  EXPECT_EQ(MergeWarning(kKisenFormat, PathsOf("db.idx")), kKisenFormat.MergeWarning);
}

TEST_F(MaintenanceTest, DistributedDataReplacesTheCurrentGamesFromItsOldestDate) {
  // Current games 2004..2001, newest first; the distribution 2005..2003.
  const std::vector<GameRecord> current = {DatedGame(2004, 6, 1, 1), DatedGame(2003, 6, 1, 2),
                                           DatedGame(2003, 1, 1, 3), DatedGame(2002, 6, 1, 4),
                                           DatedGame(2001, 6, 1, 5)};
  const std::vector<GameRecord> distributed = {DatedGame(2005, 3, 1, 6), DatedGame(2004, 3, 1, 7),
                                               DatedGame(2004, 3, 1, 8), DatedGame(2003, 1, 1, 9)};
  const DatabasePaths paths = WriteGames(kKisenFormat, "games.idx", current);
  WriteGames(kKisenFormat, "dist.idx", distributed);
  const auto before = FilesOf(kKisenFormat, paths);
  std::vector<GameRecord> expected = distributed;
  expected.insert(expected.end(), current.begin() + 3, current.end());
  const auto merged = FilesOf(kKisenFormat, WriteGames(kKisenFormat, "merged.idx", expected));

  // Distributions that each fail one check, in the order the checks run.
  const auto bad = [&](const char* name, std::vector<GameRecord> games) {
    WriteGames(kKisenFormat, name, games);
    return Folder() + name;
  };
  struct Case {
    std::string chosen;
    const char* message;
  } cases[] = {
      {Folder() + "x", kMessageBadFileName},
      {paths.Index(kKisenFormat), kMessageSameDatabase},
      {Folder() + "none.idx", kMessageDistributedUnopenable},
      {bad("empty.idx", {}), kMessageDistributedEmpty},
      {bad("old.idx", {DatedGame(1990, 12, 31), DatedGame(1990, 1, 1)}), kMessageDistributedTooOld},
      {bad("new.idx", {DatedGame(2051, 1, 1), DatedGame(2050, 1, 1)}), kMessageDistributedTooNew},
      {bad("unsorted.idx", {DatedGame(2005, 1, 1), DatedGame(2005, 1, 2), DatedGame(2004, 1, 1)}),
       kMessageDistributedUnsorted},
      {bad("later.idx", {DatedGame(2005, 1, 1), DatedGame(2001, 6, 1)}), kMessageNothingKept},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.chosen);
    std::string message;
    EXPECT_EQ(MergeDistributed(kKisenFormat, paths, c.chosen, Noting(), message), 1);
    EXPECT_EQ(message, c.message);
    EXPECT_EQ(FilesOf(kKisenFormat, paths), before);
  }
  EXPECT_TRUE(questions.empty());

  // The current database out of order, or missing.
  std::string message;
  const DatabasePaths unsorted =
      WriteGames(kKisenFormat, "cur.idx", {DatedGame(2001, 1, 1), DatedGame(2002, 1, 1)});
  EXPECT_EQ(MergeDistributed(kKisenFormat, unsorted, Folder() + "dist.idx", Noting(), message), 1);
  EXPECT_EQ(message, kMessageCurrentUnsorted);
  EXPECT_EQ(
      MergeDistributed(kKisenFormat, PathsOf("gone.idx"), Folder() + "dist.idx", Noting(), message),
      1);
  EXPECT_EQ(message, kMessageCurrentUnopenable);

  words.clear();
  EXPECT_EQ(MergeDistributed(kKisenFormat, paths, Folder() + "dist.idx", Noting(false), message),
            1);
  EXPECT_EQ(message, "");
  EXPECT_EQ(FilesOf(kKisenFormat, paths), before);
  EXPECT_EQ(MergeDistributed(kKisenFormat, paths, Folder() + "dist.idx", Noting(), message), 0);
  EXPECT_EQ(message, kMessageDistributedMerged);
  EXPECT_EQ(FilesOf(kKisenFormat, paths), merged);
  EXPECT_EQ(questions, std::vector<std::string>(2, kQuestionMerge));
  EXPECT_EQ(words, (std::vector<std::string>{kStatusCheckingDistributed, kStatusCheckingDistributed,
                                             kStatusMergingDistributed}));
}

TEST_F(MaintenanceTest, DeletingAGameMovesTheLaterOnesUp) {
  const std::vector<GameRecord> games = {DatedGame(2001, 1, 1, 1), DatedGame(2001, 1, 2, 2),
                                         DatedGame(2001, 1, 3, 3)};
  for (const DatabaseFormat* format : {&kKisenFormat, &kTarvelFormat}) {
    const DatabasePaths paths = WriteGames(*format, "games.idx", games);
    const auto before = FilesOf(*format, paths);
    std::string message;
    for (int bad : {0, 4}) {
      EXPECT_EQ(DeleteGame(*format, paths, bad, Noting(), message), 1);
      EXPECT_EQ(message, kMessageNumberBeyondCount);
    }
    questions.clear();
    EXPECT_EQ(DeleteGame(*format, paths, 2, Noting(false), message), 1);
    EXPECT_EQ(FilesOf(*format, paths), before);
    EXPECT_EQ(DeleteGame(*format, paths, 2, Noting(), message), 0);
    EXPECT_EQ(questions, std::vector<std::string>(2, "2番目を削除してよろしいでしょうか？"));
    EXPECT_EQ(FilesOf(*format, paths),
              FilesOf(*format, WriteGames(*format, "left.idx", {games[0], games[2]})));
  }
}

TEST_F(MaintenanceTest, TheDeletedGameLeavesTheListAndLaterNumbersMoveUp) {
  std::vector<int> long_list(45), shorter(44);
  for (int i = 0; i < 45; ++i) long_list[i] = i + 1;
  for (int i = 0; i < 44; ++i) shorter[i] = i + 1;
  struct Case {
    std::vector<int> list;
    int length, deleted, top;
    std::vector<int> expected;
    int expected_top;
  } cases[] = {
      {{3, 5, 8}, 3, 5, 0, {3, 7}, 0},
      {{3, 5, 8}, 3, 4, 0, {3, 4, 7}, 0},
      {{5}, 1, 5, 0, {}, 0},
      // Only the entries the list counts are kept.
      {{3, 5, 8}, 2, 3, 0, {4}, 0},
      // 45 entries showing the last page (top 25); one goes: the page shows the last 20.
      {long_list, 45, 45, 25, shorter, 24},
      {long_list, 45, 1, 20, shorter, 20},  // 20 + 20 <= 44: the page stays
  };
  const std::string path = Folder() + "list.dat";
  for (Case& c : cases) {
    test::PutSearchList(path, c.list);
    std::string message;
    ASSERT_EQ(RenumberListAfterDeletion(path, c.deleted, c.length, c.top, message), 0);
    std::vector<int> listed;
    ASSERT_TRUE(test::ReadListed(path, listed));
    EXPECT_EQ(listed, c.expected);
    EXPECT_EQ(c.length, static_cast<int>(c.expected.size()));
    EXPECT_EQ(c.top, c.expected_top);
  }
}

TEST_F(MaintenanceTest, RemovingADatabaseTakesBothFilesAfterTheQuestion) {
  for (const DatabaseFormat* format : {&kKisenFormat, &kTarvelFormat}) {
    const DatabasePaths paths = WriteGames(*format, "games.idx", {DatedGame(2001, 1, 1)});
    const auto before = FilesOf(*format, paths);
    std::string message;
    EXPECT_EQ(RemoveDatabase(*format, "x", Noting(), message), 1);
    EXPECT_EQ(message, kMessageBadFileName);
    EXPECT_EQ(RemoveDatabase(*format, Folder() + "none.idx", Noting(), message), 1);
    EXPECT_EQ(message, format->MissingMessage);
    EXPECT_EQ(RemoveDatabase(*format, paths.Index(*format), Noting(false), message), 1);
    EXPECT_EQ(FilesOf(*format, paths), before);
    EXPECT_EQ(RemoveDatabase(*format, paths.Index(*format), Noting(), message), 0);
    EXPECT_EQ(FilesOf(*format, paths), test::DatabaseFiles{});
  }
  EXPECT_EQ(questions, std::vector<std::string>(4, kQuestionRemoveDatabase));
}

TEST_F(MaintenanceTest, SwapChecksItsNumbersThenExchangesTheGames) {
  const std::vector<GameRecord> games = {DatedGame(2001, 1, 1, 1), DatedGame(2001, 1, 2, 2),
                                         DatedGame(2001, 1, 3, 3)};
  const DatabasePaths paths = WriteGames(kTarvelFormat, "games.mix", games);
  const auto before = FilesOf(kTarvelFormat, paths);
  struct Case {
    int a, b;
    const char* message;
  } cases[] = {{4, 1, kMessageNumberBeyondCount},
               {2, 2, kMessageSameNumber},
               {4, 4, kMessageNumberBeyondCount},  // the count is checked first
               {0, 1, kMessageNumberBeyondCount}};
  for (const Case& c : cases) {
    std::string message;
    EXPECT_EQ(SwapGames(kTarvelFormat, paths, c.a, c.b, Noting(), message), 1);
    EXPECT_EQ(message, c.message) << c.a << " " << c.b;
    EXPECT_EQ(FilesOf(kTarvelFormat, paths), before);
  }
  EXPECT_TRUE(questions.empty());
  std::string message;
  EXPECT_EQ(SwapGames(kTarvelFormat, paths, 3, 1, Noting(false), message), 1);
  EXPECT_EQ(FilesOf(kTarvelFormat, paths), before);
  EXPECT_EQ(SwapGames(kTarvelFormat, paths, 3, 1, Noting(), message), 0);
  EXPECT_EQ(questions, std::vector<std::string>(2, "3番と1番を入れ換えて宜しいですか？"));
  EXPECT_EQ(FilesOf(kTarvelFormat, paths),
            FilesOf(kTarvelFormat,
                    WriteGames(kTarvelFormat, "swapped.mix", {games[2], games[1], games[0]})));
}

TEST_F(MaintenanceTest, AStagingFolderLeftByACrashIsFinishedOrThrownAway) {
  const std::vector<GameRecord> games = {DatedGame(2001, 1, 1, 1), DatedGame(2001, 1, 2, 2)};
  const DatabasePaths paths = WriteGames(kKisenFormat, "games.idx", games);
  const auto old = FilesOf(kKisenFormat, paths);
  const auto fresh = FilesOf(kKisenFormat, WriteGames(kKisenFormat, "new.idx", {games[1]}));
  const std::string staging = RewriteStagingPath(kKisenFormat, paths);
  EXPECT_EQ(staging, Folder() + "games.idx-rewrite");
  struct Case {
    const char* name;
    std::vector<std::pair<std::string, std::string>> files;  // in the folder: name, bytes
    int rc;
    bool is_new;
  } cases[] = {
      {"staged, not marked", {{"0", *fresh.Moves}, {"1", *fresh.Index}}, 0, false},
      {"marked", {{"0", *fresh.Moves}, {"1", *fresh.Index}, {"commit", ""}}, 0, true},
      {"marked, the moves already moved", {{"1", *fresh.Index}, {"commit", ""}}, 0, true},
      {"a file that is not the rewrite's", {{"notes.txt", "mine"}}, 1, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    test::PutFiles(kKisenFormat, paths, old);
    std::filesystem::remove_all(staging);
    std::filesystem::create_directory(staging);
    for (const auto& [name, bytes] : c.files)
      test::PutFileBytes(staging + "/" + name, bytes);
    if (c.files.size() == 2 && c.files[0].first == "1") {
      test::PutFiles(kKisenFormat, paths, {old.Index, fresh.Moves});
    }
    int count = 0;
    std::string message;
    EXPECT_EQ(DatabaseGameCount(kKisenFormat, paths, count, message), c.rc) << message;
    const auto after = FilesOf(kKisenFormat, paths);
    EXPECT_EQ(after.Index, c.is_new ? fresh.Index : old.Index);
    EXPECT_EQ(after.Staging, c.rc != 0);
    if (c.rc != 0) {
      EXPECT_EQ(test::FileBytes(staging + "/notes.txt"), "mine");
    }
  }
}

}  // namespace
}  // namespace shogi
