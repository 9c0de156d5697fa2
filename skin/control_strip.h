#pragma once

#include <array>
#include <functional>

#include "skin/child_window.h"
#include "skin/skin_set.h"

namespace zcd {

// One transport button: where it sits in the strip and its row in
// "buttonset.bmp", whose columns are normal, lit, pressed, pressed and lit.
struct StripButton {
  int x;
  int width;
  int row_y;
  bool hover = false;
  bool blink = false;
  bool pressed = false;
};

inline constexpr int kStripButtonHeight = 24;
inline constexpr int kStripButtonCount = 6;
// The strip's own timer that blinks Pause while paused.
inline constexpr int kPauseBlinkTimer = 1;
inline constexpr int kPauseBlinkMs = 750;

// The six transport buttons: Eject, Track back, Track forward, Stop, Pause,
// Play. A click sends the button's index as a transport command; the
// player does the rest. Window thread only.
class ControlStrip : public ChildWindow {
 public:
  struct Actions {
    std::function<void(int index)> transport;
    // The strip's popup menu at a screen point.
    std::function<void(Point screen)> menu;
    // The main window comes forward when a button is pressed.
    std::function<void()> raise;
  };

  ControlStrip(const SkinSet& skin, Actions actions);

  const Surface& surface() const override { return surface_; }
  bool OnMouse(const MouseEvent& event) override;
  void OnTimer(int id) override;
  void SetLayout(LayoutMode mode, const Rect& rect) override;
  void Repaint() override;

  // Pause blinks while the player is paused.
  void SetPaused(bool paused);

  // The button under a point of the strip, -1 for none.
  int HitTest(Point at) const;
  const std::array<StripButton, kStripButtonCount>& buttons() const { return buttons_; }

 private:
  void DrawButton(int index);
  void SetHover(int index);
  void Release();

  const SkinSet& skin_;
  Actions actions_;
  LayoutMode mode_ = LayoutMode::kFull;
  Rect place_;
  Surface surface_;
  std::array<StripButton, kStripButtonCount> buttons_;
  int pressed_ = -1;
  int hovered_ = -1;
  bool paused_ = false;
};

}  // namespace zcd
