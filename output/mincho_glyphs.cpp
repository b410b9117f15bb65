// Characters through a monochrome rasteriser (FreeType, or GDI on Windows): no
// anti-aliasing, so the pixels are the same on every run.
#include "output/mincho_glyphs.h"

#include <cstdint>
#include <vector>

#ifdef _WIN32
#include <windows.h>

#include "platform/windows_path.h"
#else
#include <ft2build.h>
#include FT_FREETYPE_H
#endif

namespace shogi {
namespace {

// A rendered character: `Rows` rows of `Pitch` bytes, the leftmost pixel in the high bit.
struct GlyphBits {
  int Width = 0, Height = 0, Pitch = 0;
  std::vector<std::uint8_t> Rows;
};

#ifdef _WIN32

// The IPA Mincho file when it is installed beside the program or in the Linux place Wine
// sees, taken in for this process only; else the system's Mincho.
HFONT OpenFont(int glyph_height) {
  static bool added = false;
  if (!added) {
    added = true;
    AddFontResourceExW(WidePath(SHOGI_MINCHO_FONT).c_str(), FR_PRIVATE, nullptr);
    AddFontResourceExW(L"ipam.ttf", FR_PRIVATE, nullptr);
  }
  return CreateFontW(-glyph_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                     OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS, NONANTIALIASED_QUALITY,
                     FIXED_PITCH | FF_ROMAN, L"IPAMincho");
}

FIXED ToFixed(double value) {
  const long raw = static_cast<long>(value * 65536.0);
  FIXED f;
  f.value = static_cast<short>(raw >> 16);
  f.fract = static_cast<WORD>(raw & 0xFFFF);
  return f;
}

// GDI's monochrome outline of the character `cp`, its em `glyph_width` x `glyph_height`.
bool RenderGlyph(char32_t cp, int glyph_width, int glyph_height, GlyphBits& bits) {
  if (cp > 0xFFFF) return false;
  HDC dc = CreateCompatibleDC(nullptr);
  HFONT font = dc != nullptr ? OpenFont(glyph_height) : nullptr;
  bool ok = false;
  if (font != nullptr) {
    HGDIOBJ old = SelectObject(dc, font);
    MAT2 scale{};
    scale.eM11 = ToFixed(static_cast<double>(glyph_width) / glyph_height);
    scale.eM22 = ToFixed(1.0);
    GLYPHMETRICS metrics{};
    const UINT ch = static_cast<UINT>(cp);
    const DWORD size = GetGlyphOutlineW(dc, ch, GGO_BITMAP, &metrics, 0, nullptr, &scale);
    if (size != GDI_ERROR && size > 0) {
      bits.Rows.resize(size);
      ok = GetGlyphOutlineW(dc, ch, GGO_BITMAP, &metrics, size, bits.Rows.data(), &scale) !=
           GDI_ERROR;
      bits.Width = static_cast<int>(metrics.gmBlackBoxX);
      bits.Height = static_cast<int>(metrics.gmBlackBoxY);
      bits.Pitch = ((bits.Width + 31) / 32) * 4;  // rows are DWORD-aligned
      ok = ok && static_cast<std::size_t>(bits.Pitch) * bits.Height <= bits.Rows.size();
    }
    SelectObject(dc, old);
    DeleteObject(font);
  }
  if (dc != nullptr) DeleteDC(dc);
  return ok;
}

bool FontAvailable() {
  return true;
}

#else

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

// FreeType's monochrome bitmap of the character `cp`, its em `glyph_width` x `glyph_height`.
bool RenderGlyph(char32_t cp, int glyph_width, int glyph_height, GlyphBits& bits) {
  FT_Face face = OpenFace();
  if (face == nullptr) return false;
  if (FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(glyph_width),
                         static_cast<FT_UInt>(glyph_height)) != 0)
    return false;
  if (FT_Load_Char(face, cp, FT_LOAD_RENDER | FT_LOAD_TARGET_MONO | FT_LOAD_MONOCHROME) != 0)
    return false;
  const FT_Bitmap& bitmap = face->glyph->bitmap;
  if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO || bitmap.pitch < 0) return false;
  bits.Width = static_cast<int>(bitmap.width);
  bits.Height = static_cast<int>(bitmap.rows);
  bits.Pitch = bitmap.pitch;
  bits.Rows.assign(bitmap.buffer,
                   bitmap.buffer + static_cast<std::size_t>(bits.Pitch) * bits.Height);
  return true;
}

bool FontAvailable() {
  return OpenFace() != nullptr;
}

#endif

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
  return FontAvailable();
}

void DrawMinchoCharacter(OneBitPicture& picture, std::string_view text, int x, int y, int width,
                         int height, int glyph_width, int glyph_height, bool turned) {
  const char32_t cp = FirstCodePoint(text);
  GlyphBits bits;
  if (cp == 0 || glyph_width <= 0 || glyph_height <= 0 ||
      !RenderGlyph(cp, glyph_width, glyph_height, bits))
    return;
  const int w = bits.Width, h = bits.Height;
  const int left = x + (width - w) / 2, top = y + (height - h) / 2;
  for (int row = 0; row < h; ++row) {
    const std::uint8_t* line = bits.Rows.data() + static_cast<std::size_t>(row) * bits.Pitch;
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
