#include "app/track_box_window.h"

#include <algorithm>
#include <cstdlib>

#include "cd/play_order_edit.h"
#include "cd/play_time.h"

namespace zcd {

TrackBoxWindow::TrackBoxWindow(Services services)
    : s_(std::move(services)), box_(s_.skin, s_.settings) {}

std::span<const TrackCell> TrackBoxWindow::Cells() const {
  const PlayOrderList* order = s_.monitor.play_order();
  if (order == nullptr)
    return {};
  return order->cells();
}

int TrackBoxWindow::CurrentIndex() const {
  return s_.monitor.current_entry().value_or(0);
}

void TrackBoxWindow::Invalidate() {
  if (host_ == nullptr)
    return;
  const Surface& picture = box_.surface();
  host_->Invalidate({0, 0, picture.width(), picture.height()});
}

// Layout ends any scroll at once: the timer goes with it, so no step can
// land on pictures of the old size.
void TrackBoxWindow::Relayout(bool reset_scroll) {
  StopScrolling();
  box_.Layout(mode_, Cells(), CurrentIndex(), reset_scroll);
  Invalidate();
}

void TrackBoxWindow::SetLayout(LayoutMode mode, const Rect& /*rect*/) {
  mode_ = mode;
  CancelDrag();
  Relayout(true);
}

void TrackBoxWindow::Repaint() {
  Redraw();
}

void TrackBoxWindow::Show(bool shown) {
  CancelDrag();
  if (host_ != nullptr) {
    host_->KillTimer(kHoverTimer);
    host_->Show(shown ? ShowState::kNormal : ShowState::kHidden);
  }
  // A hidden box keeps nothing of an order that is about to go.
  StopScrolling();
  box_.Layout(mode_, shown ? Cells() : std::span<const TrackCell>(), CurrentIndex(), true);
  Invalidate();
}

void TrackBoxWindow::Redraw() {
  const std::span<const TrackCell> cells = Cells();
  if (grabbed_ >= static_cast<int>(cells.size()))
    CancelDrag();
  // Playback may have stopped together with the blink timer, which would
  // leave the last entry lit for good.
  PlayOrderList* order = s_.monitor.play_order();
  if (order != nullptr && !s_.monitor.playing()) {
    for (int i = 0; i < order->EntryCount(); ++i)
      order->SetBlink(i, false);
  }
  if (static_cast<int>(cells.size()) != box_.count() || box_.surface().width() == 0) {
    Relayout(false);
    return;
  }
  box_.RedrawAll(cells);
  Invalidate();
}

void TrackBoxWindow::Scroll(ScrollRequest request) {
  const bool was_running = box_.scrolling();
  box_.RequestScroll(request);
  if (box_.scrolling() && !was_running && host_ != nullptr)
    host_->SetTimer(kScrollTimer, kScrollMs);
  Invalidate();
}

void TrackBoxWindow::StopScrolling() {
  box_.StopScroll();
  if (host_ != nullptr)
    host_->KillTimer(kScrollTimer);
}

// Whatever was held or grabbed is let go; the entries may be gone.
void TrackBoxWindow::CancelDrag() {
  dragging_ = false;
  grabbed_ = -1;
  left_down_ = false;
  box_.ClearDragImage();
  box_.set_continuous(false);
  if (PlayOrderList* order = s_.monitor.play_order()) {
    for (int i = 0; i < order->EntryCount(); ++i)
      order->SetHeld(i, false);
  }
}

bool TrackBoxWindow::PlayEntry(int index) {
  const PlayOrderList* order = s_.monitor.play_order();
  if (!s_.monitor.disc_loaded() || order == nullptr || index < 0 || index >= order->EntryCount())
    return false;
  StopScrolling();
  return s_.monitor.PlayEntry(index);
}

bool TrackBoxWindow::PlayTrack(int track) {
  const PlayOrderList* order = s_.monitor.play_order();
  if (!s_.monitor.disc_loaded() || order == nullptr || !order->FindTrack(track))
    return false;
  StopScrolling();
  return s_.monitor.PlayTrack(track);
}

bool TrackBoxWindow::OnMouse(const MouseEvent& event) {
  // A second click of a double-click is a press like the first.
  const bool press =
      event.action == MouseAction::kPress || event.action == MouseAction::kDoubleClick;
  if (press && event.button == MouseButton::kLeft)
    LeftPress(event.at, event.shift);
  else if (press)
    RightPress(event.at);
  else if (event.action == MouseAction::kRelease && event.button == MouseButton::kLeft)
    LeftRelease(event.at);
  else if (event.action == MouseAction::kMove)
    Move(event.at);
  Invalidate();
  return true;
}

void TrackBoxWindow::LeftPress(Point at, bool shift) {
  if (s_.bring_forward)
    s_.bring_forward();
  left_down_ = true;
  dragging_ = false;
  grabbed_ = -1;
  PlayOrderList* order = s_.monitor.play_order();
  if (order == nullptr)
    return;
  if (const std::optional<int> cell = box_.CellAt(at)) {
    if (EntryPressable(*order, *cell)) {
      order->SetHeld(*cell, true);
      box_.DrawCell(order->cells()[*cell], true);
    }
    grabbed_ = *cell;
    shift_at_press_ = shift;
    press_at_ = at;
    return;
  }
  const TrackArrow arrow = box_.ArrowAt(at);
  if (arrow == TrackArrow::kNone)
    return;
  box_.SetPressedArrow(arrow);
  Scroll(arrow == TrackArrow::kUp ? ScrollRequest::Up() : ScrollRequest::Down());
  // The user looks elsewhere for a while before the box follows again.
  if (s_.monitor.playing() && host_ != nullptr)
    host_->SetTimer(kFollowTimer, kFollowAfterArrowMs);
}

void TrackBoxWindow::LeftRelease(Point at) {
  const std::optional<int> cell = box_.CellAt(at);
  const bool was_dragging = dragging_;
  const int grabbed = grabbed_;
  const PlayOrderList* order = s_.monitor.play_order();
  const bool click = !was_dragging && cell && *cell == grabbed && order != nullptr &&
                     grabbed < order->EntryCount() && order->cells()[grabbed].held;
  left_down_ = false;
  box_.set_continuous(false);
  box_.SetPressedArrow(TrackArrow::kNone);
  ReleaseHeld();
  if (was_dragging)
    Drop(grabbed, cell);
  else if (!click || !PlayEntry(grabbed))
    Redraw();
}

void TrackBoxWindow::ReleaseHeld() {
  dragging_ = false;
  grabbed_ = -1;
  box_.ClearDragImage();
  if (PlayOrderList* order = s_.monitor.play_order()) {
    for (int i = 0; i < order->EntryCount(); ++i)
      order->SetHeld(i, false);
  }
}

// The dragged entry takes the place it was dropped on, the others shift by
// one. The drive's track decides which entry is current afterwards.
void TrackBoxWindow::Drop(int from, std::optional<int> target) {
  PlayOrderList* order = s_.monitor.play_order();
  CdState* cd = s_.monitor.cd();
  if (order == nullptr || cd == nullptr)
    return;
  if (target && from >= 0 && from < order->EntryCount())
    order->MoveEntry(from, *target);
  const int before = cd->current_position;
  order->FollowDeviceTrack();
  if (cd->current_position != before) {
    for (int i = 0; i < order->EntryCount(); ++i)
      order->SetBlink(i, false);
  }
  s_.monitor.OrderEdited();
}

void TrackBoxWindow::RightPress(Point at) {
  // One button at a time: the left one's entry must stay where it is.
  if (left_down_)
    return;
  PlayOrderList* order = s_.monitor.play_order();
  if (order == nullptr)
    return;
  const std::optional<int> cell = box_.CellAt(at);
  if (!cell || order->cells()[*cell].held)
    return;
  if (ToggleOrDeleteEntry(*order, *cell) == SecondaryClick::kRefused)
    return;
  s_.monitor.OrderEdited();
}

void TrackBoxWindow::Move(Point at) {
  PlayOrderList* order = s_.monitor.play_order();
  if (order == nullptr)
    return;
  const std::optional<int> cell = box_.CellAt(at);
  if (cell) {
    const bool left_the_press =
        std::abs(at.x - press_at_.x) > kDragSlop || std::abs(at.y - press_at_.y) > kDragSlop;
    if (left_down_ && mode_ == LayoutMode::kFull && !dragging_ && grabbed_ >= 0 &&
        grabbed_ < order->EntryCount() && left_the_press) {
      StartDrag();
    }
    box_.set_continuous(false);
    if (!order->cells()[*cell].hover)
      HoverOver(*cell);
  } else {
    if (dragging_) {
      if (at.y < 0)
        Scroll(ScrollRequest::Up());
      else if (at.y > box_.grid().view.h)
        Scroll(ScrollRequest::Down());
      else
        box_.set_continuous(false);
    }
    ClearHovers(!dragging_);
  }
  if (dragging_ && grabbed_ >= 0 && grabbed_ < order->EntryCount()) {
    box_.SetDragImage(order->cells()[grabbed_], at);
    box_.Compose();
  }
}

void TrackBoxWindow::StartDrag() {
  PlayOrderList& order = *s_.monitor.play_order();
  dragging_ = true;
  if (shift_at_press_) {
    // A full list refuses the copy; the original is dragged instead.
    const int copy = AppendCopyOf(order, grabbed_);
    if (copy >= 0) {
      order.SetHeld(grabbed_, false);
      order.SetHeld(copy, true);
      grabbed_ = copy;
      Relayout(false);
    }
  }
}

void TrackBoxWindow::HoverOver(int index) {
  PlayOrderList& order = *s_.monitor.play_order();
  for (int i = 0; i < order.EntryCount(); ++i) {
    const bool on = i == index;
    if (order.cells()[i].hover != on) {
      order.SetHover(i, on);
      box_.DrawCell(order.cells()[i], true);
    }
  }
  if (host_ != nullptr)
    host_->SetTimer(kHoverTimer, kHoverMs);
  if (dragging_)
    return;
  const int track = order.cells()[index].track;
  const DiscRecord& disc = order.state().disc();
  const bool playing = s_.monitor.playing();
  if (!playing)
    s_.display.ShowTimer(std::clamp(disc.TrackSeconds(track - 1), 0, kMaxTimerSeconds), false);
  s_.display.ShowTrackLine(disc.TrackTitle(track - 1));
  // The main window puts the playing title back after a while.
  if (playing)
    s_.display.StartTimer(PlayerTimer::kDisplayRestore);
}

void TrackBoxWindow::ClearHovers(bool restore_timer) {
  PlayOrderList* order = s_.monitor.play_order();
  if (order == nullptr)
    return;
  bool any = false;
  for (int i = 0; i < order->EntryCount(); ++i) {
    if (order->cells()[i].hover) {
      order->SetHover(i, false);
      box_.DrawCell(order->cells()[i], true);
      any = true;
    }
  }
  if (!any)
    return;
  if (s_.monitor.playing()) {
    s_.display.ShowTrackLine(s_.monitor.PlayingTrackTitle());
    return;
  }
  if (restore_timer) {
    const int32_t total = order->state().play_order_seconds;
    s_.display.ShowTimer(std::clamp(total, 0, kMaxTimerSeconds), false);
  }
  s_.display.ShowTrackLine(std::nullopt);
}

void TrackBoxWindow::OnTimer(int id) {
  switch (id) {
    case kBlinkTimer:
      Blink();
      break;
    case kFollowTimer:
      Follow();
      break;
    case kHoverTimer:
      WatchHover();
      break;
    case kScrollTimer:
      if (!box_.ScrollStep() && host_ != nullptr)
        host_->KillTimer(kScrollTimer);
      break;
    default:
      return;
  }
  Invalidate();
}

// Only the playing entry blinks; one left lit by an earlier entry goes dark.
void TrackBoxWindow::Blink() {
  PlayOrderList* order = s_.monitor.play_order();
  const bool playing = s_.monitor.playing();
  if (order == nullptr || !playing) {
    if (host_ != nullptr)
      host_->KillTimer(kBlinkTimer);
  }
  if (order == nullptr)
    return;
  const int current = s_.monitor.current_entry().value_or(-1);
  for (int i = 0; i < order->EntryCount(); ++i) {
    const bool blink = order->cells()[i].blink;
    const bool want = i == current && playing && !blink;
    if (blink != want) {
      order->SetBlink(i, want);
      box_.DrawCell(order->cells()[i], true);
    }
  }
}

// Keeps the playing entry in view: below the view it becomes the last
// visible row, above it the top row.
void TrackBoxWindow::Follow() {
  if (!s_.monitor.disc_loaded() || s_.monitor.play_order() == nullptr) {
    if (host_ != nullptr)
      host_->KillTimer(kFollowTimer);
    return;
  }
  if (!s_.monitor.playing() || dragging_)
    return;
  if (host_ != nullptr)
    host_->SetTimer(kFollowTimer, kFollowMs);
  const std::optional<int> current = s_.monitor.current_entry();
  if (!current || box_.scrolling())
    return;
  const TrackGrid& grid = box_.grid();
  const int row = *current / grid.columns + 1;
  const int top = box_.top_row();
  if (row >= top + grid.visible_rows)
    Scroll(ScrollRequest::ToRow(row - grid.visible_rows + 1));
  else if (row < top)
    Scroll(ScrollRequest::ToRow(row));
}

void TrackBoxWindow::WatchHover() {
  const std::optional<Point> cursor = host_ != nullptr ? host_->CursorPosition() : std::nullopt;
  const Surface& picture = box_.surface();
  if (cursor && Rect{0, 0, picture.width(), picture.height()}.Contains(cursor->x, cursor->y))
    return;
  if (host_ != nullptr)
    host_->KillTimer(kHoverTimer);
  ClearHovers(true);
}

}  // namespace zcd
