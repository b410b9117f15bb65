// The output file: created empty to test the choice, appended to with CR LF line ends.
#include "output/output_file.h"

#include <gtest/gtest.h>

#include "tests/support/test_files.h"

namespace shogi::test {
namespace {

using test::FileBytes;
using test::PutFileBytes;
using test::TempFolder;

TEST(OutputFile, CreatingTruncatesAndAppendingKeepsWhatWasThere) {
  TempFolder folder;
  const std::string path = folder.Path() + "out.txt";
  PutFileBytes(path, "old text");
  std::string message;
  ASSERT_EQ(CreateOutputFile(path, message), 0);
  EXPECT_EQ(FileBytes(path), "");
  ASSERT_EQ(AppendOutputText(path, "a\nb\n", message), 0);
  ASSERT_EQ(AppendOutputText(path, "\x8a\xdb\n", message), 0);
  EXPECT_EQ(FileBytes(path), "a\r\nb\r\n\x8a\xdb\r\n");
}

TEST(OutputFile, FailuresAreReportedAndWriteNothing) {
  TempFolder folder;
  const std::string missing = folder.Path() + "no/such/folder/out.txt";
  for (const std::string& path : {missing, std::string()}) {
    std::string message;
    EXPECT_EQ(CreateOutputFile(path, message), 1) << path;
    EXPECT_EQ(message, kOutputCreateMessage);
    message.clear();
    EXPECT_EQ(AppendOutputText(path, "x\n", message), 1) << path;
    EXPECT_EQ(message, kOutputAppendMessage);
  }
  EXPECT_EQ(FileBytes(missing), "");
}

}  // namespace
}  // namespace shogi::test
