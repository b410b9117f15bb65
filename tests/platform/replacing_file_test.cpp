// The replacing file write: a failure at any step keeps the old file whole and leaves no
// temporary behind; a user's own "<name>.tmp" is never touched.
#include "platform/replacing_file.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>
#else
#include <sys/resource.h>
#endif

#include <csignal>
#include <filesystem>
#include <fstream>
#include <set>

#include "tests/support/test_files.h"

namespace shogi {
namespace {

namespace fs = std::filesystem;
using test::FileBytes;

void Put(const fs::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

ReplaceStep g_failing_step;
bool FailOneStep(ReplaceStep step) {
  return step != g_failing_step;
}

class ReplacingFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    target_ = dir_ / "game.kif";
    Put(target_, "old contents");
    Put(dir_ / "game.kif.tmp", "the user's own file");
  }
  void TearDown() override { SetReplaceFaultHook(nullptr); }
  // The folder holds the untouched old file and the user's file, nothing else.
  void ExpectUntouched() {
    EXPECT_EQ(FileBytes(target_), "old contents");
    EXPECT_EQ(FileBytes(dir_ / "game.kif.tmp"), "the user's own file");
    EXPECT_EQ(Names(dir_), (std::set<std::string>{"game.kif", "game.kif.tmp"}));
  }

  test::TempFolder folder_;
  fs::path dir_{fs::path(folder_.Path()).parent_path()}, target_;
};

TEST_F(ReplacingFileTest, ReplacesTheFileAndSparesAUsersTmpFile) {
  ASSERT_TRUE(WriteFileReplacing(target_.string(), "new contents"));
  EXPECT_EQ(FileBytes(target_), "new contents");
  EXPECT_EQ(FileBytes(dir_ / "game.kif.tmp"), "the user's own file");
  EXPECT_EQ(Names(dir_), (std::set<std::string>{"game.kif", "game.kif.tmp"}));
  // A new file is created the same way.
  ASSERT_TRUE(WriteFileReplacing((dir_ / "new.kif").string(), ""));
  EXPECT_TRUE(fs::exists(dir_ / "new.kif"));
  EXPECT_EQ(fs::file_size(dir_ / "new.kif"), 0u);
}

TEST_F(ReplacingFileTest, AFailureAtAnyStepKeepsTheOldFile) {
  for (ReplaceStep step :
       {ReplaceStep::kCreate, ReplaceStep::kWrite, ReplaceStep::kFlush, ReplaceStep::kRename}) {
    SCOPED_TRACE(static_cast<int>(step));
    g_failing_step = step;
    SetReplaceFaultHook(FailOneStep);
    EXPECT_FALSE(WriteFileReplacing(target_.string(), "new contents"));
    ExpectUntouched();
  }
}

#ifdef _WIN32

TEST_F(ReplacingFileTest, ARefusedRenameKeepsTheOldFile) {
  // Another program holds the file open without sharing it: the rename over it is refused.
  HANDLE held = CreateFileW(target_.wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  const bool written = WriteFileReplacing(target_.string(), "new contents");
  CloseHandle(held);
  EXPECT_FALSE(written);
  ExpectUntouched();
}

#else

TEST_F(ReplacingFileTest, AFullDiskKeepsTheOldFile) {
  // The file size limit makes the write fail as a full disk does.
  struct rlimit old;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  void (*old_handler)(int) = std::signal(SIGXFSZ, SIG_IGN);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = WriteFileReplacing(target_.string(), std::string(64 * 1024, 'x'));
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(written);
  ExpectUntouched();
}

#endif

TEST_F(ReplacingFileTest, AFolderThatCannotTakeTheFileFailsCleanly) {
  EXPECT_FALSE(WriteFileReplacing((dir_ / "missing" / "game.kif").string(), "x"));
  // A folder in the target's place cannot be replaced by a file.
  fs::create_directories(dir_ / "folder.kif" / "inside");
  EXPECT_FALSE(WriteFileReplacing((dir_ / "folder.kif").string(), "x"));
  EXPECT_TRUE(fs::is_directory(dir_ / "folder.kif" / "inside"));
  fs::remove_all(dir_ / "folder.kif");
  ExpectUntouched();
}

TEST_F(ReplacingFileTest, StreamsChunksUntilCommitOrAbort) {
  {
    ReplacingFile file;
    ASSERT_TRUE(file.Open(target_.string()));
    EXPECT_NE(file.TemporaryPath(), target_.string() + ".tmp");
    EXPECT_EQ(fs::path(file.TemporaryPath()).parent_path(), dir_);
    ASSERT_TRUE(file.Write("first "));
    ASSERT_TRUE(file.Write("second"));
    EXPECT_EQ(FileBytes(target_), "old contents");  // nothing replaced before the commit
    file.Abort();
    ExpectUntouched();
  }
  {
    ReplacingFile file;  // dropped without a commit
    ASSERT_TRUE(file.Open(target_.string()));
    ASSERT_TRUE(file.Write("lost"));
  }
  ExpectUntouched();
  ReplacingFile file;
  ASSERT_TRUE(file.Open(target_.string()));
  ASSERT_TRUE(file.Write("first "));
  ASSERT_TRUE(file.Write("second"));
  ASSERT_TRUE(file.Commit());
  EXPECT_EQ(FileBytes(target_), "first second");
  EXPECT_FALSE(file.Write("after"));  // a committed file takes no more
  EXPECT_EQ(Names(dir_), (std::set<std::string>{"game.kif", "game.kif.tmp"}));
}

#ifndef _WIN32  // the POSIX permission bits

TEST_F(ReplacingFileTest, KeepsThePermissionsOfTheOldFile) {
  fs::permissions(target_, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  ASSERT_TRUE(WriteFileReplacing(target_.string(), "new"));
  EXPECT_EQ(fs::status(target_).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

#endif

}  // namespace
}  // namespace shogi
