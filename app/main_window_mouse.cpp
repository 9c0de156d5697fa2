#include "app/edge_snap.h"
#include "app/main_window.h"
#include "app/menus.h"
#include "base/command_ids.h"

// The main window's own mouse regions, tried in a fixed order; the child
// windows take their own events.
namespace zcd {
namespace {

constexpr int kTimerTypeDisc = 1;
constexpr int kTimerTypeRemaining = 2;
constexpr int kEditorPage = 1;

bool OnTitleStrip(Point at) {
  return at.y >= kTitleStrip.y && at.y < kTitleStrip.y + kTitleStrip.h;
}

// The TimerType a left press on the timer's indicators selects: in full
// mode elapsed, remaining, track or whole disc by the piece pressed, in the
// bar the timer itself selects track.
std::optional<int> TimerTypeClicked(Point at, bool full, int timer_type) {
  if (!full)
    return kShadeTimerArea.Contains(at.x, at.y) ? std::optional(timer_type & ~kTimerTypeDisc)
                                                : std::nullopt;
  if (kTimerElapsedHit.Contains(at.x, at.y))
    return timer_type & ~kTimerTypeRemaining;
  if (kTimerRemainingHit.Contains(at.x, at.y))
    return timer_type | kTimerTypeRemaining;
  if (kTimerTrackHit.Contains(at.x, at.y))
    return timer_type & ~kTimerTypeDisc;
  if (kTimerDiscHit.Contains(at.x, at.y))
    return timer_type | kTimerTypeDisc;
  return std::nullopt;
}

}  // namespace

bool MainWindow::OnMouse(const MouseEvent& event) {
  switch (event.action) {
    case MouseAction::kPress:
      return event.button == MouseButton::kLeft ? OnLeftPress(event) : OnRightPress(event);
    case MouseAction::kRelease:
      if (event.button == MouseButton::kLeft)
        OnLeftRelease(event.at);
      return true;
    case MouseAction::kMove:
      if (grab_)
        MoveWindow(event.screen);
      return grab_.has_value();
    case MouseAction::kDoubleClick:
      return event.button == MouseButton::kLeft && OnDoubleClick(event.at);
    case MouseAction::kLeave:
      return false;
  }
  return false;
}

bool MainWindow::OnLeftPress(const MouseEvent& event) {
  const Point at = event.at;
  const bool full = layout_ == LayoutMode::kFull;
  if (const std::optional<int> timer_type = TimerTypeClicked(at, full, s_.settings.TimerType)) {
    monitor_.SetTimerType(*timer_type);
    return true;
  }
  // The rest of the timer takes no left press.
  if (full && kTimerArea.Contains(at.x, at.y))
    return true;
  if (full) {
    for (size_t i = 0; i < kPlayModeHit.size(); ++i) {
      if (kPlayModeHit[i].Contains(at.x, at.y)) {
        monitor_.TogglePlayType(1 << i);
        return true;
      }
    }
  }
  if (kCloseHit.Contains(at.x, at.y) || kMinimizeHit.Contains(at.x, at.y)) {
    DrawTitleButtonsPressed({kMinimizeHit.Contains(at.x, at.y), kCloseHit.Contains(at.x, at.y)});
    return true;
  }
  if (kMenuCorner.Contains(at.x, at.y)) {
    ShowMainMenu(ClientToScreen(kMainMenuAt));
    return true;
  }
  if (!OnTitleStrip(at))
    return false;
  // The window follows the cursor from where it was taken hold of.
  const int scale = host_->Scale();
  grab_ = Point{(at.x + kMainBorder) * scale, (at.y + kMainBorder) * scale};
  return true;
}

void MainWindow::OnLeftRelease(Point at) {
  grab_.reset();
  const TitleButtonsPressed pressed = title_buttons_;
  DrawTitleButtonsPressed({});
  if (pressed.close && kCloseHit.Contains(at.x, at.y))
    Destroy();
  else if (pressed.minimize && kMinimizeHit.Contains(at.x, at.y))
    host_->Show(ShowState::kMinimized);
}

void MainWindow::MoveWindow(Point screen) {
  const Rect now = host_->Geometry();
  const int scale = host_->Scale();
  const Rect wanted{screen.x - grab_->x, screen.y - grab_->y, now.w * scale, now.h * scale};
  const Rect snapped = SnapToWorkArea(wanted, host_->WorkArea(), s_.settings.EdgeResist);
  host_->SetGeometry({snapped.x, snapped.y, now.w, now.h});
}

bool MainWindow::OnDoubleClick(Point at) {
  if (OnTitleStrip(at)) {
    commands_.Run(kCmdToggleLayout);
    return true;
  }
  if (layout_ == LayoutMode::kFull && kEditorHotspot.Contains(at.x, at.y)) {
    OpenDialog(Dialog::kDatabase, kEditorPage);
    return true;
  }
  return false;
}

// Right clicks open the menu of the place clicked.
bool MainWindow::OnRightPress(const MouseEvent& event) {
  const bool full = layout_ == LayoutMode::kFull;
  const int x = event.at.x;
  const int y = event.at.y;
  if ((full ? kTimerArea : kShadeTimerArea).Contains(x, y)) {
    ShowMenu(BuildTimerMenu(), event.screen);
  } else if (monitor_.disc_loaded() &&
             (full ? kDisplayArea.Contains(x, y) : OnTitleStrip(event.at))) {
    // Below the bar, not over it.
    const Point below = ClientToScreen({0, kMainShadeHeight});
    ShowQuickTrackMenu(full ? event.screen : Point{event.screen.x, below.y});
  } else if (full && OnTitleStrip(event.at)) {
    ShowMainMenu(event.screen);
  } else {
    return false;
  }
  return true;
}

}  // namespace zcd
