#include "skin/position_slider.h"

#include <algorithm>

#include "skin/blit.h"

namespace zcd {
namespace {

constexpr int kGrooveWidth = 196;
// A groove click counts only when released this close to the groove.
constexpr int kClickReleaseBelowY = 13;

}  // namespace

PositionSlider::PositionSlider(const SkinSet& skin, const int& track_click, Player player)
    : skin_(skin), track_click_(track_click), player_(std::move(player)) {}

void PositionSlider::SetLayout(LayoutMode /*mode*/, const Rect& rect) {
  place_ = rect;
  surface_ = Surface(rect.w, rect.h);
  drawn_thumb_x_ = -1;
}

void PositionSlider::Draw() {
  const Bitmap& slider = skin_[SkinFile::kSlider];
  CopyPiece(surface_, 0, 0, kSliderGroovePiece, slider);
  drawn_thumb_x_ = static_cast<int>(thumb_x_);
  CopyPiece(surface_, drawn_thumb_x_, 0, kSliderThumbPiece, slider);
  if (host_ != nullptr)
    host_->Invalidate({0, 0, place_.w, place_.h});
}

void PositionSlider::Repaint() {
  Update(player_.playing() ? player_.percent_now() : 0, true);
}

void PositionSlider::Update(int percent, bool forced) {
  if (!forced && dragging_)
    return;
  percent = std::clamp(percent, 0, 100);
  const double thumb_x = percent * kThumbPixelsPerPercent;
  if (!forced) {
    if (static_cast<int>(thumb_x) == drawn_thumb_x_)
      return;
    // The drive may still report where it was before the seek.
    const bool back = static_cast<int>(thumb_x) < drawn_thumb_x_;
    const bool pending = seek_pending_;
    seek_pending_ = false;
    if (pending && back)
      return;
  }
  percent_ = percent;
  thumb_x_ = thumb_x;
  Draw();
}

bool PositionSlider::OnMouse(const MouseEvent& event) {
  const int x = event.at.x;
  const int y = event.at.y;
  if (event.button != MouseButton::kLeft && event.action != MouseAction::kMove)
    return false;
  switch (event.action) {
    case MouseAction::kPress:
    case MouseAction::kDoubleClick:
      if (player_.raise)
        player_.raise();
      if (!player_.playing())
        return true;
      if (x >= thumb_x_ && x <= thumb_x_ + kSliderThumbPiece.w && y >= 1 && y <= 11) {
        dragging_ = true;
        last_mouse_x_ = x;
      } else if (track_click_ != 0) {
        groove_click_ = true;
      }
      return true;
    case MouseAction::kMove: {
      if (!dragging_)
        return false;
      const int clamped = std::clamp(x, 0, kGrooveWidth);
      thumb_x_ =
          std::clamp(thumb_x_ + (clamped - last_mouse_x_), 0.0, 100 * kThumbPixelsPerPercent);
      last_mouse_x_ = clamped;
      percent_ = std::clamp(static_cast<int>(thumb_x_ * kPercentPerThumbPixel), 0, 100);
      Draw();
      player_.show_drag_time(percent_);
      return true;
    }
    case MouseAction::kRelease: {
      if (groove_click_) {
        groove_click_ = false;
        if (y >= kClickReleaseBelowY)
          return true;
        percent_ = std::clamp(x * 100 / kGrooveWidth, 0, 100);
        thumb_x_ = percent_ * kThumbPixelsPerPercent;
        Draw();
      } else if (!dragging_) {
        return true;
      }
      dragging_ = false;
      seek_pending_ = true;
      player_.seek(percent_);
      return true;
    }
    case MouseAction::kLeave:
      return false;
  }
  return false;
}

}  // namespace zcd
