#pragma once

#include <cstdint>

#include "base/bitmap.h"
#include "base/rect.h"
#include "base/surface.h"

namespace zcd {

// How a stretched source pixel meets the target pixel under it. The alpha byte
// takes no part: every written pixel stays opaque.
enum class RasterOp {
  kCopy,  // the source pixel replaces the target pixel
  kOr,    // black source pixels leave the target unchanged
  kAnd,   // white source pixels leave the target unchanged
};

// Every primitive clips to the target surface and to the source bitmap: a target
// pixel is written only when it lies inside the target and every source pixel it
// is made from lies inside the bitmap. A piece that reaches past a small skin
// bitmap therefore draws only its overlap, at the place it would have had anyway.
// Empty pieces and empty bitmaps draw nothing. The caller holds target.lock()
// when other threads may draw into the same surface.

// The whole bitmap at its own size with its top-left corner at x,y.
void CopyBitmap(Surface& target, int x, int y, const Bitmap& source);

// The piece of the bitmap copied with its top-left corner at x,y.
void CopyPiece(Surface& target, int x, int y, const Rect& piece, const Bitmap& source);

// The piece ORed onto the target, so black reads as transparent.
void PaintPiece(Surface& target, int x, int y, const Rect& piece, const Bitmap& source);

// The image piece drawn through a mask of the same size taken at mask_x,mask_y of
// the same bitmap: the mask is ANDed first, then the image ORed. A pixel is drawn
// only when both its mask and its image pixel lie inside the bitmap, so a mask
// that is cut off never lets a bare image pixel through.
void SpritePiece(Surface& target, int x, int y, const Rect& image, int mask_x, int mask_y,
                 const Bitmap& source);

// Nearest-neighbour stretch of the piece onto dest. Target pixel dest.x + dx takes
// source column piece.x + floor(dx * piece.w / dest.w), and likewise for rows, so
// whole-number enlargements repeat each pixel exactly and reductions keep the
// first pixel of each group. Clipping the target does not move the sampling grid.
void StretchPiece(Surface& target, const Rect& dest, const Rect& piece, const Bitmap& source,
                  RasterOp op = RasterOp::kCopy);

// The top-left to.w x to.h of `source` copied to to.x,to.y: how a finished
// off-screen picture reaches a window. Clipped to both surfaces.
void CopySurface(Surface& target, const Rect& to, const Surface& source);

// A solid opaque rectangle, clipped to the target.
void FillPiece(Surface& target, const Rect& rect, uint32_t color);

}  // namespace zcd
