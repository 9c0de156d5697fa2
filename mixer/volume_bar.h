#pragma once

#include <cstdint>
#include <functional>

#include "mixer/mixer.h"
#include "skin/child_window.h"
#include "skin/skin_set.h"

namespace zcd {

// The thumb's left edge for a CD volume `value` above the minimum.
int VolumeThumbX(int64_t value, int64_t span);
// The CD volume a drag at x asks for, above the minimum; never past the
// maximum.
int64_t VolumeAtX(int x, int64_t span);

// The small bar under the display: a button on top that shows and hides
// the mixer panel, and a thumb that sets the CD volume. Window thread only.
class VolumeBar : public ChildWindow {
 public:
  // `show_panel` is told whether the panel is to be shown now; `raise`
  // brings the player forward on a press and may be empty. `skin` and
  // `mixer` must outlive the bar.
  VolumeBar(const SkinSet& skin, Mixer& mixer, std::function<void(bool)> show_panel,
            std::function<void()> raise = {});
  ~VolumeBar() override;
  VolumeBar(const VolumeBar&) = delete;
  VolumeBar& operator=(const VolumeBar&) = delete;

  const Surface& surface() const override { return surface_; }
  bool OnMouse(const MouseEvent& event) override;
  void SetLayout(LayoutMode mode, const Rect& rect) override;
  void Repaint() override;

  bool panel_shown() const { return panel_shown_; }
  int64_t value() const { return value_; }
  // Whether the thumb shows: a CD volume with a range to move in.
  bool has_thumb() const { return available_ && bounds_.Span() != 0; }

 private:
  void Read();
  void OnChange(MixerControl control);
  void DrawTop();
  void DrawBar();

  const SkinSet& skin_;
  Mixer& mixer_;
  std::function<void(bool)> show_panel_;
  std::function<void()> raise_;
  bool available_ = false;
  MixerBounds bounds_;
  int64_t value_ = 0;
  bool panel_shown_ = false;
  bool dragging_ = false;
  int listen_key_ = 0;
  Surface surface_;
};

}  // namespace zcd
