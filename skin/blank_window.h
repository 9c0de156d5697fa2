#pragma once

#include "skin/blit.h"
#include "skin/child_window.h"
#include "skin/skin_set.h"

namespace zcd {

// A child window that shows the main window's background under it, so a
// place without skinned drawing blends in instead of showing a hole.
class BlankWindow : public ChildWindow {
 public:
  explicit BlankWindow(const SkinSet& skin) : skin_(skin) {}
  const Surface& surface() const override { return surface_; }
  void SetLayout(LayoutMode mode, const Rect& rect) override {
    mode_ = mode;
    place_ = rect;
    surface_ = Surface(rect.w, rect.h);
  }
  void Repaint() override {
    const Bitmap& background =
        skin_[mode_ == LayoutMode::kFull ? SkinFile::kBody : SkinFile::kWinshade];
    CopyPiece(surface_, 0, 0, place_, background);
    if (host_ != nullptr)
      host_->Invalidate({0, 0, place_.w, place_.h});
  }

 private:
  const SkinSet& skin_;
  LayoutMode mode_ = LayoutMode::kFull;
  Rect place_;
  Surface surface_;
};

}  // namespace zcd
