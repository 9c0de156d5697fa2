#pragma once

#include "base/geometry.h"
#include "base/rect.h"

// The pieces of "trackset.bmp" the track box draws from, and the box's grid
// in each layout.
namespace zcd {

// A cell's background, by whether it is lit (hovered or blinking) and held.
struct CellPieces {
  Rect lit;
  Rect lit_held;
  Rect normal;
  Rect held;
};
inline constexpr CellPieces kFullCellPieces{
    {0, 0, 21, 21}, {44, 0, 21, 21}, {22, 0, 21, 21}, {66, 0, 21, 21}};
inline constexpr CellPieces kShadeCellPieces{
    {99, 22, 16, 13}, {116, 22, 16, 13}, {133, 22, 16, 13}, {150, 22, 16, 13}};

// Overlays, painted over the cell and its number; black stays transparent.
// The shade cell gets them shrunk to its size.
inline constexpr Rect kRemovedOverlay{88, 0, 21, 21};
inline constexpr Rect kDataOverlay{110, 0, 21, 21};
inline constexpr Rect kCopyOverlay{132, 0, 21, 21};

struct ArrowPieces {
  Rect normal;
  Rect pressed;
  Rect disabled;
};
inline constexpr ArrowPieces kArrowUpPieces{{0, 22, 32, 10}, {0, 33, 32, 10}, {66, 22, 32, 10}};
inline constexpr ArrowPieces kArrowDownPieces{{33, 22, 32, 10}, {33, 33, 32, 10}, {66, 33, 32, 10}};

// The dragged cell follows the cursor this far up and left of it.
inline constexpr Point kDragCellOffset{-8, -8};
inline constexpr Point kDragNumberOffset{-6, -6};

struct TrackGrid {
  Rect view;  // what the window shows of the grid
  int cell_w;
  int cell_h;
  int gap;
  int columns;
  int visible_rows;
  const CellPieces* pieces;
};

inline constexpr TrackGrid kFullTrackGrid{kTrackViewFull, 21, 21, 3, 3, 5, &kFullCellPieces};
inline constexpr TrackGrid kShadeTrackGrid{
    {0, 0, kShadeTrackAt.w, kShadeTrackAt.h}, 16, 13, 1, 1, 1, &kShadeCellPieces};

constexpr const TrackGrid& TrackGridOf(LayoutMode mode) {
  return mode == LayoutMode::kFull ? kFullTrackGrid : kShadeTrackGrid;
}

}  // namespace zcd
