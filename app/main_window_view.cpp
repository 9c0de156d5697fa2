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
  text_->SetLineText(TextLine::kTrackLine, text);
  text_->Force(TextLine::kTrackLine);
}

void MainWindow::SetShadeLine(ShadeLine line) {
  text_->SetShadeLineChoice(line == ShadeLine::kTrack ? TextLine::kTrackLine
                                                      : TextLine::kTitleLine);
}

void MainWindow::ShowTimer(int32_t seconds, bool lit) {
  if (seconds == shown_.timer && lit == shown_.timer_lit)
    return;
  shown_.timer = seconds;
  shown_.timer_lit = lit;
  DrawTimerDigits();
}

// The slider and the status word are drawn by the skinned controls, which
// read them from here.
void MainWindow::ShowSlider(int percent) {
  shown_.slider_percent = percent;
}

void MainWindow::ShowStatusWord(int code) {
  shown_.status_word = code;
}

void MainWindow::ShowModeIndicators() {
  DrawTimerDigits();
}

void MainWindow::SetCaption(const std::string& text) {
  host_->SetCaption(text);
}

void MainWindow::SetTrayTip(const std::string& text) {
  shown_.tray_tip = text;
}

void MainWindow::SetTrayPicture(TrayPicture picture) {
  shown_.tray_picture = picture;
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
