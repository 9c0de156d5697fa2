#include "skin/blit.h"

#include <algorithm>

namespace zcd {
namespace {

constexpr uint32_t kRgbMask = 0x00FFFFFFu;

uint32_t Combine(uint32_t target, uint32_t source, RasterOp op) {
  switch (op) {
    case RasterOp::kCopy:
      return source | kOpaque;
    case RasterOp::kOr:
      return target | (source & kRgbMask) | kOpaque;
    case RasterOp::kAnd:
      return (target & (source | kOpaque)) | kOpaque;
  }
  return target;
}

struct Span {
  int begin = 0;
  int end = 0;
  bool Empty() const { return begin >= end; }
};

// The offsets i in [begin, end) for which both origin + i lies in [0, size) for
// the target and source_origin + i lies in [0, source_size) for the bitmap. Kept
// in 64 bits so that coordinates near the int limits cannot wrap into range.
Span ClipSpan(int origin, int size, int length, int source_origin, int source_size) {
  const int64_t begin = std::max<int64_t>({0, -int64_t{origin}, -int64_t{source_origin}});
  const int64_t end = std::min<int64_t>(
      {int64_t{length}, int64_t{size} - origin, int64_t{source_size} - source_origin});
  if (begin >= end)
    return {};
  return {static_cast<int>(begin), static_cast<int>(end)};
}

// Applies op piece-for-piece (no scaling) inside the clipped overlap.
void BlitPiece(Surface& target, int x, int y, const Rect& piece, const Bitmap& source,
               RasterOp op) {
  if (piece.Empty() || source.Empty())
    return;
  const Span cols = ClipSpan(x, target.width(), piece.w, piece.x, source.width);
  const Span rows = ClipSpan(y, target.height(), piece.h, piece.y, source.height);
  if (cols.Empty() || rows.Empty())
    return;
  for (int j = rows.begin; j < rows.end; ++j) {
    uint32_t* out = target.Row(y + j);
    for (int i = cols.begin; i < cols.end; ++i)
      out[x + i] = Combine(out[x + i], source.At(piece.x + i, piece.y + j), op);
  }
}

Span Intersect(Span a, Span b) {
  const Span s{std::max(a.begin, b.begin), std::min(a.end, b.end)};
  return s.Empty() ? Span{} : s;
}

// Narrows visible (offsets already inside the target) to those whose sample
// origin + floor(i * length / scaled) lies inside [0, source_size). Samples grow
// with i, so the result is one span; the search is bounded by the target size.
Span SampledSpan(Span visible, int origin, int length, int scaled, int source_size) {
  auto sample = [&](int i) { return int64_t{origin} + int64_t{i} * length / scaled; };
  while (visible.begin < visible.end && sample(visible.begin) < 0)
    ++visible.begin;
  while (visible.end > visible.begin && sample(visible.end - 1) >= source_size)
    --visible.end;
  return visible;
}

}  // namespace

void CopyBitmap(Surface& target, int x, int y, const Bitmap& source) {
  BlitPiece(target, x, y, Rect{0, 0, source.width, source.height}, source, RasterOp::kCopy);
}

void CopyPiece(Surface& target, int x, int y, const Rect& piece, const Bitmap& source) {
  BlitPiece(target, x, y, piece, source, RasterOp::kCopy);
}

void PaintPiece(Surface& target, int x, int y, const Rect& piece, const Bitmap& source) {
  BlitPiece(target, x, y, piece, source, RasterOp::kOr);
}

void SpritePiece(Surface& target, int x, int y, const Rect& image, int mask_x, int mask_y,
                 const Bitmap& source) {
  if (image.Empty() || source.Empty())
    return;
  const Span cols = Intersect(ClipSpan(x, target.width(), image.w, image.x, source.width),
                              ClipSpan(x, target.width(), image.w, mask_x, source.width));
  const Span rows = Intersect(ClipSpan(y, target.height(), image.h, image.y, source.height),
                              ClipSpan(y, target.height(), image.h, mask_y, source.height));
  if (cols.Empty() || rows.Empty())
    return;
  for (int j = rows.begin; j < rows.end; ++j) {
    uint32_t* out = target.Row(y + j);
    for (int i = cols.begin; i < cols.end; ++i) {
      const uint32_t masked =
          Combine(out[x + i], source.At(mask_x + i, mask_y + j), RasterOp::kAnd);
      out[x + i] = Combine(masked, source.At(image.x + i, image.y + j), RasterOp::kOr);
    }
  }
}

void StretchPiece(Surface& target, const Rect& dest, const Rect& piece, const Bitmap& source,
                  RasterOp op) {
  if (dest.Empty() || piece.Empty() || source.Empty())
    return;
  const Span cols = SampledSpan(ClipSpan(dest.x, target.width(), dest.w, 0, dest.w), piece.x,
                                piece.w, dest.w, source.width);
  const Span rows = SampledSpan(ClipSpan(dest.y, target.height(), dest.h, 0, dest.h), piece.y,
                                piece.h, dest.h, source.height);
  if (cols.Empty() || rows.Empty())
    return;
  for (int j = rows.begin; j < rows.end; ++j) {
    const int sy = static_cast<int>(piece.y + int64_t{j} * piece.h / dest.h);
    uint32_t* out = target.Row(dest.y + j);
    for (int i = cols.begin; i < cols.end; ++i) {
      const int sx = static_cast<int>(piece.x + int64_t{i} * piece.w / dest.w);
      out[dest.x + i] = Combine(out[dest.x + i], source.At(sx, sy), op);
    }
  }
}

void CopySurface(Surface& target, const Rect& to, const Surface& source) {
  const int w = std::min({to.w, source.width(), target.width() - to.x});
  const int h = std::min({to.h, source.height(), target.height() - to.y});
  for (int y = std::max(0, -to.y); y < h; ++y) {
    for (int x = std::max(0, -to.x); x < w; ++x)
      target.Row(to.y + y)[to.x + x] = source.At(x, y);
  }
}

void FillPiece(Surface& target, const Rect& rect, uint32_t color) {
  target.Fill(rect, color);
}

}  // namespace zcd
