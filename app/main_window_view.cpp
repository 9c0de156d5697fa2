#include "app/main_window.h"
#include "app/track_box_window.h"
#include "base/command_ids.h"

// How the playback monitor's view is shown on the main window.
namespace zcd {

void MainWindow::ShowTitleLine(const OptText& text) {
  text_->SetLineText(TextLine::kTitleLine, text);
  text_->Force(TextLine::kTitleLine);
}

void MainWindow::ShowTrackLine(const OptText& text) {
  shown_.track_line = text;
  text_->SetLineText(TextLine::kTrackLine, text);
  text_->Force(TextLine::kTrackLine);
}

void MainWindow::SetShadeLine(ShadeLine line) {
  text_->SetShadeLineChoice(line == ShadeLine::kTrack ? TextLine::kTrackLine
                                                      : TextLine::kTitleLine);
}

// A dragged slider thumb shows its own time until it is let go.
void MainWindow::ShowTimer(int32_t seconds, bool lit) {
  if ((seconds == shown_.timer && lit == shown_.timer_lit) || (slider_ && slider_->dragging()))
    return;
  DrawTimerNow(seconds, lit);
}

void MainWindow::ShowSlider(int percent, bool forced) {
  if (slider_ != nullptr)
    slider_->Update(percent, forced);
}

void MainWindow::ShowStatusWord(int code) {
  shown_.status_word = code;
  DrawStatusWordNow();
}

void MainWindow::ShowModeIndicators() {
  DrawIndicators();
}

void MainWindow::SetCaption(const std::string& text) {
  host_->SetCaption(text);
}

void MainWindow::SetTrayTip(const std::string& text) {
  shown_.tray_tip = text;
}

void MainWindow::SetTrayPicture(TrayPicture picture) {
  shown_.tray_picture = picture;
  // The tray's picture follows every change of the pause state.
  if (strip_ != nullptr)
    strip_->SetPaused(picture == TrayPicture::kPaused);
}

void MainWindow::ShowTrackBox(bool shown) {
  if (tracks_ != nullptr)
    tracks_->Show(shown);
}

void MainWindow::RedrawTrackBox() {
  if (tracks_ != nullptr)
    tracks_->Redraw();
}

void MainWindow::SetIdleAnimation(bool running) {
  if (!running)
    idle_->Stop();
  else if (layout_ == LayoutMode::kFull)
    idle_->Start(s_.settings.SkinFolder, s_.settings.SkinName);
}

void MainWindow::StartTimer(PlayerTimer timer) {
  const TimerSpec spec = SpecOf(timer);
  WindowHost* host = spec.on_track_box ? child_host(WindowId::kTracks) : host_;
  if (host != nullptr)
    host->SetTimer(spec.id, spec.interval_ms);
}

void MainWindow::StopTimer(PlayerTimer timer) {
  const TimerSpec spec = SpecOf(timer);
  WindowHost* host = spec.on_track_box ? child_host(WindowId::kTracks) : host_;
  if (host != nullptr)
    host->KillTimer(spec.id);
}

// Ended from the queue, not from inside the monitor that asks for it.
void MainWindow::RequestExit() {
  s_.queue.Post(CommandMessage(kCmdExit));
}

}  // namespace zcd
