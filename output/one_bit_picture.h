// A black-and-white picture in memory, drawn without any window: pixels, lines and filled or
// outlined polygons, with everything outside the picture clipped.
#pragma once

#include <cstdint>
#include <vector>

namespace shogi {

struct PicturePoint {
  int X = 0;
  int Y = 0;
};

class OneBitPicture {
 public:
  OneBitPicture(int width, int height);

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Outside the picture: white.
  bool IsBlack(int x, int y) const;
  void SetBlack(int x, int y);
  // Every pixel white.
  void Clear();

  // A line of one pixel between both ends, both included.
  void DrawLine(int x1, int y1, int x2, int y2);
  // The polygon's edges.
  void DrawPolygon(const std::vector<PicturePoint>& corners);
  // The polygon's inside and edges (even-odd rule, pixel centres).
  void FillPolygon(const std::vector<PicturePoint>& corners);

  friend bool operator==(const OneBitPicture&, const OneBitPicture&) = default;

 private:
  int width_;
  int height_;
  std::vector<std::uint8_t> black_;  // one byte a pixel, 1 black
};

}  // namespace shogi
