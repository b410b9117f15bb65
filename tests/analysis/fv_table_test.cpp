// Loading the evaluation file: a full file mapped, a short one filled with zeros behind it, a
// longer one cut to the two arrays, the numbers read little-endian at both arrays' ends, and
// the files that cannot be read.
#include "analysis/fv_table.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/fv_files.h"
#include "tests/support/test_files.h"

namespace shogi {
namespace {

using test::KkpElement;
using test::PcOnSqElement;

// The number at element `index` as the table shows it, through its two rows.
int ElementOf(const FvTable& table, std::size_t index) {
  constexpr std::size_t kRow = 1476u * 1477u / 2, kPcOnSq = 81 * kRow;
  if (index < kPcOnSq) return table.PcOnSq(static_cast<int>(index / kRow))[index % kRow];
  const std::size_t k = index - kPcOnSq;
  const std::size_t pair = k / 738;
  return table.Kkp(static_cast<int>(pair / 81), static_cast<int>(pair % 81))[k % 738];
}

TEST(FvTableTest, LoadsWhatTheFileHoldsAndZerosForTheRest) {
  const test::TempFolder folder;
  const std::string path = folder.Path() + "fv.bin";
  const std::size_t first = 0, pc_last = PcOnSqElement(80, 1475, 1475),
                    kkp_first = KkpElement(0, 0, 0), last = KkpElement(80, 80, 737);
  ASSERT_EQ(pc_last + 1, kkp_first);
  ASSERT_EQ(last + 1, kFvElements);
  const test::FvElements numbers = {
      {first, 1}, {5, -2}, {pc_last, 32767}, {kkp_first, -32768}, {last, 0x1234}};
  struct Case {
    const char* what;
    std::size_t bytes;
    bool mapped;
    std::vector<std::pair<std::size_t, int>> expected;  // element, number
  } cases[] = {
      {"full length",
       kFvFileBytes,
       true,
       {{first, 1}, {5, -2}, {6, 0}, {pc_last, 32767}, {kkp_first, -32768}, {last, 0x1234}}},
      {"longer: the rest ignored", kFvFileBytes + 7, true, {{last, 0x1234}, {pc_last, 32767}}},
      {"shorter by one byte: the high byte missing",
       kFvFileBytes - 1,
       false,
       {{first, 1}, {kkp_first, -32768}, {last, 0x34}}},
      {"only pc_on_sq",
       2 * kFvElements - 2 * (last - pc_last),
       false,
       {{pc_last, 32767}, {kkp_first, 0}, {last, 0}}},
      {"ten bytes", 10, false, {{first, 1}, {4, 0}, {5, 0}, {pc_last, 0}, {last, 0}}},
      {"empty", 0, false, {{first, 0}, {last, 0}}},
  };
  for (const Case& c : cases) {
    test::WriteFvFile(path, numbers, c.bytes);
    FvTable table;
    std::string message;
    ASSERT_EQ(table.Load(path, message), 0) << c.what << ": " << message;
    EXPECT_TRUE(table.Loaded()) << c.what;
    EXPECT_EQ(table.Mapped(), c.mapped) << c.what;
    for (const auto& [index, number] : c.expected) {
      EXPECT_EQ(ElementOf(table, index), number) << c.what << ", element " << index;
    }
  }
}

// A file that cannot be read leaves the table unloaded, also after an earlier good load.
TEST(FvTableTest, AnUnreadableFileUnloadsWithItsMessage) {
  const test::TempFolder folder;
  const std::string good = folder.Path() + "fv.bin";
  test::WriteFvFile(good, {{3, 9}}, 100);
  for (const std::string& bad : {folder.Path() + "missing.bin", folder.Path()}) {
    FvTable table;
    std::string message;
    ASSERT_EQ(table.Load(good, message), 0);
    EXPECT_EQ(table.Load(bad, message), 1) << bad;
    EXPECT_EQ(message, bad + "が読み込めません。");
    EXPECT_FALSE(table.Loaded()) << bad;
    EXPECT_EQ(table.Load(good, message), 0);
    EXPECT_EQ(ElementOf(table, 3), 9);
  }
}

}  // namespace
}  // namespace shogi
