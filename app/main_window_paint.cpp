#include "app/main_window.h"
#include "skin/blit.h"
#include "skin/indicators.h"
#include "skin/timer_digits.h"

// How the main window paints its own picture: the background, the title
// buttons, the captions, the indicators, the status word and the timer.
namespace zcd {

void MainWindow::Paint() {
  const bool full = layout_ == LayoutMode::kFull;
  {
    std::lock_guard drawing(surface_.lock());
    CopyBitmap(surface_, 0, 0, skin_[full ? SkinFile::kBody : SkinFile::kWinshade]);
    DrawTitleButtons(surface_, title_buttons_, skin_[SkinFile::kWidgitset]);
    if (full)
      DrawCaptions(surface_, skin_[SkinFile::kWidgitset]);
  }
  for (Child& child : children_)
    child.window->Repaint();
  const CdState* cd = monitor_.cd();
  text_->SetLineText(TextLine::kTitleLine, cd ? cd->disc().DiscTitle() : std::nullopt);
  text_->SetLineText(TextLine::kTrackLine, monitor_.PlayingTrackTitle());
  text_->Force(TextLine::kTitleLine);
  text_->Force(TextLine::kTrackLine);
  DrawStatusWordNow();
  DrawIndicators();
  const auto [seconds, lit] = monitor_.TimerDisplay();
  shown_.timer = seconds;
  shown_.timer_lit = lit;
  DrawTimerDigits();
  host_->Invalidate({0, 0, surface_.width(), surface_.height()});
}

void MainWindow::DrawTimerDigits() {
  {
    std::lock_guard drawing(surface_.lock());
    DrawTimer(surface_, layout_, shown_.timer, shown_.timer_lit, skin_[SkinFile::kNumberset]);
  }
  host_->Invalidate(TimerRect(layout_));
}

void MainWindow::DrawTimerNow(int32_t seconds, bool lit) {
  shown_.timer = seconds;
  shown_.timer_lit = lit;
  DrawTimerDigits();
}

// The play-mode labels and the timer-mode pieces have no room in the bar.
void MainWindow::DrawIndicators() {
  if (layout_ != LayoutMode::kFull)
    return;
  {
    std::lock_guard drawing(surface_.lock());
    DrawPlayModes(surface_, s_.settings.PlayType, skin_[SkinFile::kWidgitset]);
    DrawTimerModes(surface_, s_.settings.TimerType, skin_[SkinFile::kWidgitset]);
  }
  host_->Invalidate(kUpperGlass);
}

void MainWindow::DrawStatusWordNow() {
  if (layout_ != LayoutMode::kFull)
    return;
  {
    std::lock_guard drawing(surface_.lock());
    DrawStatusWord(surface_, shown_.status_word, skin_[SkinFile::kWidgitset],
                   skin_[SkinFile::kBody]);
  }
  host_->Invalidate(kStatusAt);
}

void MainWindow::DrawTitleButtonsPressed(TitleButtonsPressed pressed) {
  if (pressed.close == title_buttons_.close && pressed.minimize == title_buttons_.minimize)
    return;
  title_buttons_ = pressed;
  {
    std::lock_guard drawing(surface_.lock());
    DrawTitleButtons(surface_, pressed, skin_[SkinFile::kWidgitset]);
  }
  host_->Invalidate(
      {kMinimizeAt.x, kMinimizeAt.y, kCloseAt.x + kCloseAt.w - kMinimizeAt.x, kCloseAt.h});
}

}  // namespace zcd
