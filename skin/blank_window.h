#pragma once

#include <functional>

#include "base/bitmap.h"
#include "base/window_host.h"
#include "skin/blit.h"

namespace zcd {

// A child window that shows the main window's background under it until its
// own skinned drawing exists, so it blends in instead of showing a hole. Its
// mouse events go to `on_mouse`, when there is one.
class BlankWindow : public WindowClient {
 public:
  explicit BlankWindow(const Rect& rect, std::function<bool(const MouseEvent&)> on_mouse = {})
      : surface_(rect.w, rect.h), on_mouse_(std::move(on_mouse)) {}
  const Surface& surface() const override { return surface_; }
  bool OnMouse(const MouseEvent& event) override { return on_mouse_ && on_mouse_(event); }
  void Resize(int width, int height) { surface_ = Surface(width, height); }
  // Shows `piece` of the parent's background picture.
  void ShowBackground(const Bitmap& background, const Rect& piece) {
    CopyPiece(surface_, 0, 0, piece, background);
  }

 private:
  Surface surface_;
  std::function<bool(const MouseEvent&)> on_mouse_;
};

}  // namespace zcd
