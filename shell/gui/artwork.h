// The program's pictures, drawn in code at start-up: the background and board tiles, the
// panels, the star points, the pieces, the marks, the promotion box and the tool-bar icons.
// Each picture keeps the resource number of the board view's layout as its name.
#pragma once

#include <wx/bitmap.h>
#include <wx/font.h>

#include <map>

#include "shell/menu_layout.h"

namespace shogi::gui {

using resources::ToolIcon;

class Artwork {
 public:
  // Draws every picture at the view's scale (per cent: 100, 150, 200); the text font is
  // "標準明朝" when the system has it, else a Japanese Mincho face (IPA明朝), else the
  // system's serif face.
  explicit Artwork(int scale_percent = 100);
  int ScalePercent() const { return scale_; }

  // The picture of a resource number (102, 103, 104, 105..139 pieces, 137, 138, 140, 141);
  // an unknown number gives an empty bitmap.
  const wxBitmap& Image(int id) const;
  wxBitmap Tool(ToolIcon icon) const;
  // The 16-pixel text font of the panels (at scale), the coordinates' smaller one, the
  // bold one of the counts of pieces.
  const wxFont& TextFont() const { return text_font_; }
  const wxFont& SmallFont() const { return small_font_; }
  const wxFont& CountFont() const { return count_font_; }
  // The face used for texts and piece letters.
  const wxString& FaceName() const { return face_; }

 private:
  int scale_ = 100;
  wxString face_;
  wxFont text_font_, small_font_, count_font_;
  std::map<int, wxBitmap> images_;
  wxBitmap empty_;
};

}  // namespace shogi::gui
