// The table of record formats: the dialogs' lists, the tool names and the readers and
// writers reached through it.
#include "records/record_format.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

TEST(RecordFormats, ListTheDialogsEntriesInTheirOrder) {
  const std::vector<std::string> open = {"森田将棋・Ostel",
                                         "柿木将棋",
                                         "永世名人",
                                         "かや",
                                         "赤富士",
                                         "ＣＳＡ",
                                         "Shotest,SPEAR,Shocky",
                                         "野下研(S1.n)",
                                         "福将棋",
                                         "棋太平（平手のみ）",
                                         "丸山将棋（平手のみ）",
                                         "大槻将棋（平手のみ）",
                                         "謎的電棋（平手のみ）",
                                         "Shokidoki（平手のみ）",
                                         "Ｈ将棋",
                                         "天野将棋1994,1996",
                                         "AI Shogi V.150",
                                         "神無 無段",
                                         "ＯＭ－１",
                                         "S1(1996年度)",
                                         "スーパー将棋(1996年度)",
                                         "関田将棋(1994年度)"};
  const std::vector<std::string> save = {"森田将棋・Ostel", "柿木将棋", "永世名人", "かや",
                                         "ＣＳＡ"};
  struct List {
    const std::vector<std::string>& texts;
    const RecordFormatRow* (*row)(int);
    int size;
  };
  for (const List& list :
       {List{open, OpenListRow, OpenListSize()}, List{save, SaveListRow, SaveListSize()}}) {
    ASSERT_EQ(list.size, static_cast<int>(list.texts.size()));
    for (int i = 0; i < list.size; ++i) {
      ASSERT_NE(list.row(i), nullptr) << i;
      EXPECT_EQ(list.row(i)->ListText, list.texts[i]) << i;
    }
    EXPECT_EQ(list.row(-1), nullptr);
    EXPECT_EQ(list.row(list.size), nullptr);
  }
  EXPECT_EQ(OpenListRow(1)->Format, RecordFormat::kKif);
  EXPECT_EQ(OpenListRow(5)->Format, RecordFormat::kCsa);
  EXPECT_EQ(SaveListRow(4)->Format, RecordFormat::kCsa);
}

TEST(RecordFormats, FormatsWithoutAReaderOrWriterAreUnsupported) {
  const test::TempFolder dir;
  GameRecord r = test::SentinelRecord();
  std::string message;
  // Every format without a reader of one game a file answers alike.
  for (const RecordFormatRow& row : RecordFormats()) {
    if (row.Read != nullptr) continue;
    message.clear();
    EXPECT_EQ(ReadRecord(row.Format, test::TestDataPath("kif/even.kif"), r, message), 1);
    EXPECT_EQ(message, "この棋譜形式はサポートしてません。");
    EXPECT_TRUE(SameRecord(r, test::SentinelRecord()));
  }
  message.clear();
  EXPECT_EQ(WriteRecord(RecordFormat::kKi2, dir.Path() + "x.ki2", r, true, message), 1);
  EXPECT_EQ(message, "この棋譜形式はサポートしてません。");
  EXPECT_FALSE(std::filesystem::exists(dir.Path() + "x.ki2"));
}

// Every readable format reads each of its test files (tests/data/<tool name>) alike from the path
// and from a stream; a missing file is reported the same way by all; a writer writes its bytes.
TEST(RecordFormats, PathStreamAndWriterEntriesAgree) {
  const test::TempFolder dir;
  for (const RecordFormatRow& row : RecordFormats()) {
    if (row.Read == nullptr) continue;
    SCOPED_TRACE(row.ToolName);
    int files = 0;
    // The test files of a format are in the folder of its tool name; a format without a
    // fixed extension takes every file there.
    const std::filesystem::path folder = test::TestDataPath(row.ToolName);
    const std::string extension = row.Extension;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
      if (!extension.empty() && entry.path().extension() != "." + extension) continue;
      ++files;
      GameRecord by_path = test::SentinelRecord(), by_stream = test::SentinelRecord();
      std::string message;
      ASSERT_EQ(ReadRecord(row.Format, entry.path().string(), by_path, message), 0)
          << entry.path() << message;
      const std::string bytes = test::FileBytes(entry.path().string());
      MemoryByteStream stream(bytes);
      ASSERT_EQ(row.ReadStream(stream, by_stream, message), 0) << entry.path();
      if (row.Format == RecordFormat::kFuku) {
        // The file name, which only the path gives, names the program's side.
        std::memcpy(by_stream.FirstName, by_path.FirstName, sizeof by_stream.FirstName);
        std::memcpy(by_stream.SecondName, by_path.SecondName, sizeof by_stream.SecondName);
      }
      EXPECT_TRUE(SameRecord(by_path, by_stream)) << entry.path();
      if (row.Write == nullptr || row.FormatBytes == nullptr) continue;
      std::string formatted;
      ASSERT_EQ(row.FormatBytes(by_path, true, formatted, message), 0);
      ASSERT_EQ(WriteRecord(row.Format, dir.Path() + "out", by_path, true, message), 0);
      EXPECT_EQ(test::FileBytes(dir.Path() + "out"), formatted) << entry.path();
    }
    EXPECT_GT(files, 0);
    GameRecord r = test::SentinelRecord();
    std::string message;
    EXPECT_EQ(ReadRecord(row.Format, dir.Path() + "none", r, message), 1);
    // The Palm file has a message of its own.
    EXPECT_EQ(message, row.Format == RecordFormat::kPalm ? "ファイルが開けません。"
                                                         : "指定ファイルが存在しません。");
    EXPECT_TRUE(SameRecord(r, test::SentinelRecord()));
  }
}

}  // namespace
}  // namespace shogi
