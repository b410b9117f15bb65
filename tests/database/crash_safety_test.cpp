// A registration stopped after each of its file steps, cleanly or in the middle of a
// write, leaves a database that opens with a count its files hold, the old games as they
// were, and room for the next registration.
#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

#include "database/game_database.h"
#include "tests/database/database_test_util.h"
#include "tests/records/record_compare.h"
#include "tests/support/game_builder.h"

namespace shogi {
namespace {

using test::PutFileBytes;

// The file steps let through before the registration "stops"; the stopping step fails. A
// stopping write first writes half its bytes when `torn`, unless it is the count: storage
// writes a sector whole, and the count's four bytes at the start of the index lie in one.
struct StopPlan {
  int allowed = 0;
  bool torn = false;
  int seen = 0;
  bool stopped = false;
};
StopPlan g_plan;

bool StopAfterPlannedSteps(RecordFileStep step, std::size_t& bytes) {
  if (g_plan.seen++ < g_plan.allowed) return true;
  bytes = g_plan.torn && step == RecordFileStep::kWrite && bytes > 4 ? bytes / 2 : 0;
  g_plan.stopped = true;
  return false;
}

// A database to register into: the golden pairs, and a Kisen index of exactly 2 MiB whose
// header carries bytes 2-3 that the 16-bit count ignores (another program's header).
struct StartingDatabase {
  const char* name;
  const DatabaseFormat& format;
  int old_count;
};
const StartingDatabase kStartingDatabases[] = {
    {"golden Kisen", kKisenFormat, 2},
    {"golden Tarvel", kTarvelFormat, 2},
    {"Kisen index of 2 MiB", kKisenFormat, 65535},
};

class CrashSafetyTest : public test::DatabaseFolderTest {
 protected:
  void TearDown() override {
    SetRecordFileFaultHook(nullptr);
    DatabaseFolderTest::TearDown();
  }

  DatabasePaths Prepare(const StartingDatabase& s) {
    if (s.old_count == 2) return CopyGolden(s.format);
    const DatabasePaths paths = PathsOf("big.idx");
    const std::string index = paths.Index(s.format), moves = paths.Moves(s.format);
    PutFileBytes(index, std::string("\xFF\xFF\x07\x00", 4));
    std::filesystem::resize_file(index, 32u * (s.old_count + 1));
    PutFileBytes(moves, "");
    std::filesystem::resize_file(moves, 512u * s.old_count);
    return paths;
  }
};

TEST_F(CrashSafetyTest, AStoppedRegistrationLeavesTheOldDatabaseOrTheNewOne) {
  const GameRecord game = test::GoldenEvenGame();
  for (const StartingDatabase& s : kStartingDatabases) {
    for (bool torn : {false, true}) {
      for (int allowed = 0;; ++allowed) {
        SCOPED_TRACE(std::string(s.name) + (torn ? ", torn" : "") + ", steps " +
                     std::to_string(allowed));
        const DatabasePaths paths = Prepare(s);
        // The last old game as it was, to compare after the stop.
        GameRecord last_before;
        std::string message;
        ASSERT_EQ(ReadGame(s.format, paths, Folder(), s.old_count, last_before, message),
                  s.old_count);

        g_plan = StopPlan{allowed, torn};
        SetRecordFileFaultHook(StopAfterPlannedSteps);
        int number = 0;
        const int rc = RegisterGame(s.format, paths, Folder(), game, number, message);
        SetRecordFileFaultHook(nullptr);
        if (!g_plan.stopped) {  // every step went through
          EXPECT_EQ(rc, 0);
          EXPECT_EQ(number, s.old_count + 1);
          break;
        }
        EXPECT_EQ(rc, 1);
        EXPECT_EQ(message, kMessageCannotCreate);

        int count = 0;
        ASSERT_EQ(DatabaseGameCount(s.format, paths, count, message), 0) << message;
        ASSERT_TRUE(count == s.old_count || count == s.old_count + 1) << count;
        GameRecord last;
        ASSERT_EQ(ReadGame(s.format, paths, Folder(), s.old_count, last, message), s.old_count);
        EXPECT_TRUE(SameRecord(last, last_before));
        if (count > s.old_count) {
          ASSERT_EQ(ReadGame(s.format, paths, Folder(), count, last, message), count);
          EXPECT_EQ(test::UsiMoves(last), test::UsiMoves(game));
        }

        // The next registration takes the next number and leaves the files exactly whole.
        number = 0;
        ASSERT_EQ(RegisterGame(s.format, paths, Folder(), game, number, message), 0) << message;
        EXPECT_EQ(number, count + 1);
        EXPECT_EQ(std::filesystem::file_size(paths.Index(s.format)),
                  s.format.IndexRecordBytes * (number + 1));
        EXPECT_EQ(std::filesystem::file_size(paths.Moves(s.format)), 512u * number);
        ASSERT_EQ(ReadGame(s.format, paths, Folder(), number, last, message), number);
        EXPECT_EQ(test::UsiMoves(last), test::UsiMoves(game));
      }
    }
  }
}

// The stops above cannot lose what the system had not yet put on the disk; the order of the
// steps shows that nothing can be lost that the count already counts.
std::vector<RecordFileStep> g_steps;
bool RecordStep(RecordFileStep step, std::size_t&) {
  g_steps.push_back(step);
  return true;
}

TEST_F(CrashSafetyTest, BothFilesReachTheDiskBeforeTheCountIsRaised) {
  using enum RecordFileStep;
  for (const StartingDatabase& s : {kStartingDatabases[0], kStartingDatabases[2]}) {
    const DatabasePaths paths = Prepare(s);
    g_steps.clear();
    SetRecordFileFaultHook(RecordStep);
    int number = 0;
    std::string message;
    EXPECT_EQ(
        RegisterGame(s.format, paths, Folder(), test::GoldenEvenGame(), number, message),
        0);
    SetRecordFileFaultHook(nullptr);
    // The 2 MiB index first gets its count written whole (and synced).
    std::vector<RecordFileStep> expected = {kOpenForWriting, kOpenForWriting};
    if (s.old_count > 2) expected.insert(expected.end(), {kWrite, kSync});
    expected.insert(expected.end(), {kWrite, kWrite, kSync, kSync, kWrite, kSync});
    EXPECT_EQ(g_steps, expected) << s.name;
  }
}

}  // namespace
}  // namespace shogi
