#pragma once

#include <functional>
#include <optional>
#include <span>

#include "base/settings.h"
#include "base/track_cell.h"
#include "cd/playback_monitor.h"
#include "cd/player_view.h"
#include "skin/child_window.h"
#include "skin/skin_set.h"
#include "skin/track_box.h"

namespace zcd {

// The track box window: the grid of play-order entries and the editor of
// that order. A click plays an entry, a drag moves it, a Shift-drag copies
// it, a right-click removes it or erases a copy; the grid scrolls by its
// arrows, by dragging past its edges and by following the playing entry.
// Edits go to the play order and then to the playback monitor, which
// counts, redraws and plays again as needed. Window thread only.
class TrackBoxWindow : public ChildWindow {
 public:
  struct Services {
    const SkinSet& skin;
    const Settings& settings;
    PlaybackMonitor& monitor;
    // The main window's display, where a hovered entry shows its title.
    PlayerView& display;
    // Brings the main window to the front; may be empty.
    std::function<void()> bring_forward;
  };

  // Timers of the box's own window. Blink and follow are started by the
  // playback monitor; a scroll moves one step per tick of the scroll timer.
  static constexpr int kBlinkTimer = 1;
  static constexpr int kFollowTimer = 5;
  static constexpr int kHoverTimer = 6;
  static constexpr int kScrollTimer = 7;
  static constexpr int kFollowMs = 500;
  static constexpr int kFollowAfterArrowMs = 10000;
  static constexpr int kHoverMs = 100;
  static constexpr int kScrollMs = 35;
  // How far the cursor may wander from the press before it drags.
  static constexpr int kDragSlop = 2;

  explicit TrackBoxWindow(Services services);

  // ChildWindow
  const Surface& surface() const override { return box_.surface(); }
  void SetLayout(LayoutMode mode, const Rect& rect) override;
  void Repaint() override;
  void OnTimer(int id) override;
  bool OnMouse(const MouseEvent& event) override;

  // The player's requests: shown for a new disc (laid out with the scroll
  // reset) and hidden when it goes; drawn again after the order changed.
  void Show(bool shown);
  void Redraw();
  // Messages 1094 and 1107: a running scroll stops, then the monitor plays.
  bool PlayEntry(int index);
  bool PlayTrack(int track);

  const TrackBox& box() const { return box_; }
  bool dragging() const { return dragging_; }
  int grabbed() const { return grabbed_; }

 private:
  std::span<const TrackCell> Cells() const;
  int CurrentIndex() const;
  void Relayout(bool reset_scroll);
  void Invalidate();
  void Scroll(ScrollRequest request);
  void StopScrolling();
  void CancelDrag();

  void LeftPress(Point at, bool shift);
  void LeftRelease(Point at);
  void RightPress(Point at);
  void Move(Point at);
  void StartDrag();
  void Drop(int from, std::optional<int> target);
  void ReleaseHeld();

  void HoverOver(int index);
  // Clears every hover flag; when one was set the display goes back to the
  // playing track, or to the order's total and no title.
  void ClearHovers(bool restore_timer);
  void Blink();
  void Follow();
  void WatchHover();

  Services s_;
  TrackBox box_;
  LayoutMode mode_ = LayoutMode::kFull;
  bool left_down_ = false;
  int grabbed_ = -1;
  bool shift_at_press_ = false;
  Point press_at_;
  bool dragging_ = false;
};

}  // namespace zcd
