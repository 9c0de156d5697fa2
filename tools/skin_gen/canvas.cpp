#include "tools/skin_gen/canvas.h"

#include "base/surface.h"

namespace zcd::skin_gen {

uint32_t Mix(uint32_t a, uint32_t b, int b_weight, int total) {
  auto channel = [&](int shift) {
    const int ca = static_cast<int>((a >> shift) & 0xFF);
    const int cb = static_cast<int>((b >> shift) & 0xFF);
    const int mixed = (ca * (total - b_weight) + cb * b_weight + total / 2) / total;
    return static_cast<uint32_t>(mixed) << shift;
  };
  return kOpaque | channel(16) | channel(8) | channel(0);
}

void Canvas::Set(int x, int y, uint32_t color) {
  if (x < 0 || y < 0 || x >= bitmap_.width || y >= bitmap_.height)
    return;
  bitmap_.At(x, y) = color | kOpaque;
}

uint32_t Canvas::Get(int x, int y) const {
  if (x < 0 || y < 0 || x >= bitmap_.width || y >= bitmap_.height)
    return kOpaque;
  return bitmap_.At(x, y);
}

void Canvas::Fill(const Rect& r, uint32_t color) {
  for (int y = r.y; y < r.y + r.h; ++y)
    for (int x = r.x; x < r.x + r.w; ++x)
      Set(x, y, color);
}

void Canvas::VerticalGradient(const Rect& r, uint32_t top, uint32_t bottom) {
  const int steps = r.h > 1 ? r.h - 1 : 1;
  for (int i = 0; i < r.h; ++i)
    HLine(r.x, r.y + i, r.w, Mix(top, bottom, i, steps));
}

void Canvas::HorizontalGradient(const Rect& r, uint32_t left, uint32_t right) {
  const int steps = r.w > 1 ? r.w - 1 : 1;
  for (int i = 0; i < r.w; ++i)
    VLine(r.x + i, r.y, r.h, Mix(left, right, i, steps));
}

void Canvas::HLine(int x, int y, int w, uint32_t color) {
  for (int i = 0; i < w; ++i)
    Set(x + i, y, color);
}

void Canvas::VLine(int x, int y, int h, uint32_t color) {
  for (int i = 0; i < h; ++i)
    Set(x, y + i, color);
}

void Canvas::Bevel(const Rect& r, uint32_t light, uint32_t dark) {
  HLine(r.x, r.y, r.w, light);
  VLine(r.x, r.y, r.h, light);
  HLine(r.x, r.y + r.h - 1, r.w, dark);
  VLine(r.x + r.w - 1, r.y, r.h, dark);
}

void Canvas::Frame(const Rect& r, uint32_t color) {
  Bevel(r, color, color);
}

void Canvas::RoundedFill(const Rect& r, int radius, uint32_t color) {
  for (int i = 0; i < r.h; ++i) {
    int inset = 0;
    if (i < radius)
      inset = radius - i;
    else if (i >= r.h - radius)
      inset = i - (r.h - radius) + 1;
    HLine(r.x + inset, r.y + i, r.w - 2 * inset, color);
  }
}

void Canvas::RoundedFrame(const Rect& r, int radius, uint32_t color) {
  HLine(r.x + radius, r.y, r.w - 2 * radius, color);
  HLine(r.x + radius, r.y + r.h - 1, r.w - 2 * radius, color);
  VLine(r.x, r.y + radius, r.h - 2 * radius, color);
  VLine(r.x + r.w - 1, r.y + radius, r.h - 2 * radius, color);
  for (int i = 1; i < radius; ++i) {
    Set(r.x + i, r.y + radius - i, color);
    Set(r.x + r.w - 1 - i, r.y + radius - i, color);
    Set(r.x + i, r.y + r.h - 1 - radius + i, color);
    Set(r.x + r.w - 1 - i, r.y + r.h - 1 - radius + i, color);
  }
}

void Canvas::Blit(int x, int y, const Bitmap& source, const Rect& piece) {
  for (int j = 0; j < piece.h; ++j)
    for (int i = 0; i < piece.w; ++i) {
      const int sx = piece.x + i;
      const int sy = piece.y + j;
      if (sx >= 0 && sy >= 0 && sx < source.width && sy < source.height)
        Set(x + i, y + j, source.At(sx, sy));
    }
}

void Canvas::Art(int x, int y, std::initializer_list<std::string_view> rows, uint32_t color) {
  int j = 0;
  for (std::string_view row : rows) {
    for (size_t i = 0; i < row.size(); ++i)
      if (row[i] != '.' && row[i] != ' ')
        Set(x + static_cast<int>(i), y + j, color);
    ++j;
  }
}

void Canvas::ArtRows(int x, int y, std::string_view rows, uint32_t color) {
  int i = 0;
  int j = 0;
  for (char c : rows) {
    if (c == ' ') {
      ++j;
      i = 0;
      continue;
    }
    if (c != '.')
      Set(x + i, y + j, color);
    ++i;
  }
}

int ArtWidth(std::string_view rows) {
  int widest = 0;
  int current = 0;
  for (char c : rows) {
    current = c == ' ' ? 0 : current + 1;
    if (current > widest)
      widest = current;
  }
  return widest;
}

int ArtHeight(std::string_view rows) {
  if (rows.empty())
    return 0;
  int count = 1;
  for (char c : rows)
    if (c == ' ')
      ++count;
  return count;
}

}  // namespace zcd::skin_gen
