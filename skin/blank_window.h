#pragma once

#include "platform/window_host.h"

namespace zcd {

// A child window that shows plain black until its skinned drawing exists.
class BlankWindow : public WindowClient {
 public:
  explicit BlankWindow(const Rect& rect) : surface_(rect.w, rect.h) {}
  const Surface& surface() const override { return surface_; }
  void Resize(int width, int height) { surface_ = Surface(width, height); }

 private:
  Surface surface_;
};

}  // namespace zcd
