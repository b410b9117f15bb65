// The problem picture and its bitmap file.
#include "output/problem_bitmap.h"

#include <cstdio>
#include <utility>

#include "output/mincho_glyphs.h"
#include "platform/file_path.h"

namespace shogi {
namespace {

void PutLittleEndian(std::string& out, std::size_t at, unsigned value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

void RenderDiagram(const DiagramLayout& layout, OneBitPicture& picture) {
  for (const DiagramLine& l : layout.Lines) picture.DrawLine(l.X1, l.Y1, l.X2, l.Y2);
  for (const DiagramGlyph& g : layout.Glyphs) {
    DrawMinchoCharacter(picture, g.Text, g.X, g.Y, g.Width, g.Height, g.GlyphWidth, g.GlyphHeight,
                        g.Turned);
  }
  for (const DiagramMark& m : layout.Marks) {
    if (m.Filled)
      picture.FillPolygon(MarkCorners(m));
    else
      picture.DrawPolygon(MarkCorners(m));
  }
}

OneBitPicture DrawProblem(const Position& pos, const std::string& sente_label,
                          const std::string& gote_label) {
  OneBitPicture picture(kProblemWidth, kProblemHeight);
  RenderDiagram(LayoutDiagram(pos, sente_label, gote_label, DiagramMetrics{}), picture);
  return picture;
}

std::string ProblemBitmapBytes(const OneBitPicture& picture) {
  std::string out(kProblemFileBytes, '\0');
  out[0] = 'B';
  out[1] = 'M';
  PutLittleEndian(out, 2, kProblemFileBytes, 4);
  PutLittleEndian(out, 10, kProblemHeaderBytes, 4);
  PutLittleEndian(out, 14, 40, 4);
  PutLittleEndian(out, 18, kProblemWidth, 4);
  PutLittleEndian(out, 22, kProblemHeight, 4);
  PutLittleEndian(out, 26, 1, 2);
  PutLittleEndian(out, 28, 1, 2);
  PutLittleEndian(out, 34, kProblemRowBytes * kProblemHeight, 4);
  PutLittleEndian(out, 58, 0x00FFFFFF, 4);  // colour 1 white; colour 0 stays black
  std::size_t at = kProblemHeaderBytes;
  for (int y = kProblemHeight - 1; y >= 0; --y, at += kProblemRowBytes) {
    for (int x = 0; x < kProblemWidth; ++x) {
      if (!picture.IsBlack(x, y))
        out[at + x / 8] = static_cast<char>(out[at + x / 8] | (0x80 >> (x % 8)));
    }
  }
  return out;
}

int WriteProblemBitmap(const std::string& path, const OneBitPicture& picture,
                       std::string& message) {
  const std::string bytes = ProblemBitmapBytes(picture);
  std::FILE* f = path.empty() ? nullptr : OpenFile(path, "wb");
  bool written = f != nullptr && std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  if (f != nullptr && std::fclose(f) != 0) written = false;
  if (!written) {
    if (f != nullptr) std::remove(path.c_str());
    message = WithName(kProblemNotWrittenMessage, path);
    return 1;
  }
  message = WithName(kProblemWrittenMessage, path);
  return 0;
}

Position FlipProblem(const Position& pos) {
  Position out = pos;
  for (Square s = 1; s <= kSquareCount; ++s)
    out.Board[s] = static_cast<PieceCode>(-pos.Board[kSquareCount + 1 - s]);
  for (int type = 0; type < 8; ++type) {
    out.Hand[kFirst][type] = pos.Hand[kSecond][type];
    out.Hand[kSecond][type] = pos.Hand[kFirst][type];
  }
  FindKingSquares(out);
  return out;
}

}  // namespace shogi
