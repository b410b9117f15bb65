// The black-and-white picture: clipped pixels, Bresenham lines, scan-line polygon fill.
#include "output/one_bit_picture.h"

#include <algorithm>
#include <cstdlib>

namespace shogi {

OneBitPicture::OneBitPicture(int width, int height)
    : width_(width), height_(height), black_(static_cast<std::size_t>(width * height), 0) {}

bool OneBitPicture::IsBlack(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return false;
  return black_[static_cast<std::size_t>(y * width_ + x)] != 0;
}

void OneBitPicture::SetBlack(int x, int y) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  black_[static_cast<std::size_t>(y * width_ + x)] = 1;
}

void OneBitPicture::Clear() {
  std::fill(black_.begin(), black_.end(), 0);
}

void OneBitPicture::DrawLine(int x1, int y1, int x2, int y2) {
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    SetBlack(x1, y1);
    if (x1 == x2 && y1 == y2) return;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x1 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y1 += sy;
    }
  }
}

void OneBitPicture::DrawPolygon(const std::vector<PicturePoint>& corners) {
  for (std::size_t i = 0; i < corners.size(); ++i) {
    const PicturePoint& a = corners[i];
    const PicturePoint& b = corners[(i + 1) % corners.size()];
    DrawLine(a.X, a.Y, b.X, b.Y);
  }
}

void OneBitPicture::FillPolygon(const std::vector<PicturePoint>& corners) {
  if (corners.size() < 3) return;
  int top = corners[0].Y, bottom = corners[0].Y;
  for (const PicturePoint& p : corners) {
    top = std::min(top, p.Y);
    bottom = std::max(bottom, p.Y);
  }
  std::vector<double> crossings;
  for (int y = top; y <= bottom; ++y) {
    const double cy = y + 0.5;
    crossings.clear();
    for (std::size_t i = 0; i < corners.size(); ++i) {
      const PicturePoint& a = corners[i];
      const PicturePoint& b = corners[(i + 1) % corners.size()];
      if ((a.Y <= cy) == (b.Y <= cy)) continue;
      crossings.push_back(a.X + (cy - a.Y) * (b.X - a.X) / (b.Y - a.Y));
    }
    std::sort(crossings.begin(), crossings.end());
    for (std::size_t i = 0; i + 1 < crossings.size(); i += 2) {
      for (int x = static_cast<int>(crossings[i] + 0.5); x + 0.5 <= crossings[i + 1]; ++x)
        SetBlack(x, y);
    }
  }
  DrawPolygon(corners);
}

}  // namespace shogi
