// The mate-problem picture: the diagram drawn at 16 pixels a cell into a 200 x 168 one-bit
// picture, and its Windows bitmap file of 4 766 bytes.
#pragma once

#include <string>

#include "output/diagram_layout.h"
#include "output/one_bit_picture.h"

namespace shogi {

constexpr int kProblemWidth = 200;
constexpr int kProblemHeight = 168;
constexpr int kProblemRowBytes = 28;  // 25 bytes of pixels and 3 zero bytes
constexpr int kProblemHeaderBytes = 62;
constexpr int kProblemFileBytes = kProblemHeaderBytes + kProblemRowBytes * kProblemHeight;
static_assert(kProblemFileBytes == 4766);

// The side labels of the problem picture hold at most 6 cp932 bytes.
constexpr std::size_t kProblemLabelBytes = 6;

inline constexpr const char* kProblemWrittenMessage = "%sを作成しました。";
inline constexpr const char* kProblemNotWrittenMessage = "%sが作成出来ません。";

// Draws a layout into the picture (which is not cleared first).
void RenderDiagram(const DiagramLayout& layout, OneBitPicture& picture);

// The problem picture of `pos` with the two labels (UTF-8).
OneBitPicture DrawProblem(const Position& pos, const std::string& sente_label,
                          const std::string& gote_label);

// The bitmap file's bytes: the header, then the rows from the bottom up, a pixel that is not
// black giving bit 1.
std::string ProblemBitmapBytes(const OneBitPicture& picture);

// Writes the bitmap file: 0 with "%sを作成しました。", or 1 with "%sが作成出来ません。" (UTF-8,
// the path put in).
[[nodiscard]] int WriteProblemBitmap(const std::string& path, const OneBitPicture& picture,
                                     std::string& message);

// "盤反転": the position turned by 180 degrees with the colours swapped (square s takes the
// negated piece of square 82 - s) and the hands exchanged.
Position FlipProblem(const Position& pos);

}  // namespace shogi
