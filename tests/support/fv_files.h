// Evaluation files and tables for the tests: a file that is zero but for a few numbers, and
// a full in-memory table whose every number follows a seeded formula.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "analysis/fv_table.h"

namespace shogi::test {

// Numbers of the evaluation file by their element index (pc_on_sq first, then kkp).
using FvElements = std::vector<std::pair<std::size_t, std::int16_t>>;

// The element index of pc_on_sq[king][pair (k, l)], k >= l, and of kkp[bk][wk][entry],
// counted from the file's layout.
std::size_t PcOnSqElement(int king, int k, int l);
std::size_t KkpElement(int first_king, int second_king, int entry);

// Writes an evaluation file of `bytes` bytes (full length by default) that holds zeros but
// for `elements` (those beyond `bytes` are left out). The zeros are holes of a sparse file, so
// a full-length file costs next to nothing on the disk.
void WriteFvFile(const std::string& path, const FvElements& elements,
                 std::size_t bytes = kFvFileBytes);

// The seeded formula: a number in -1000..1000 for every element index.
std::int16_t PatternElement(std::size_t index);
// An in-memory table holding PatternElement at every index, built once per test program.
const FvTable& PatternTable();

}  // namespace shogi::test
