// The date sort: its order against the sort's loop written out as it runs, and the database
// rewritten in that order.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

#include "database/date_sort.h"
#include "records/record_io.h"
#include "tests/database/database_test_util.h"

namespace shogi {
namespace {

// The sort's selection with grouping exactly as it has always run, comparing every pair.
std::vector<int> LiteralOrder(const std::vector<std::int32_t>& keys, bool descending) {
  const int n = static_cast<int>(keys.size());
  const auto better = [&](int a, int b) {
    return descending ? keys[a] > keys[b] : keys[a] < keys[b];
  };
  std::vector<int> o(n);
  std::iota(o.begin(), o.end(), 0);
  for (int i = 0; i < n;) {
    int b = o[i];
    for (int j = n - 1; j > i; --j) {
      if (better(o[j], b)) std::swap(o[j], b);
    }
    o[i] = b;
    int p = i + 1;
    for (int j = i + 1; j < n; ++j) {
      if (keys[o[j]] == keys[b]) std::swap(o[j], o[p++]);
    }
    i = p;
  }
  return o;
}

std::vector<int> FastOrder(std::vector<std::int32_t> keys, bool descending) {
  std::vector<std::int32_t> order(keys.size());
  EXPECT_TRUE(DateSortOrder(keys.data(), order.data(), static_cast<int>(keys.size()), descending));
  return {order.begin(), order.end()};
}

// Key arrays of many shapes: few and many different keys, runs that are sorted, reversed or
// rotated (a sorted database with older games appended), extreme values.
std::vector<std::vector<std::int32_t>> KeyArrays() {
  std::vector<std::vector<std::int32_t>> arrays = {
      {}, {5}, {INT32_MIN, INT32_MAX, 0, -1, INT32_MAX}};
  std::mt19937 random(20240601);
  for (int round = 0; round < 600; ++round) {
    const int n = 1 + static_cast<int>(random() % (round < 500 ? 40 : 400));
    const int distinct = 1 + static_cast<int>(random() % (round % 3 == 0 ? 3 : n + 1));
    std::vector<std::int32_t> keys(n);
    for (auto& k : keys) k = static_cast<std::int32_t>(random() % distinct);
    switch (round % 5) {
      case 1:
        std::sort(keys.begin(), keys.end());
        break;
      case 2:
        std::sort(keys.rbegin(), keys.rend());
        break;
      case 3:
        std::sort(keys.begin(), keys.end());
        std::rotate(keys.begin(), keys.begin() + static_cast<long>(random() % n), keys.end());
        break;
      default:
        break;
    }
    arrays.push_back(std::move(keys));
  }
  return arrays;
}

TEST(DateSortOrderTest, IsTheOrderOfTheSortsLoop) {
  for (const auto& keys : KeyArrays()) {
    for (bool descending : {false, true}) {
      ASSERT_EQ(FastOrder(keys, descending), LiteralOrder(keys, descending))
          << "size " << keys.size() << (descending ? " descending" : " ascending");
    }
  }
}

TEST(DateSortOrderTest, KeysOfDates) {
  EXPECT_EQ(DateKey(2001, 5, 3), 0x07D10503);  // 2001 = 0x7D1: year, month and day a byte each
  EXPECT_LT(DateKey(1999, 12, 31), DateKey(2000, 1, 1));
  // Fields no date has wrap as the 32-bit arithmetic does, without overflowing.
  EXPECT_EQ(DateKey(32767, 255, 255), INT32_MAX);
  EXPECT_EQ(DateKey(-32768, 0, 0), INT32_MIN);
}

class SortDatabaseTest : public test::DatabaseFolderTest {};

TEST_F(SortDatabaseTest, RewritesRecordsAndBlocksInTheSortsOrder) {
  using test::DatedGame;
  // Three dates, two of them equal, sorted both ways; then four games; each game has its
  // own block (its number of plies).
  struct Case {
    std::vector<GameRecord> games;
    bool descending;
    std::vector<int> order;  // the old numbers in their new places
  } cases[] = {
      {{DatedGame(2001, 5, 3, 1), DatedGame(1999, 12, 31, 2), DatedGame(2001, 5, 3, 3)},
       false,
       {2, 1, 3}},
      {{DatedGame(2001, 5, 3, 1), DatedGame(1999, 12, 31, 2), DatedGame(2001, 5, 3, 3)},
       true,
       {1, 3, 2}},
      // Not stable: the last game of the earliest date is taken first, the equal one before it
      // follows.
      {{DatedGame(2002, 1, 1, 1), DatedGame(2000, 1, 1, 2), DatedGame(2000, 1, 1, 3),
        DatedGame(2001, 1, 1, 4)},
       false,
       {3, 2, 4, 1}},
  };
  for (const Case& c : cases) {
    for (const DatabaseFormat* format : {&kKisenFormat, &kTarvelFormat}) {
      const DatabasePaths paths = WriteGames(*format, "games.idx", c.games);
      std::vector<GameRecord> expected;
      for (int n : c.order) expected.push_back(c.games[n - 1]);
      const test::DatabaseFiles want =
          test::FilesOf(*format, WriteGames(*format, "expected.idx", expected));

      std::vector<std::string> words;
      int pumps = 0;
      std::string message;
      ASSERT_EQ(SortDatabase(*format, paths, c.descending,
                             {[&](const char* word) { words.push_back(word); },
                              {},
                              [&](std::int64_t, std::int64_t) { return ++pumps > 0; }},
                             message),
                0)
          << message;
      EXPECT_EQ(test::FilesOf(*format, paths), want) << format->Caption;
      EXPECT_EQ(words, std::vector<std::string>{kStatusSorting});
      EXPECT_EQ(pumps, 2 * static_cast<int>(c.games.size()));  // reading keys, writing
    }
  }
}

TEST_F(SortDatabaseTest, HeaderKeepsItsBytesWithTheCountWrittenWhole) {
  const DatabasePaths paths =
      WriteGames(kKisenFormat, "games.idx",
                 {test::DatedGame(2000, 1, 2), test::DatedGame(2000, 1, 1)});
  // Another program's header: bytes 2-3 beside a 16-bit count, and bytes of its own at 8.
  std::string index = test::FileBytes(paths.Index(kKisenFormat));
  index[2] = '\x07';
  index[8] = '\x2A';
  test::PutFileBytes(paths.Index(kKisenFormat), index);
  std::string message;
  ASSERT_EQ(SortDatabase(kKisenFormat, paths, false, {}, message), 0) << message;
  const std::string sorted = test::FileBytes(paths.Index(kKisenFormat));
  EXPECT_EQ(sorted.substr(0, 4), std::string("\x02\x00\x00\x00", 4));
  EXPECT_EQ(sorted[8], '\x2A');
  EXPECT_EQ(sorted.substr(32), index.substr(64, 32) + index.substr(32, 32));
}

TEST_F(SortDatabaseTest, RefusesWhatItCannotSort) {
  const DatabasePaths empty = WriteGames(kTarvelFormat, "empty.mix", {});
  std::string message;
  EXPECT_EQ(SortDatabase(kTarvelFormat, empty, false, {}, message), 1);
  EXPECT_EQ(message, kMessageNoGames);
  EXPECT_EQ(SortDatabase(kTarvelFormat, PathsOf("missing.mix"), false, {}, message), 1);
  EXPECT_EQ(message, kMessageFileMissing);
}

}  // namespace
}  // namespace shogi
