// The text editor call: the path reaches the opener as one argument whatever it holds, the
// program does not wait for the opener, and a missing opener is reported.
#include "platform/text_editor.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

namespace shogi {
namespace {

namespace fs = std::filesystem;

// Waits up to ten seconds for `p` to appear.
bool AppearsSoon(const fs::path& p) {
  for (int i = 0; i < 200 && !fs::exists(p); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return fs::exists(p);
}

class TextEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("shogi_editor_" + std::to_string(getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "bin");
    const char* path = std::getenv("PATH");
    old_path_ = path ? path : "";
    setenv("PATH", (dir_ / "bin").c_str(), 1);
  }
  void TearDown() override {
    setenv("PATH", old_path_.c_str(), 1);
    fs::remove_all(dir_);
  }

  // An xdg-open that writes its argument count and first argument to "args", then waits
  // for "release" before it writes "done".
  void InstallOpener() const {
    const fs::path opener = dir_ / "bin" / "xdg-open";
    std::ofstream(opener) << "#!/bin/sh\n"
                          << "PATH='" << old_path_ << "'\n"
                          << "cd '" << dir_.string() << "'\n"
                          << "printf '%s\\n%s' \"$#\" \"$1\" > args.tmp && mv args.tmp args\n"
                          << "i=0; while [ ! -e release ] && [ $i -lt 100 ]; do "
                          << "sleep 0.1; i=$((i+1)); done\n"
                          << "touch done\n";
    fs::permissions(opener, fs::perms::owner_all);
  }

  fs::path dir_;
  std::string old_path_;
};

TEST_F(TextEditorTest, ThePathIsTheOpenersOneArgumentAndTheProgramDoesNotWait) {
  InstallOpener();
  const std::string injected = (dir_ / "injected").string();
  const std::string paths[] = {
      "/lists/棋士名.DAT",
      "/a folder/with spaces/KSNAME.DAT",
      "/odd/'quote\" $(touch " + injected + "); `touch " + injected + "` &>|*.DAT",
  };
  for (const std::string& path : paths) {
    SCOPED_TRACE(path);
    for (const char* name : {"args", "release", "done"}) fs::remove(dir_ / name);
    ASSERT_TRUE(OpenInTextEditor(path));
    ASSERT_TRUE(AppearsSoon(dir_ / "args"));
    std::ifstream args(dir_ / "args", std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(args), {}), "1\n" + path);
    // The opener is still waiting: the call came back without it.
    EXPECT_FALSE(fs::exists(dir_ / "done"));
    std::ofstream(dir_ / "release");
    EXPECT_TRUE(AppearsSoon(dir_ / "done"));
  }
  EXPECT_FALSE(fs::exists(injected));
}

TEST_F(TextEditorTest, NoOpenerIsReported) {
  EXPECT_FALSE(OpenInTextEditor("/lists/KSNAME.DAT"));
  // One that cannot be run is no opener either.
  std::ofstream(dir_ / "bin" / "xdg-open") << "#!/bin/sh\n";
  EXPECT_FALSE(OpenInTextEditor("/lists/KSNAME.DAT"));
}

}  // namespace
}  // namespace shogi
