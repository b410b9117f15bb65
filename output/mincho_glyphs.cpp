// Characters through FreeType's monochrome rasteriser: no anti-aliasing, so the pixels are
// the same on every run.
#include "output/mincho_glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace shogi {
namespace {

FT_Face OpenFace() {
  static FT_Library library = nullptr;
  static FT_Face face = nullptr;
  static bool tried = false;
  if (tried) return face;
  tried = true;
  if (FT_Init_FreeType(&library) != 0) return nullptr;
  for (const char* path : {SHOGI_MINCHO_FONT, "/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf",
                           "/usr/share/fonts/truetype/fonts-japanese-mincho.ttf"}) {
    if (FT_New_Face(library, path, 0, &face) == 0) return face;
    face = nullptr;
  }
  return nullptr;
}

// The code point of the first UTF-8 character of `text`; 0 when malformed.
char32_t FirstCodePoint(std::string_view text) {
  if (text.empty()) return 0;
  const auto b = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char c = b(0);
  if (c < 0x80) return c;
  const std::size_t n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 0;
  if (n == 0 || text.size() < n) return 0;
  char32_t cp = c & (0x7F >> n);
  for (std::size_t i = 1; i < n; ++i) {
    if ((b(i) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b(i) & 0x3F);
  }
  return cp;
}

}  // namespace

bool MinchoAvailable() {
  return OpenFace() != nullptr;
}

void DrawMinchoCharacter(OneBitPicture& picture, std::string_view text, int x, int y, int width,
                         int height, int glyph_width, int glyph_height, bool turned) {
  FT_Face face = OpenFace();
  const char32_t cp = FirstCodePoint(text);
  if (face == nullptr || cp == 0 || glyph_width <= 0 || glyph_height <= 0) return;
  if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(glyph_width),
                         static_cast<FT_UInt>(glyph_height)) != 0)
    return;
  if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
    return;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO) return;
  const int w = static_cast<int>(bitmap.width), h = static_cast<int>(bitmap.rows);
  const int left = x + (width - w) / 2, top = y + (height - h) / 2;
  for (int row = 0; row < h; ++row) {
    const unsigned char* line = bitmap.buffer + row * bitmap.pitch;
    for (int col = 0; col < w; ++col) {
      if ((line[col / 8] & (0x80 >> (col % 8))) == 0) continue;
      if (turned)
        picture.SetBlack(left + w - 1 - col, top + h - 1 - row);
      else
        picture.SetBlack(left + col, top + row);
    }
  }
}

}  // namespace shogi
