// Every command that rewrites a database, stopped at each of its file steps — the step
// failing as on a full disk, or the process killed there — leaves a database that opens and
// is the complete old one or the complete new one, byte for byte, with no staging left.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <algorithm>
#include <csignal>
#include <filesystem>
#include <functional>
#include <iostream>
#include <string_view>

#include "database/bulk_rename.h"
#include "database/date_sort.h"
#include "database/maintenance.h"
#include "database/merge.h"
#include "database/yearbook.h"
#include "platform/cp932.h"
#include "platform/replacing_file.h"
#include "records/record_io.h"
#include "tests/database/database_test_util.h"
#include "tests/support/sanitizer.h"

namespace shogi {
namespace {

using test::DatabaseFiles;
using test::DatedGame;
using test::FilesOf;

// The stops here end processes; they do not cut the power, so what the disk holds is not
// their question, and a folder in memory, where syncing costs nothing, keeps the thousands
// of rewrites quick. Set before the first test makes its folder.
class FoldersInMemory : public ::testing::Environment {
 public:
  void SetUp() override {
#ifndef _WIN32
    std::error_code error;
    if (std::filesystem::is_directory("/dev/shm", error) && access("/dev/shm", W_OK) == 0)
      setenv("TMPDIR", "/dev/shm", 1);
#endif
  }
};
[[maybe_unused]] ::testing::Environment* const kFoldersInMemory =
    ::testing::AddGlobalTestEnvironment(new FoldersInMemory);

// The file steps counted from 0; the step `fail_at` fails, at `kill_at` the process ends.
struct StepPlan {
  int fail_at = -1, kill_at = -1, seen = 0;
};
StepPlan g_step_plan;
bool PlannedStep(ReplaceStep) {
  const int step = g_step_plan.seen++;
#ifndef _WIN32
  if (step == g_step_plan.kill_at) std::raise(SIGKILL);
#endif
  return step != g_step_plan.fail_at;
}

// `count` games a day apart from 1 January of `year`: newest first, oldest first, or (with
// `shuffle`) in a mixed order, each with its own number of plies.
enum class Order { kNewestFirst, kOldestFirst, kMixed };
std::vector<GameRecord> Games(int count, int year, Order order) {
  std::vector<GameRecord> games;
  for (int k = 0; k < count; ++k) {
    const int d = order == Order::kNewestFirst   ? count - 1 - k
                  : order == Order::kOldestFirst ? k
                                                 : (k * 37 + 11) % count;
    games.push_back(DatedGame(year + d / 336, 1 + d / 28 % 12, 1 + d % 28, 1 + k % 20));
  }
  return games;
}

class RewriteSafetyTest : public test::DatabaseFolderTest {
 protected:
  void TearDown() override {
    SetReplaceFaultHook(nullptr);
    DatabaseFolderTest::TearDown();
  }
};

struct Rewrite {
  const char* name;
  std::vector<const DatabaseFormat*> formats;
  // Writes what the command starts from and returns the database it changes.
  std::function<DatabasePaths(RewriteSafetyTest&, const DatabaseFormat&)> prepare;
  std::function<int(const DatabaseFormat&, const DatabasePaths&, const CommandHooks&, std::string&)>
      run;
  std::vector<std::string> failures;  // the messages a failed step may give
};

std::vector<Rewrite> Rewrites(const std::string& folder) {
  const std::vector<const DatabaseFormat*> both = {&kKisenFormat, &kTarvelFormat};
  const auto main_db = [](int count, Order order) {
    return [=](RewriteSafetyTest& t, const DatabaseFormat& f) {
      return t.WriteGames(f, "games.idx", Games(count, 1990, order));
    };
  };
  return {
      {"sort",
       both,
       main_db(45, Order::kMixed),
       [](auto& f, auto& p, auto& h, auto& m) { return SortDatabase(f, p, false, h, m); },
       {kMessageCannotCreate}},
      {"merge",
       both,
       [](RewriteSafetyTest& t, const DatabaseFormat& f) {
         t.WriteGames(f, "source.idx", Games(15, 2010, Order::kMixed));
         return t.WriteGames(f, "games.idx", Games(40, 1990, Order::kOldestFirst));
       },
       [folder](auto& f, auto& p, auto& h, auto& m) {
         DatabasePaths source;
         (void)DatabasePathsOf(folder + "source.idx", source, m);
         return MergeDatabase(f, p, source.Index(f), h, m);
       },
       {kMessageCannotCreate}},
      {"merge-distributed",
       {&kKisenFormat},
       [](RewriteSafetyTest& t, const DatabaseFormat& f) {
         t.WriteGames(f, "dist.idx", Games(22, 2003, Order::kNewestFirst));
         return t.WriteGames(f, "games.idx", Games(36, 2002, Order::kNewestFirst));
       },
       [folder](auto& f, auto& p, auto& h, auto& m) {
         return MergeDistributed(f, p, folder + "dist.idx", h, m);
       },
       {kMessageCannotCreate}},
      {"delete",
       both,
       main_db(50, Order::kOldestFirst),
       [](auto& f, auto& p, auto& h, auto& m) { return DeleteGame(f, p, 7, h, m); },
       {kMessageCannotCreate}},
      {"swap",
       {&kTarvelFormat},
       main_db(50, Order::kOldestFirst),
       [](auto& f, auto& p, auto& h, auto& m) { return SwapGames(f, p, 50, 3, h, m); },
       {kMessageCannotCreate}},
      {"rename numbers",
       both,
       main_db(100, Order::kOldestFirst),
       [](auto& f, auto& p, auto& h, auto& m) {
         int changed = 0;
         return RenameNumbers(f, p, RenamedList::kTournaments, 0, 5, h, changed, m);
       },
       {kMessageRenameCannotCreate}},
      {"rename names",
       {&kTarvelFormat},
       main_db(100, Order::kOldestFirst),
       [](auto& f, auto& p, auto& h, auto& m) {
         int changed = 0;
         return RenamePlayerNames(f, p, Cp932("先手"), Cp932("升田"), h, changed, m);
       },
       {kMessageRenameCannotCreate}},
      {"remove",
       both,
       main_db(5, Order::kOldestFirst),
       [](auto& f, auto& p, auto& h, auto& m) { return RemoveDatabase(f, p.Index(f), h, m); },
       {kMessageCannotCreate}},
      {"yearbook",
       {&kTarvelFormat},
       [folder](RewriteSafetyTest& t, const DatabaseFormat& f) {
         std::vector<test::YearbookGame> games(50);
         for (auto& g : games) {
           g.Title = "第１期竜王戦";
           g.FirstFamily = "羽生";
           g.Moves = {{0x77, 0x67, 0}, {0x33, 0x43, 0}};
         }
         test::WriteYearbookFiles(folder, games);
         return t.WriteGames(f, "games.mix", Games(3, 1990, Order::kOldestFirst));
       },
       [folder](auto&, auto& p, auto& h, auto& m) {
         int converted = 0;
         return ImportYearbook({folder + "headers.dat", folder + "index.dat", folder + "moves.dat",
                                p.Index(kTarvelFormat)},
                               converted, h.Progress, m);
       },
       {kMessageCannotCreate,
        Printed(kMessageYearbookIndexUncreatable, (folder + "games.mix").c_str()),
        Printed(kMessageYearbookMovesUncreatable, (folder + "games.mkf").c_str())}},
  };
}

// The database after a stop: opened (which finishes or undoes the rewrite) and read back.
DatabaseFiles Reopened(const DatabaseFormat& format, const DatabasePaths& paths) {
  int count = 0;
  std::string message;
  (void)DatabaseGameCount(format, paths, count, message);
  return FilesOf(format, paths);
}

// Runs `work` in a child process that is killed at file step `step`; false when the work
// ended before that step.
#ifdef _WIN32
// Windows has no fork: the killed processes are tried on the other systems only.
constexpr bool kProcessesCanBeKilled = false;
template <class Work>
bool KilledAt(int, Work) {
  return false;
}
#else
constexpr bool kProcessesCanBeKilled = true;
template <class Work>
bool KilledAt(int step, Work work) {
  const pid_t child = fork();
  if (child == 0) {
    g_step_plan = StepPlan{-1, step};
    SetReplaceFaultHook(PlannedStep);
    work();
    _exit(0);
  }
  int status = 0;
  return child > 0 && waitpid(child, &status, 0) == child && WIFSIGNALED(status) &&
         WTERMSIG(status) == SIGKILL;
}
#endif

void Reset(const DatabaseFormat& format, const DatabasePaths& paths, const DatabaseFiles& old) {
  std::filesystem::remove_all(RewriteStagingPath(format, paths));
  test::PutFiles(format, paths, old);
}

TEST_F(RewriteSafetyTest, AStopAtAnyStepLeavesTheOldDatabaseOrTheNewOne) {
  int failed_points = 0, killed_points = 0;
  std::string killed_by_command;
  for (const Rewrite& rewrite : Rewrites(Folder())) {
    const int killed_before = killed_points;
    for (const DatabaseFormat* format : rewrite.formats) {
      SCOPED_TRACE(std::string(rewrite.name) + " " + format->Caption);
      const DatabasePaths paths = rewrite.prepare(*this, *format);

      const DatabaseFiles old = FilesOf(*format, paths);
      std::string message;
      g_step_plan = StepPlan{};
      SetReplaceFaultHook(PlannedStep);
      ASSERT_EQ(rewrite.run(*format, paths, {}, message), 0) << message;
      SetReplaceFaultHook(nullptr);
      const int steps = g_step_plan.seen;
      const DatabaseFiles done = FilesOf(*format, paths);
      ASSERT_NE(done, old);
      ASSERT_FALSE(done.Staging);

      for (int step = 0; step < steps; ++step) {
        SCOPED_TRACE("failing step " + std::to_string(step));
        Reset(*format, paths, old);
        g_step_plan = StepPlan{step};
        SetReplaceFaultHook(PlannedStep);
        const int rc = rewrite.run(*format, paths, {}, message);
        SetReplaceFaultHook(nullptr);
        const DatabaseFiles after = Reopened(*format, paths);
        EXPECT_EQ(after, rc == 0 ? done : old);
        if (rc != 0) {
          EXPECT_NE(std::find(rewrite.failures.begin(), rewrite.failures.end(), message),
                    rewrite.failures.end())
              << message;
        }
        ++failed_points;
      }
      // A process costs milliseconds to start: a command run on both formats is killed at
      // the even steps of one and the odd steps of the other (under the sanitizers, whose
      // processes start far slower, at every fourth of those).
      const int stride = static_cast<int>(rewrite.formats.size()) * (test::kSanitized ? 4 : 1);
      const int first = format == rewrite.formats.front() ? 0 : 1;
      for (int step = first; kProcessesCanBeKilled && step < steps; step += stride) {
        SCOPED_TRACE("killed at step " + std::to_string(step));
        const auto killed_rewrite = [&] {
          Reset(*format, paths, old);
          return KilledAt(step, [&] { (void)rewrite.run(*format, paths, {}, message); });
        };
        ASSERT_TRUE(killed_rewrite());
        ++killed_points;
        // Whatever opens the database next undoes a rewrite killed before its mark and
        // finishes one killed after it; and that may be killed too, at each of its own steps.
        const std::string staging = RewriteStagingPath(*format, paths);
        const bool marked = std::filesystem::exists(staging + "/commit") ||
                            std::filesystem::exists(staging + "/remove");
        const DatabaseFiles after = Reopened(*format, paths);
        EXPECT_TRUE(marked ? after == done : after == old || after == done);
        for (int recovery_step = 0; marked; ++recovery_step) {
          ASSERT_TRUE(killed_rewrite());
          const bool stopped = KilledAt(recovery_step, [&] { (void)Reopened(*format, paths); });
          EXPECT_EQ(Reopened(*format, paths), done) << "recovery killed at " << recovery_step;
          if (!stopped) break;
          ++killed_points;
        }
      }
    }
    killed_by_command +=
        " " + std::string(rewrite.name) + " " + std::to_string(killed_points - killed_before) + ",";
  }
  std::cout << "rewrites stopped by a failing step at " << failed_points << " points, killed at "
            << killed_points << " points:" << killed_by_command << "\n";
}

// A caller that asks a rewrite to stop, at any of the records it reports, gets "中断しました。"
// and the old database, whole, with no staging left.
TEST_F(RewriteSafetyTest, ACallerStopsARewriteAtAnyReportAndKeepsTheOldDatabase) {
  for (const Rewrite& rewrite : Rewrites(Folder())) {
    for (const DatabaseFormat* format : rewrite.formats) {
      SCOPED_TRACE(std::string(rewrite.name) + " " + format->Caption);
      const DatabasePaths paths = rewrite.prepare(*this, *format);
      const DatabaseFiles old = FilesOf(*format, paths);
      int reports = 0, stop_at = 0;
      CommandHooks hooks;
      hooks.Progress = [&](std::int64_t, std::int64_t) { return ++reports != stop_at; };
      std::string message;
      ASSERT_EQ(rewrite.run(*format, paths, hooks, message), 0) << message;
      // Removing a database has no loop to stop.
      EXPECT_EQ(reports > 0, std::string_view(rewrite.name) != "remove");
      const int total = reports;
      for (stop_at = 1; stop_at <= total; ++stop_at) {
        Reset(*format, paths, old);
        reports = 0;
        EXPECT_EQ(rewrite.run(*format, paths, hooks, message), 1) << "stopped at " << stop_at;
        EXPECT_EQ(message, kMessageStopped);
        const DatabaseFiles after = FilesOf(*format, paths);
        EXPECT_FALSE(after.Staging);
        EXPECT_EQ(after, old);
      }
      Reset(*format, paths, old);
    }
  }
}

}  // namespace
}  // namespace shogi
