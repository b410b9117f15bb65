// What is there under a path: a name taken, a regular file, a file that opens for reading.
#include "platform/file_path.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

#include "tests/support/test_files.h"

namespace shogi {
namespace {

TEST(FilePathTest, TellsWhatIsThereUnderAPath) {
  test::TempFolder folder;
  test::PutFileBytes(folder.Path() + "棋譜.kif", "#KIF");
  std::filesystem::create_directory(FilePath(folder.Path() + "棋譜フォルダ"));
  const struct {
    const char* Name;
    bool Exists, Regular;
    std::optional<bool> Opens;  // a folder opens on some systems and not on others
  } cases[] = {
      {"棋譜.kif", true, true, true},
      {"無い.kif", false, false, false},
      {"棋譜フォルダ", true, false, std::nullopt},
  };
  for (const auto& c : cases) {
    const std::string path = folder.Path() + c.Name;
    EXPECT_EQ(FileExists(path), c.Exists) << c.Name;
    EXPECT_EQ(IsRegularFile(path), c.Regular) << c.Name;
    if (c.Opens) {
      EXPECT_EQ(FileOpensForReading(path), *c.Opens) << c.Name;
    }
  }
}

}  // namespace
}  // namespace shogi
