// Evaluation files and tables for the tests.
#include "tests/support/fv_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace shogi::test {

std::size_t PcOnSqElement(int king, int k, int l) {
  // Row `king` holds 1476 x 1477 / 2 pairs; pair (k, l) comes after the pairs of every smaller
  // k, of which there are smaller + 1 each.
  static const std::vector<std::size_t> before = [] {
    std::vector<std::size_t> counts(1477, 0);
    for (int smaller = 0; smaller < 1476; ++smaller)
      counts[smaller + 1] = counts[smaller] + smaller + 1;
    return counts;
  }();
  return static_cast<std::size_t>(king) * (1476u * 1477u / 2) + before[k] + l;
}

std::size_t KkpElement(int first_king, int second_king, int entry) {
  return 81u * (1476u * 1477u / 2) +
         (static_cast<std::size_t>(first_king) * 81 + second_king) * 738 + entry;
}

void WriteFvFile(const std::string& path, const FvElements& elements, std::size_t bytes) {
  { std::ofstream create(path, std::ios::binary | std::ios::trunc); }
  std::filesystem::resize_file(path, bytes);
  std::fstream out(path, std::ios::binary | std::ios::in | std::ios::out);
  for (const auto& [index, value] : elements) {
    const auto u = static_cast<std::uint16_t>(value);
    const char little[2] = {static_cast<char>(u & 0xFF), static_cast<char>(u >> 8)};
    for (std::size_t b = 0; b < 2; ++b) {
      if (2 * index + b >= bytes) continue;
      out.seekp(static_cast<std::streamoff>(2 * index + b));
      out.write(&little[b], 1);
    }
  }
  ASSERT_TRUE(out.good()) << path;
}

std::int16_t PatternElement(std::size_t index) {
  std::uint64_t x = (index + 0x5EEDull) * 0x9E3779B97F4A7C15ull;
  x ^= x >> 29;
  x *= 0xBF58476D1CE4E5B9ull;
  x ^= x >> 32;
  return static_cast<std::int16_t>(static_cast<int>(x % 2001) - 1000);
}

const FvTable& PatternTable() {
  static FvTable table;
  if (!table.Loaded()) {
    EXPECT_TRUE(table.AllocateZeroed());
    std::int16_t* elements = table.MutableElements();
    for (std::size_t i = 0; i < kFvElements; ++i) elements[i] = PatternElement(i);
  }
  return table;
}

}  // namespace shogi::test
