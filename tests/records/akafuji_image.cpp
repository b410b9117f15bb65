// The test database of akafuji_image.h, written byte by byte from the layout.
#include "tests/records/akafuji_image.h"

#include <utility>
#include <vector>

namespace shogi::test {
namespace {

using Pairs = std::vector<std::pair<int, int>>;

// A string table at `offset`: the skipped byte, then each string as its length and pairs.
void PutTable(std::string& image, std::size_t offset, const std::vector<Pairs>& strings) {
  std::size_t at = offset + 1;
  for (const Pairs& s : strings) {
    image[at++] = static_cast<char>(2 * s.size());
    for (auto [c, d] : s) {
      image[at++] = static_cast<char>(c);
      image[at++] = static_cast<char>(d);
    }
  }
}

void PutEntry(std::string& image, int entry, std::vector<int> bytes) {
  std::size_t at = 530432 + 13 + 15 * static_cast<std::size_t>(entry);
  for (int b : bytes) image[at++] = static_cast<char>(b);
}

void PutBlock(std::string& image, int block, std::vector<int> moves) {
  std::size_t at = (static_cast<std::size_t>(block) - 1) * 1024 + 8;
  for (int b : moves) image[at++] = static_cast<char>(b);
}

}  // namespace

std::string AkafujiImage() {
  std::string image(538624, '\0');
  // JIS row/cell pairs: 羽 49 41, 生 64 56, 谷 67 43, 川 64 110, 高 57 98 (an odd row whose
  // trail byte passes 126); ASCII through 0 and 41; 42 takes 128 off.
  PutTable(image, 512000,
           {{{49, 41}, {64, 56}},
            {{67, 43}, {64, 110}},
            {{0, 'A'}, {41, 'B'}, {0, 'C'}},
            {{42, 'x' + 128}, {57, 98}}});
  // 四間 59 77 52 86, 飛車 72 116 60 86, 矢倉 76 112 65 82.
  PutTable(image, 516096, {{{59, 77}, {52, 86}}, {{72, 116}, {60, 86}}, {{76, 112}, {65, 82}}});
  // 名人 76 62 63 77, 戦 64 111, 王将 50 38 62 45.
  PutTable(image, 523264, {{{76, 62}, {63, 77}}, {{64, 111}}, {{50, 38}, {62, 45}}});
  // Opening parts, sente, -, gote, -, tournament parts, result, block (little-endian).
  PutEntry(image, 0, {1, 2, 0, 0, 1, 0, 2, 0, 1, 2, 0, 0, 2, 1, 0});
  PutEntry(image, 2, {3, 0, 0, 0, 3, 0, 4, 0, 3, 2, 0, 0, 3, 2, 0});
  PutEntry(image, 3, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 3, 0});
  // Squares as 10 * rank + (10 - file); the origin's top bit is ignored, the destination's
  // marks a promotion; 112 drops a bishop.
  PutBlock(image, 1, {73 | 0x80, 63, 0, 37, 47, 0, 82, 28 | 0x80, 0, 17, 28, 0, 112, 56, 0, 255});
  PutBlock(image, 2, {78, 68, 0, 32, 42, 0, 255});
  PutBlock(image, 3, {55, 45, 0, 255});
  return image;
}

}  // namespace shogi::test
