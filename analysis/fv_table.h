// The evaluation file fv.bin: two arrays of signed 16-bit little-endian numbers, pc_on_sq
// (a value per king square and pair of features) and kkp (a value per pair of king squares
// and feature), held read-only for the life of the program once loaded.
#pragma once

#include <cassert>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "platform/mapped_file.h"

namespace shogi {

// Squares as the file numbers them: 0..80 (see FeatureSquare in analysis/fv_features.h).
constexpr int kFvSquares = 81;
// Features of a piece or a hand count; pairs of two features k >= l are k(k+1)/2 + l.
constexpr int kFvFeatureCount = 1476;
constexpr int kFvPairCount = kFvFeatureCount * (kFvFeatureCount + 1) / 2;
// Entries per pair of king squares in kkp.
constexpr int kKkpEntries = 738;

constexpr std::size_t kPcOnSqElements = std::size_t{kFvSquares} * kFvPairCount;
constexpr std::size_t kKkpElements = std::size_t{kFvSquares} * kFvSquares * kKkpEntries;
constexpr std::size_t kFvElements = kPcOnSqElements + kKkpElements;
constexpr std::size_t kFvFileBytes = 2 * kFvElements;
static_assert(kFvPairCount == 1090026);
static_assert(2 * kPcOnSqElements == 176584212);
static_assert(2 * kKkpElements == 9684036);

// "%sが読み込めません。" with the file's name.
std::string FvUnreadableMessage(const std::string& path);

class FvTable {
 public:
  // Reads the file at `path`: 0 on success. 1 when it cannot be opened or read, with
  // `message` = "%sが読み込めません。"; the table is then not loaded. A file of full length is
  // mapped (nothing is read until used); a shorter one is copied into a zeroed table, so the
  // numbers it lacks count 0; bytes past the two arrays are ignored.
  [[nodiscard]] int Load(const std::string& path, std::string& message);
  // An in-memory table of zeros, for a caller that fills it itself through MutableElements.
  [[nodiscard]] bool AllocateZeroed();
  void Unload();

  bool Loaded() const { return elements_ != nullptr; }
  // True when the table is the mapped file (then it cannot be changed).
  bool Mapped() const { return mapped_.IsOpen(); }
  // The kFvElements numbers in the file's order (pc_on_sq, then kkp) of an in-memory table;
  // nullptr for a mapped or unloaded one.
  std::int16_t* MutableElements() { return heap_.get(); }

  // The pc_on_sq row of a king on `king_square` (0..80): kFvPairCount numbers.
  const std::int16_t* PcOnSq(int king_square) const {
    assert(elements_ && king_square >= 0 && king_square < kFvSquares);
    return elements_ + static_cast<std::size_t>(king_square) * kFvPairCount;
  }
  // The kkp row of the two king squares (0..80 each): kKkpEntries numbers.
  const std::int16_t* Kkp(int first_king_square, int second_king_square) const {
    assert(elements_ && first_king_square >= 0 && first_king_square < kFvSquares);
    assert(second_king_square >= 0 && second_king_square < kFvSquares);
    return elements_ + kPcOnSqElements +
           (static_cast<std::size_t>(first_king_square) * kFvSquares + second_king_square) *
               kKkpEntries;
  }

 private:
  struct FreeMemory {
    void operator()(std::int16_t* p) const { std::free(p); }
  };

  MappedFile mapped_;
  std::unique_ptr<std::int16_t[], FreeMemory> heap_;
  const std::int16_t* elements_ = nullptr;  // the mapping or heap_
};

}  // namespace shogi
