// The Mincho characters of the off-screen pictures, rendered one bit deep through FreeType
// from the IPA Mincho font file, so that the same picture comes out with or without a window.
#pragma once

#include <string_view>

#include "output/one_bit_picture.h"

namespace shogi {

// Whether the font file was found and opened; without it characters are not drawn.
bool MinchoAvailable();

// Draws the first character of the UTF-8 `text` rendered `glyph_width` x `glyph_height`
// pixels (the font's em square), its ink centred in the box (x, y, width, height); `turned`
// draws it rotated by 180 degrees.
void DrawMinchoCharacter(OneBitPicture& picture, std::string_view text, int x, int y, int width,
                         int height, int glyph_width, int glyph_height, bool turned);

}  // namespace shogi
