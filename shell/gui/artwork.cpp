// Drawing the program's pictures.
#include "shell/gui/artwork.h"

#include <wx/dcmemory.h>
#include <wx/fontenum.h>
#include <wx/graphics.h>
#include <wx/image.h>

#include <cmath>
#include <cstring>
#include <memory>

#include "shell/view_layout.h"

namespace shogi::gui {
namespace {

constexpr double kPi = 3.14159265358979323846;

// A small deterministic hash for the grain of the tiles (the same pictures on every run).
double Noise(int x, int y, int seed) {
  unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u +
               static_cast<unsigned>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  h ^= h >> 16;
  return (h & 0xFFFF) / 65535.0;
}

unsigned char Channel(double v) {
  return static_cast<unsigned char>(std::clamp(v, 0.0, 255.0));
}

// A fully transparent image with an alpha channel.
wxImage ClearImage(int w, int h) {
  wxImage img(w, h);
  img.InitAlpha();
  std::memset(img.GetAlpha(), 0, static_cast<std::size_t>(w) * h);
  return img;
}

// The pictures are drawn at the view's scale `f` (1, 1.5, 2): sizes in the layout's pixels
// times f, so that nothing is stretched.
int Scaled(int v, double f) {
  return static_cast<int>(v * f);
}

// Light wood with a grain that repeats every 64 x 40 pixels, so that the tile joins up.
wxBitmap BoardTile(double f) {
  const int w = Scaled(64, f), h = Scaled(40, f);
  wxImage img(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      // Fine, nearly straight grain lines with a slow drift, and a little pore noise.
      double drift = 0.10 * std::sin(2 * kPi * x / w) + 0.04 * std::sin(2 * kPi * 3 * x / w);
      double grain = std::sin(2 * kPi * (5.0 * y / h + drift));
      double fine = Noise(x, y, 1) - 0.5;
      double g = 0.5 + 0.5 * grain * grain * grain;
      img.SetRGB(x, y, Channel(234 - 9 * g + 5 * fine), Channel(201 - 10 * g + 4 * fine),
                 Channel(134 - 9 * g + 3 * fine));
    }
  }
  return wxBitmap(img);
}

// Deep green cloth with a fine weave.
wxBitmap BackgroundTile(double f) {
  const int s = Scaled(48, f);
  wxImage img(s, s);
  for (int y = 0; y < s; ++y) {
    for (int x = 0; x < s; ++x) {
      double weave = ((static_cast<int>(x / f) + static_cast<int>(y / f)) % 4 < 2 ? 1.0 : -1.0) * 3;
      double fine = (Noise(x, y, 2) - 0.5) * 8;
      img.SetRGB(x, y, Channel(38 + weave + fine), Channel(72 + weave + fine),
                 Channel(54 + weave + fine));
    }
  }
  return wxBitmap(img);
}

// Cream paper for the text panels.
wxBitmap PanelTile(double f) {
  const int s = Scaled(64, f);
  wxImage img(s, s);
  for (int y = 0; y < s; ++y) {
    for (int x = 0; x < s; ++x) {
      double fine = (Noise(x, y, 3) - 0.5) * 6;
      img.SetRGB(x, y, Channel(251 + fine), Channel(246 + fine), Channel(232 + fine));
    }
  }
  return wxBitmap(img);
}

// Draws into a transparent image of w x h layout pixels at scale f and returns it with alpha;
// `paint` draws in layout pixels.
template <typename Paint>
wxImage PaintImage(int w, int h, Paint paint, double f = 1) {
  wxImage img = ClearImage(Scaled(w, f), Scaled(h, f));
  {
    std::unique_ptr<wxGraphicsContext> gc(wxGraphicsContext::Create(img));
    gc->SetAntialiasMode(wxANTIALIAS_DEFAULT);
    gc->Scale(f, f);
    paint(*gc);
  }
  return img;
}

wxBitmap StarPoint(double f) {
  return wxBitmap(PaintImage(
      kStarSize, kStarSize,
      [](wxGraphicsContext& gc) {
        gc.SetBrush(wxBrush(wxColour(20, 14, 8)));
        gc.SetPen(*wxTRANSPARENT_PEN);
        gc.DrawEllipse(0.5, 0.5, kStarSize - 1.0, kStarSize - 1.0);
      },
      f));
}

wxBitmap Mark(bool filled, double f) {
  return wxBitmap(PaintImage(kMarkSize, kMarkSize, [filled](wxGraphicsContext& gc) {
    wxGraphicsPath path = gc.CreatePath();
    path.MoveToPoint(8, 2.5);
    path.AddLineToPoint(14, 13.5);
    path.AddLineToPoint(2, 13.5);
    path.CloseSubpath();
    gc.SetPen(wxPen(wxColour(20, 20, 20), 1));
    gc.SetBrush(filled ? wxBrush(wxColour(20, 20, 20)) : wxBrush(wxColour(255, 255, 255)));
    gc.DrawPath(path);
  }, f));
}

// What a piece type shows: one character, red when promoted.
const char* PieceLetter(int type) {
  static const char* const kLetters[16] = {"",   "歩", "香", "桂", "銀", "金", "角", "飛",
                                           "玉", "と", "杏", "圭", "全", "",   "馬", "龍"};
  return type >= 0 && type < 16 ? kLetters[type] : "";
}

// A piece: the five-sided shape of wood with its letter, upright (the first player's view).
// The size shrinks a little from the king down to the pawn, as real pieces do. Everything
// stays inside rows 3..38, between the grid lines of a square.
wxImage PieceImage(int type, bool second_player, const wxString& face, double f) {
  const int base = BaseType(type);
  const double scale = base == kKing || base == kRook || base == kBishop ? 1.0
                       : base == kGold || base == kSilver                ? 0.95
                       : base == kKnight || base == kLance               ? 0.91
                                                                         : 0.87;
  const bool promoted = type > kKing;
  wxString letter = wxString::FromUTF8(PieceLetter(type));
  // The second player's king is 王, the first player's 玉, as sets are usually cut.
  if (type == kKing && second_player) letter = wxString::FromUTF8("王");
  wxImage img = PaintImage(kPieceWidth, kPieceHeight, [&](wxGraphicsContext& gc) {
    const double cx = 16, bottom = 37.5;
    auto px = [&](double x) { return cx + (x - cx) * scale; };
    auto py = [&](double y) { return bottom - (bottom - y) * scale; };
    wxGraphicsPath path = gc.CreatePath();
    path.MoveToPoint(px(16), py(3.5));
    path.AddLineToPoint(px(26.5), py(9.5));
    path.AddLineToPoint(px(29.5), py(37.5));
    path.AddLineToPoint(px(2.5), py(37.5));
    path.AddLineToPoint(px(5.5), py(9.5));
    path.CloseSubpath();
    gc.SetBrush(gc.CreateLinearGradientBrush(0, py(3), 0, py(38), wxColour(250, 228, 170),
                                             wxColour(222, 178, 104)));
    gc.SetPen(wxPen(wxColour(110, 72, 30), 1));
    gc.DrawPath(path);
    const int size = static_cast<int>(std::lround(19 * scale));
    wxFont font(wxFontInfo(wxSize(0, size)).FaceName(face));
    gc.SetFont(font, promoted ? wxColour(196, 24, 24) : wxColour(24, 16, 8));
    double tw = 0, th = 0, descent = 0, lead = 0;
    gc.GetTextExtent(letter, &tw, &th, &descent, &lead);
    gc.DrawText(letter, cx - tw / 2, py(23.5) - th / 2);
  }, f);
  if (second_player) img = img.Rotate180();
  // Turning round moves the shape two rows up (39 - y); shift it back between the lines.
  if (second_player) {
    wxImage shifted = ClearImage(img.GetWidth(), img.GetHeight());
    shifted.Paste(img, 0, Scaled(2, f));
    img = shifted;
  }
  return img;
}

// The promotion choice's box: paper, a frame and a line between the two choices.
wxBitmap PromotionBox(double f) {
  const int w = Scaled(kPromotionRect.Width, f), h = Scaled(kPromotionRect.Height, f);
  wxImage img(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      double fine = (Noise(x, y, 4) - 0.5) * 5;
      img.SetRGB(x, y, Channel(250 + fine), Channel(244 + fine), Channel(226 + fine));
    }
  }
  wxBitmap bmp(img);
  wxMemoryDC dc(bmp);
  dc.SetPen(wxPen(wxColour(90, 60, 28), Scaled(2, f)));
  dc.SetBrush(*wxTRANSPARENT_BRUSH);
  dc.DrawRectangle(Scaled(1, f), Scaled(1, f), w - Scaled(1, f), h - Scaled(1, f));
  const int middle = Scaled(kPromotionMiddle - kPromotionRect.X, f);
  dc.DrawLine(middle, Scaled(4, f), middle, h - Scaled(4, f));
  dc.SelectObject(wxNullBitmap);
  return bmp;
}

wxString ChooseFace() {
  for (const char* face :
       {"標準明朝", "IPAMincho", "IPA明朝", "IPAexMincho", "Noto Serif CJK JP"}) {
    wxString name = wxString::FromUTF8(face);
    if (wxFontEnumerator::IsValidFacename(name)) return name;
  }
  return wxFont(wxFontInfo(16).Family(wxFONTFAMILY_ROMAN)).GetFaceName();
}

}  // namespace

Artwork::Artwork(int scale_percent) : scale_(scale_percent) {
  if (!wxImage::FindHandler(wxBITMAP_TYPE_PNG)) wxImage::AddHandler(new wxPNGHandler);
  const double f = scale_percent / 100.0;
  face_ = ChooseFace();
  text_font_ = wxFont(wxFontInfo(wxSize(0, Scaled(kTextHeight, f))).FaceName(face_));
  small_font_ = wxFont(wxFontInfo(wxSize(0, Scaled(kSmallTextHeight, f))).FaceName(face_));
  count_font_ = wxFont(wxFontInfo(wxSize(0, Scaled(kCountTextHeight, f))).FaceName(face_).Bold());
  images_[kImageBackground] = BackgroundTile(f);
  images_[kImageBoardTile] = BoardTile(f);
  images_[kImageStarPoint] = StarPoint(f);
  images_[kImagePanel] = PanelTile(f);
  images_[kImageGoteMark] = Mark(false, f);
  images_[kImageSenteMark] = Mark(true, f);
  images_[kImagePromotionBox] = PromotionBox(f);
  for (int type = kPawn; type <= kDragon; ++type) {
    if (type == 13) continue;
    images_[PieceImageId(type)] = wxBitmap(PieceImage(type, false, face_, f));
    images_[PieceImageId(-type)] = wxBitmap(PieceImage(type, true, face_, f));
  }
}

const wxBitmap& Artwork::Image(int id) const {
  auto it = images_.find(id);
  return it == images_.end() ? empty_ : it->second;
}

wxBitmap Artwork::Tool(ToolIcon icon) const {
  const int w = 16, h = 15;
  wxImage img = PaintImage(w, h, [&](wxGraphicsContext& gc) {
    const wxColour ink(30, 60, 130);
    gc.SetBrush(wxBrush(ink));
    gc.SetPen(*wxTRANSPARENT_PEN);
    // A triangle pointing right (dir 1) or left (-1) with its tip at x.
    auto triangle = [&](double x, int dir) {
      wxGraphicsPath p = gc.CreatePath();
      p.MoveToPoint(x, 7.5);
      p.AddLineToPoint(x - dir * 6, 2);
      p.AddLineToPoint(x - dir * 6, 13);
      p.CloseSubpath();
      gc.FillPath(p);
    };
    auto bar = [&](double x) { gc.DrawRectangle(x, 2, 2, 11); };
    switch (icon) {
      case ToolIcon::kForward:
        triangle(11, 1);
        break;
      case ToolIcon::kContinuousForward:
        triangle(8, 1);
        triangle(14, 1);
        break;
      case ToolIcon::kToLast:
        triangle(11, 1);
        bar(12);
        break;
      case ToolIcon::kBack:
        triangle(5, -1);
        break;
      case ToolIcon::kContinuousBack:
        triangle(8, -1);
        triangle(2, -1);
        break;
      case ToolIcon::kToInitial:
        triangle(5, -1);
        bar(2);
        break;
      case ToolIcon::kStopReplay:
        gc.DrawRectangle(3, 2.5, 10, 10);
        break;
      case ToolIcon::kSpeed: {
        gc.SetPen(wxPen(ink, 1));
        gc.SetBrush(*wxTRANSPARENT_BRUSH);
        gc.DrawEllipse(1.5, 1, 13, 13);
        gc.StrokeLine(8, 7.5, 8, 3);
        gc.StrokeLine(8, 7.5, 11.5, 9.5);
        break;
      }
      case ToolIcon::kPrint:
        // A printer: the sheet standing out of its top, the body below.
        gc.SetPen(wxPen(ink, 1));
        gc.SetBrush(*wxWHITE_BRUSH);
        gc.DrawRectangle(4.5, 1.5, 7, 6);
        gc.SetBrush(wxBrush(ink));
        gc.DrawRectangle(1.5, 7.5, 13, 5);
        break;
      case ToolIcon::kMateAnalysis:
      case ToolIcon::kAbout: {
        const char* text = icon == ToolIcon::kAbout ? "?" : "詰";
        gc.SetFont(wxFont(wxFontInfo(wxSize(0, 14)).FaceName(face_).Bold()), ink);
        double tw, th;
        gc.GetTextExtent(wxString::FromUTF8(text), &tw, &th);
        gc.DrawText(wxString::FromUTF8(text), (w - tw) / 2, (h - th) / 2);
        break;
      }
    }
  });
  return wxBitmap(img);
}

}  // namespace shogi::gui
