#include "mixer/volume_bar.h"

#include <algorithm>

#include "base/geometry.h"
#include "mixer/mixer_pieces.h"
#include "skin/blit.h"

namespace zcd {

int VolumeThumbX(int64_t value, int64_t span) {
  return static_cast<int>(value * kVolumeThumbTravel / span) + kVolumeDragFirstX;
}

int64_t VolumeAtX(int x, int64_t span) {
  const int64_t steps = std::clamp(x, kVolumeDragFirstX, kVolumeDragLastX) - kVolumeDragFirstX;
  // The last two columns would reach past the maximum: 28 steps of 27.
  return std::min(span * steps / kVolumeThumbTravel, span);
}

VolumeBar::VolumeBar(const SkinSet& skin, Mixer& mixer, std::function<void(bool)> show_panel,
                     std::function<void()> raise)
    : skin_(skin), mixer_(mixer), show_panel_(std::move(show_panel)), raise_(std::move(raise)) {
  const MixerDevice& device = mixer_.device();
  available_ = device.Available(MixerControl::kCdVolume);
  if (available_)
    bounds_ = device.Bounds(MixerControl::kCdVolume);
  Read();
  listen_key_ = mixer_.Listen([this](MixerControl control) { OnChange(control); });
}

VolumeBar::~VolumeBar() {
  mixer_.Unlisten(listen_key_);
}

void VolumeBar::Read() {
  if (!has_thumb())
    return;
  if (const std::optional<int64_t> read = mixer_.device().Read(MixerControl::kCdVolume))
    value_ = *read - bounds_.minimum;
}

void VolumeBar::OnChange(MixerControl control) {
  if (control != MixerControl::kCdVolume)
    return;
  Read();
  DrawBar();
}

void VolumeBar::SetLayout(LayoutMode, const Rect& rect) {
  surface_ = Surface(rect.w, rect.h);
  Repaint();
}

void VolumeBar::Repaint() {
  DrawBar();
  DrawTop();
}

bool VolumeBar::OnMouse(const MouseEvent& event) {
  if (event.button != MouseButton::kLeft)
    return false;
  const Point at = event.at;
  switch (event.action) {
    case MouseAction::kPress:
    case MouseAction::kDoubleClick:
      if (raise_)
        raise_();
      if (at.y >= kVolumeToggleFirstRow && at.y <= kVolumeToggleLastRow) {
        panel_shown_ = !panel_shown_;
        DrawTop();
        DrawBar();
        if (show_panel_)
          show_panel_(panel_shown_);
        return true;
      }
      if (has_thumb() && at.y >= kVolumeThumbY && at.x >= 0 &&
          at.x <= VolumeThumbX(value_, bounds_.Span()) + kVolumeThumbPiece.w) {
        dragging_ = true;
        mixer_.SetBalancedCdVolume(VolumeAtX(at.x, bounds_.Span()));
        return true;
      }
      return false;
    case MouseAction::kMove:
      if (!dragging_)
        return false;
      mixer_.SetBalancedCdVolume(VolumeAtX(at.x, bounds_.Span()));
      return true;
    case MouseAction::kRelease:
      if (!dragging_)
        return false;
      dragging_ = false;
      return true;
    case MouseAction::kLeave:
      return false;
  }
  return false;
}

void VolumeBar::DrawTop() {
  {
    std::lock_guard drawing(surface_.lock());
    CopyPiece(surface_, kVolumeTopAt.x, kVolumeTopAt.y,
              panel_shown_ ? kVolumeTopShownPiece : kVolumeTopHiddenPiece,
              skin_[SkinFile::kMixerset]);
  }
  if (host_ != nullptr)
    host_->Invalidate(kVolumeTopAt);
}

void VolumeBar::DrawBar() {
  const Bitmap& mixerset = skin_[SkinFile::kMixerset];
  {
    std::lock_guard drawing(surface_.lock());
    CopyPiece(surface_, kVolumeBarAt.x, kVolumeBarAt.y,
              panel_shown_ ? kVolumeBarShownPiece : kVolumeBarHiddenPiece, mixerset);
    if (has_thumb()) {
      SpritePiece(surface_, VolumeThumbX(value_, bounds_.Span()), kVolumeThumbY, kVolumeThumbPiece,
                  kVolumeThumbMaskAt.x, kVolumeThumbMaskAt.y, mixerset);
    }
  }
  if (host_ != nullptr)
    host_->Invalidate(kVolumeBarAt);
}

}  // namespace zcd
