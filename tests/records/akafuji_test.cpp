// The Akafuji reader: the list of a database built from the layout, its games by number, and
// malformed files.
#include "records/akafuji.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "records/record_format.h"
#include "tests/records/akafuji_image.h"
#include "tests/records/record_test_util.h"

namespace shogi {
namespace {

TEST(Akafuji, ListsTheUsedEntries) {
  const std::string image = test::AkafujiImage();
  MemoryAkafujiSource source(image);
  std::string header, message;
  std::vector<std::string> rows;
  ASSERT_EQ(ListAkafuji(source, header, rows, message), 0) << message;
  EXPECT_EQ(header, "NO.   先手         後手        棋戦                 戦型");
  const std::vector<std::string> expected = {
      "  1 羽生         谷川         名人戦               四間飛車",
      "  2 ABC          x高          王将戦               矢倉",
      "  3                                                ",
  };
  EXPECT_EQ(rows, expected);
  EXPECT_STREQ(RecordFormatRowOf(RecordFormat::kAkafuji).Collection->ListTitle,
               "赤　富　士　一　覧　表");
}

TEST(Akafuji, ReadsTheGameOfANumber) {
  const std::string image = test::AkafujiImage();
  struct Case {
    int number;
    const char* moves;  // nullptr: refused
    int result;
    const char *sente, *gote, *tournament, *opening;
  };
  const Case cases[] = {
      {1, "7g7f 3c3d 8h2b+ 3a2b B*4e", kResultFirstWins, "羽生", "谷川", "名人戦", "四間飛車"},
      {2, "2g2f 8c8d", kResultSecondWins, "ABC", "x高", "王将戦", "矢倉"},
      {3, nullptr, 0, "", "", "", ""},
      {4, nullptr, 0, "", "", "", ""},
      {0, nullptr, 0, "", "", "", ""},
  };
  for (const Case& c : cases) {
    MemoryAkafujiSource source(image);
    GameRecord r = test::SentinelRecord();
    std::string message;
    const int rc = ReadAkafuji(source, c.number, r, message);
    if (c.moves == nullptr) {
      test::ExpectReadOutcome(rc, r, message, -1, std::to_string(c.number));
      continue;
    }
    ASSERT_EQ(rc, 0) << c.number << message;
    EXPECT_EQ(test::UsiMoves(r), c.moves);
    EXPECT_EQ(r.InitialPosition, kInitialPosition);
    EXPECT_EQ(r.StartIndex, 0);
    EXPECT_EQ(r.PlyCount, 0);
    EXPECT_EQ(r.ResultCode, c.result);
    EXPECT_EQ(r.MoveTimes[0], 0);
    EXPECT_EQ(Utf8(FieldText(r.FirstName)), c.sente);
    EXPECT_EQ(Utf8(FieldText(r.SecondName)), c.gote);
    EXPECT_EQ(Utf8(FieldText(r.Tournament)), c.tournament);
    EXPECT_EQ(Utf8(FieldText(r.Opening)), c.opening);
  }
}

TEST(Akafuji, RefusesShortAndEmptyFilesAndNamesAMissingOne) {
  const std::string image = test::AkafujiImage();
  const std::string empty(538624, '\0');
  struct Case {
    std::string bytes;
    const char* message;
  };
  const Case cases[] = {
      {image.substr(0, 537000), "ファイルに異常があります。"},
      {empty, "表示対象データがありません。"},
  };
  for (const Case& c : cases) {
    MemoryAkafujiSource source(c.bytes);
    std::string header, message;
    std::vector<std::string> rows;
    EXPECT_EQ(ListAkafuji(source, header, rows, message), 1);
    EXPECT_EQ(message, c.message);
  }
  // A block past the end of the file.
  std::string far = image;
  far[530432 + 13 + 14] = 100;
  MemoryAkafujiSource source(far);
  GameRecord r = test::SentinelRecord();
  std::string message;
  test::ExpectReadOutcome(ReadAkafuji(source, 1, r, message), r, message, -1, "far block");

  std::string header;
  std::vector<std::string> rows;
  EXPECT_EQ(ListAkafuji("/nonexistent/dt01.sin", header, rows, message), 1);
  EXPECT_EQ(message, "ファイルがオープン出来ません。");
  EXPECT_EQ(ReadAkafuji("/nonexistent/dt01.sin", 1, r, message), 1);
  EXPECT_EQ(message, "ファイルがオープン出来ません。");
}

}  // namespace
}  // namespace shogi
