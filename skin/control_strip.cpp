#include "skin/control_strip.h"

#include "skin/blit.h"

namespace zcd {

ControlStrip::ControlStrip(const SkinSet& skin, Actions actions)
    : skin_(skin),
      actions_(std::move(actions)),
      buttons_{
          {{0, 29, 0}, {30, 25, 25}, {56, 25, 50}, {82, 25, 75}, {108, 25, 100}, {134, 29, 125}}} {}

void ControlStrip::SetLayout(LayoutMode mode, const Rect& rect) {
  mode_ = mode;
  place_ = rect;
  surface_ = Surface(rect.w, rect.h);
}

// Both ends of a button take the press, so the first button in order wins
// the shared column; the bar's half-size buttons are hit at half size.
int ControlStrip::HitTest(Point at) const {
  const bool full = mode_ == LayoutMode::kFull;
  const int height = full ? kStripButtonHeight : kStripButtonHeight / 2;
  if (at.y < 0 || at.y > height)
    return -1;
  for (int i = 0; i < kStripButtonCount; ++i) {
    const StripButton& b = buttons_[i];
    const int left = full ? b.x : b.x / 2;
    const int right = full ? b.x + b.width : (b.x + b.width) / 2;
    if (at.x >= left && at.x <= right)
      return i;
  }
  return -1;
}

void ControlStrip::DrawButton(int index) {
  const StripButton& b = buttons_[index];
  const int column = ((b.hover || b.blink) ? 1 : 0) + (b.pressed ? 2 : 0);
  const Rect piece{column * (b.width + 1), b.row_y, b.width, kStripButtonHeight};
  const Bitmap& buttonset = skin_[SkinFile::kButtonset];
  Rect at;
  if (mode_ == LayoutMode::kFull) {
    at = {b.x, 0, b.width, kStripButtonHeight};
    CopyPiece(surface_, at.x, at.y, piece, buttonset);
  } else {
    at = {b.x / 2, 0, b.width / 2, kStripButtonHeight / 2};
    StretchPiece(surface_, at, piece, buttonset);
  }
  if (host_ != nullptr)
    host_->Invalidate(at);
}

void ControlStrip::Repaint() {
  const Bitmap& background =
      skin_[mode_ == LayoutMode::kFull ? SkinFile::kBody : SkinFile::kWinshade];
  CopyPiece(surface_, 0, 0, place_, background);
  for (int i = 0; i < kStripButtonCount; ++i)
    DrawButton(i);
  if (host_ != nullptr)
    host_->Invalidate({0, 0, place_.w, place_.h});
}

void ControlStrip::SetHover(int index) {
  if (index == hovered_)
    return;
  const int old = hovered_;
  hovered_ = index;
  if (old >= 0) {
    buttons_[old].hover = false;
    DrawButton(old);
  }
  if (index >= 0) {
    buttons_[index].hover = true;
    DrawButton(index);
  }
}

void ControlStrip::Release() {
  if (pressed_ < 0)
    return;
  const int index = pressed_;
  pressed_ = -1;
  buttons_[index].pressed = false;
  DrawButton(index);
}

bool ControlStrip::OnMouse(const MouseEvent& event) {
  const int hit = HitTest(event.at);
  switch (event.action) {
    case MouseAction::kMove:
      // While a button is held, the others do not light up.
      SetHover(pressed_ >= 0 && hit != pressed_ ? -1 : hit);
      return true;
    case MouseAction::kLeave:
      SetHover(-1);
      return true;
    case MouseAction::kPress:
    case MouseAction::kDoubleClick:
      if (event.button == MouseButton::kRight) {
        if (event.action == MouseAction::kPress && actions_.menu)
          actions_.menu(event.screen);
        return true;
      }
      if (actions_.raise)
        actions_.raise();
      Release();
      if (hit >= 0) {
        pressed_ = hit;
        buttons_[hit].pressed = true;
        DrawButton(hit);
      }
      return true;
    case MouseAction::kRelease: {
      if (event.button != MouseButton::kLeft)
        return true;
      const int pressed = pressed_;
      Release();
      if (pressed >= 0 && hit == pressed && actions_.transport)
        actions_.transport(pressed);
      return true;
    }
  }
  return false;
}

void ControlStrip::SetPaused(bool paused) {
  if (paused == paused_)
    return;
  paused_ = paused;
  if (paused) {
    if (host_ != nullptr)
      host_->SetTimer(kPauseBlinkTimer, kPauseBlinkMs);
    return;
  }
  if (host_ != nullptr)
    host_->KillTimer(kPauseBlinkTimer);
  for (int i = 0; i < kStripButtonCount; ++i) {
    if (buttons_[i].blink) {
      buttons_[i].blink = false;
      DrawButton(i);
    }
  }
}

void ControlStrip::OnTimer(int id) {
  if (id != kPauseBlinkTimer || !paused_)
    return;
  constexpr int kPause = 4;
  buttons_[kPause].blink = !buttons_[kPause].blink;
  DrawButton(kPause);
}

}  // namespace zcd
