#pragma once

#include <functional>

#include "skin/child_window.h"
#include "skin/skin_set.h"

namespace zcd {

inline constexpr Rect kSliderGroovePiece{0, 0, 196, 10};
inline constexpr Rect kSliderThumbPiece{197, 0, 30, 10};
// The thumb's left edge per percent: 100 % puts it at the groove's end.
inline constexpr double kThumbPixelsPerPercent = 1.66;
inline constexpr double kPercentPerThumbPixel = 0.60240966;

// The position slider under the text lines. It shows where playback is and
// lets the user drag the thumb or click the groove; the player seeks.
// Window thread only.
class PositionSlider : public ChildWindow {
 public:
  struct Player {
    // Whether a press may seek: something plays.
    std::function<bool()> playing;
    // The position to show when the slider is drawn afresh.
    std::function<int()> percent_now;
    // The timer shows where a dragged thumb would seek to.
    std::function<void(int percent)> show_drag_time;
    std::function<void(int percent)> seek;
    // The main window comes forward when the slider is pressed.
    std::function<void()> raise;
  };

  PositionSlider(const SkinSet& skin, const int& track_click, Player player);

  const Surface& surface() const override { return surface_; }
  bool OnMouse(const MouseEvent& event) override;
  void SetLayout(LayoutMode mode, const Rect& rect) override;
  void Repaint() override;

  // A forced update always draws; an unforced one (the playback tick) draws
  // only when the thumb moves, never while dragging, and not at all the
  // first time it would move the thumb back after the user positioned it.
  void Update(int percent, bool forced);

  bool dragging() const { return dragging_; }
  int percent() const { return percent_; }
  int thumb_x() const { return static_cast<int>(thumb_x_); }

 private:
  void Draw();

  const SkinSet& skin_;
  // TrackClick: a click on the groove positions the slider.
  const int& track_click_;
  Player player_;
  Rect place_;
  Surface surface_;
  bool dragging_ = false;
  bool groove_click_ = false;
  bool seek_pending_ = false;
  int last_mouse_x_ = 0;
  double thumb_x_ = 0;
  int drawn_thumb_x_ = -1;
  int percent_ = 0;
};

}  // namespace zcd
