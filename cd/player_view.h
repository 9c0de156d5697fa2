#pragma once

#include <string>

#include "discdb/disc_record.h"

namespace zcd {

// Which text line the one-line shade bar shows.
enum class ShadeLine { kTitle, kTrack };

// The tray's picture of the play state; the numbers are the icons'.
enum class TrayPicture { kStopped = 136, kPlaying = 180, kPaused = 181 };

// The timers that pace playback, each of the window it belongs to.
enum class PlayerTimer {
  kPlaybackTick,    // main window 2, 999 ms, while playing
  kDisplayRestore,  // main window 4, 2500 ms, after a track-box hover
  kDrivePoll,       // main window 12, 3000 ms, for the whole run
  kTrackBlink,      // track box 1, 750 ms, while playing
  kTrackFollow,     // track box 5, 500 ms, while a disc is loaded
};

struct TimerSpec {
  int id;
  int interval_ms;
  bool on_track_box;
};
constexpr TimerSpec SpecOf(PlayerTimer timer) {
  switch (timer) {
    case PlayerTimer::kPlaybackTick:
      return {2, 999, false};
    case PlayerTimer::kDisplayRestore:
      return {4, 2500, false};
    case PlayerTimer::kDrivePoll:
      return {12, 3000, false};
    case PlayerTimer::kTrackBlink:
      return {1, 750, true};
    case PlayerTimer::kTrackFollow:
      return {5, 500, true};
  }
  return {0, 0, false};
}

// Everything the playback monitor shows. The main window implements it;
// controls, the track box and the tray plug in behind it, so the monitor
// never knows how a thing is drawn. Window thread only.
class PlayerView {
 public:
  virtual ~PlayerView() = default;

  // The two text lines; none blanks a line.
  virtual void ShowTitleLine(const OptText& text) = 0;
  virtual void ShowTrackLine(const OptText& text) = 0;
  virtual void SetShadeLine(ShadeLine line) = 0;
  // The timer digits: lit while playing, dim otherwise.
  virtual void ShowTimer(int32_t seconds, bool lit) = 0;
  // The slider's thumb, 0 .. 100. The playback tick's update is not forced:
  // it gives way to a dragging user and to a seek the drive has not caught
  // up with.
  virtual void ShowSlider(int percent, bool forced) = 0;
  // Timer-mode and play-mode indicators after TimerType or PlayType changed.
  virtual void ShowModeIndicators() = 0;
  // The CDDB status word; 0 clears it.
  virtual void ShowStatusWord(int code) = 0;
  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetTrayTip(const std::string& text) = 0;
  virtual void SetTrayPicture(TrayPicture picture) = 0;
  // The track box: shown only while a play order exists; redrawn after the
  // order, a removed flag or the current entry changed.
  virtual void ShowTrackBox(bool shown) = 0;
  virtual void RedrawTrackBox() = 0;
  // The bouncing sprite of an empty drive.
  virtual void SetIdleAnimation(bool running) = 0;
  virtual void StartTimer(PlayerTimer timer) = 0;
  virtual void StopTimer(PlayerTimer timer) = 0;
  // The disc was removed with EjectQuit on: the program ends the orderly way.
  virtual void RequestExit() = 0;
};

}  // namespace zcd
