#pragma once

#include "base/bitmap.h"
#include "base/window_host.h"
#include "skin/blit.h"

namespace zcd {

// A child window that shows the main window's background under it until its
// own skinned drawing exists, so it blends in instead of showing a hole.
class BlankWindow : public WindowClient {
 public:
  explicit BlankWindow(const Rect& rect) : surface_(rect.w, rect.h) {}
  const Surface& surface() const override { return surface_; }
  void Resize(int width, int height) { surface_ = Surface(width, height); }
  // Shows `piece` of the parent's background picture.
  void ShowBackground(const Bitmap& background, const Rect& piece) {
    CopyPiece(surface_, 0, 0, piece, background);
  }

 private:
  Surface surface_;
};

}  // namespace zcd
