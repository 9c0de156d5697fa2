#include <algorithm>

#include "base/text.h"
#include "cd/disc_lookup.h"
#include "cd/playback_monitor.h"
#include "cd/taskbar_text.h"

// The transport commands, the entry and track requests, seeking and the
// texts and times the monitor shows.
namespace zcd {
namespace {

inline constexpr int kPlayCurrentRun = -1;
inline constexpr int kDoorToggle = 0;
// Track back within this many seconds of a track's start goes to the entry
// before; later it starts the track again.
inline constexpr int kRestartSeconds = 5;
inline constexpr size_t kStatusCaptionChars = 100;

}  // namespace

void PlaybackMonitor::Run(Transport command) {
  if (!cd_)
    return;
  switch (command) {
    case Transport::kEject:
      Eject();
      break;
    case Transport::kTrackBack:
      Step(false);
      break;
    case Transport::kTrackForward:
      Step(true);
      break;
    case Transport::kStop:
      SetShadeLine(ShadeLine::kTitle);
      FullStop();
      break;
    case Transport::kPause:
      TogglePause();
      break;
    case Transport::kPlay:
      if (cd_->paused) {
        TogglePause();
      } else if (!cd_->playing && disc_loaded() && order_) {
        const int first = order_->StepIndex(-1, true);
        if (first >= 0)
          StartPlaying(first);
      }
      break;
  }
}

void PlaybackMonitor::Eject() {
  CdState& cd = *cd_;
  cd.playing = false;
  cd.paused = false;
  view_.StopTimer(PlayerTimer::kPlaybackTick);
  view_.StopTimer(PlayerTimer::kTrackBlink);
  view_.ShowTimer(0, false);
  view_.ShowSlider(0, true);
  view_.ShowTrackLine(std::nullopt);
  SetShadeLine(ShadeLine::kTitle);
  view_.SetTrayPicture(TrayPicture::kStopped);
  // The blink timer has stopped; the playing entry must not stay lit.
  view_.RedrawTrackBox();
  SavePlayOrderIfAsked();
  cd.SetDoor(kDoorToggle);
}

void PlaybackMonitor::TogglePause() {
  CdState& cd = *cd_;
  if (!cd.playing || cd.TogglePause() != kResultOk)
    return;
  cd.paused = !cd.paused;
  view_.SetTrayPicture(cd.paused ? TrayPicture::kPaused : TrayPicture::kPlaying);
  ShowPlayingTime();
}

void PlaybackMonitor::Step(bool forward) {
  if (!disc_loaded() || !order_)
    return;
  CdState& cd = *cd_;
  const int current = current_entry().value_or(-1);
  int target = order_->StepIndex(current, forward);
  if (!forward && cd.playing && current >= 0) {
    const TrackPosition at = DrivePosition();
    if (at.minutes * 60 + at.seconds >= kRestartSeconds)
      target = current;
  }
  if (target < 0) {
    Run(Transport::kStop);
    return;
  }
  if (!cd.playing) {
    StartPlaying(target);
    return;
  }
  cd.current_position = target;
  if (cd.paused)
    cd.SeekTo(0, order_->EntryTrack(target), 0);
  else
    cd.PlayFrom(target);
  ShowCurrentTrackTitle();
  view_.RedrawTrackBox();
  ShowPlayingTime();
}

// The entry becomes current before the play: in repeat-track mode the
// range is taken from the current entry.
bool PlaybackMonitor::StartPlaying(int index) {
  CdState& cd = *cd_;
  const int before = cd.current_position;
  cd.current_position = index;
  if (cd.PlayFrom(index) != kResultOk) {
    cd.current_position = before;
    return false;
  }
  cd.playing = true;
  cd.paused = false;
  view_.StartTimer(PlayerTimer::kTrackBlink);
  view_.StartTimer(PlayerTimer::kPlaybackTick);
  SetShadeLine(ShadeLine::kTrack);
  ShowCurrentTrackTitle();
  view_.SetTrayPicture(TrayPicture::kPlaying);
  view_.RedrawTrackBox();
  ShowPlayingTime();
  return true;
}

bool PlaybackMonitor::PlayEntry(int index) {
  if (!disc_loaded() || !order_ || index < 0 || index >= order_->EntryCount())
    return false;
  return StartPlaying(index);
}

bool PlaybackMonitor::PlayTrack(int track) {
  if (!disc_loaded() || !order_)
    return false;
  const std::optional<int> index = order_->FindTrack(track);
  return index && PlayEntry(*index);
}

void PlaybackMonitor::ReplayIfPlaying() {
  if (cd_ && cd_->playing && !cd_->paused)
    cd_->PlayFrom(kPlayCurrentRun);
}

void PlaybackMonitor::InvertRemoved() {
  if (!order_)
    return;
  order_->InvertRemoved();
  OrderEdited();
}

void PlaybackMonitor::OrderEdited() {
  if (!order_)
    return;
  order_->StorePlayOrderSeconds();
  view_.RedrawTrackBox();
  ShowTimerNow();
  ReplayIfPlaying();
}

void PlaybackMonitor::SetTimerType(int timer_type) {
  settings_.TimerType = timer_type;
  view_.ShowModeIndicators();
  if (cd_)
    ShowTimerNow();
}

void PlaybackMonitor::TogglePlayType(int bit) {
  int& play_type = settings_.PlayType;
  play_type ^= bit;
  if (bit == kPlayTypeRepeatAll)
    play_type &= ~kPlayTypeRepeatTrack;
  if (bit == kPlayTypeRepeatTrack)
    play_type &= ~kPlayTypeRepeatAll;
  view_.ShowModeIndicators();
  if (bit == kPlayTypeShuffle && order_) {
    order_->ReorderPlayOrder(play_type);
    if (cd_->playing)
      FindPlayingTrack();
    view_.RedrawTrackBox();
  }
  if (bit != kPlayTypeRepeatAll && current_entry())
    ReplayIfPlaying();
}

bool PlaybackMonitor::FindPlayingTrack() {
  const std::optional<int> index = order_->FindTrack(DrivePosition().track);
  if (index)
    cd_->current_position = *index;
  return index.has_value();
}

void PlaybackMonitor::RebuildPlayOrder() {
  if (!order_)
    return;
  order_->BuildDefault();
  if (cd_->playing && !FindPlayingTrack()) {
    FullStop();
  } else if (!cd_->playing) {
    cd_->current_position = std::max(order_->StepIndex(-1, true), 0);
  }
  view_.RedrawTrackBox();
  ShowTimerNow();
  ReplayIfPlaying();
}

void PlaybackMonitor::SeekToPercent(int percent) {
  const std::optional<int> current = current_entry();
  if (!cd_ || !cd_->playing || !current)
    return;
  CdState& cd = *cd_;
  const int mode = SliderMode(settings_.SliderType, settings_.TimerType);
  const int track = order_->EntryTrack(*current);
  const int32_t seconds = SliderSeconds(
      std::clamp(percent, 0, 100), cd.disc().TrackSeconds(track - 1), cd.play_order_seconds, mode);
  const bool paused = cd.paused;
  if (!paused)
    cd.TogglePause();
  // Over the play order the seek itself picks the entry, copies included.
  const int result = cd.SeekTo(seconds, track, mode);
  if (!paused)
    cd.TogglePause();
  if (result == kResultSeekFailed) {
    FullStop();
    return;
  }
  ShowCurrentTrackTitle();
  view_.RedrawTrackBox();
}

int32_t PlaybackMonitor::SliderSecondsFor(int percent) const {
  const std::optional<int> current = current_entry();
  if (!current)
    return 0;
  const int track = order_->EntryTrack(*current);
  return SliderSeconds(std::clamp(percent, 0, 100), cd_->disc().TrackSeconds(track - 1),
                       cd_->play_order_seconds,
                       SliderMode(settings_.SliderType, settings_.TimerType));
}

void PlaybackMonitor::CddbStatus(int code) {
  status_word_ = code;
  view_.ShowStatusWord(code);
  if (code == kCddbStatusDone && cd_)
    ShowDiscTexts();
}

void PlaybackMonitor::ReloadDiscInfo(const std::string& disc_id) {
  if (!disc_loaded() || !order_ ||
      !EqualsIgnoringCase(cd_->disc().DiscIdText().value_or(""), disc_id)) {
    return;
  }
  LoadDiscInfo(*order_, settings_, db_path_, lookup_);
  ShowDiscTexts();
}

void PlaybackMonitor::ShowDiscTexts() {
  ShowDiscTitle();
  if (cd_->playing) {
    ShowCurrentTrackTitle();
    ShowPlayingText(TimerSeconds(settings_.TimerType, Clock()));
  } else {
    ShowStoppedCaption(kStatusCaptionChars);
  }
  if (order_)
    view_.RedrawTrackBox();
}

void PlaybackMonitor::DisplayRestore() {
  view_.StopTimer(PlayerTimer::kDisplayRestore);
  if (playing() && order_) {
    ShowCurrentTrackTitle();
    view_.RedrawTrackBox();
  }
}

// Track 0 when the drive does not say.
TrackPosition PlaybackMonitor::DrivePosition() {
  const uint32_t packed = cd_->GetPosition();
  return packed != 0 ? UnpackTmsf(packed) : TrackPosition{};
}

PlayClock PlaybackMonitor::Clock() {
  return ClockAt(DrivePosition());
}

PlayClock PlaybackMonitor::ClockAt(const TrackPosition& at) {
  PlayClock clock;
  clock.position = at;
  const DiscRecord& disc = cd_->disc();
  if (clock.position.track > 0)
    clock.track_seconds = std::max(disc.TrackSeconds(clock.position.track - 1), 0);
  clock.order_seconds = cd_->play_order_seconds;
  clock.order_elapsed = order_
                            ? PlayOrderElapsed(*order_, disc, cd_->current_position, clock.position)
                            : clock.position.minutes * 60 + clock.position.seconds;
  return clock;
}

std::pair<int32_t, bool> PlaybackMonitor::TimerDisplay() {
  if (cd_ && cd_->playing)
    return {TimerSeconds(settings_.TimerType, Clock()), true};
  const int32_t total = disc_loaded() ? cd_->play_order_seconds : 0;
  return {std::clamp(total, 0, kMaxTimerSeconds), false};
}

// What the tick would show, at once: the caption never names the track
// played before a command for up to a second.
void PlaybackMonitor::ShowPlayingTime() {
  const int32_t timer = TimerSeconds(settings_.TimerType, Clock());
  ShowPlayingText(timer);
  view_.ShowTimer(timer, true);
}

void PlaybackMonitor::ShowTimerNow() {
  const auto [seconds, lit] = TimerDisplay();
  view_.ShowTimer(seconds, lit);
}

int PlaybackMonitor::SliderPercentNow() {
  if (!cd_ || !cd_->playing)
    return 0;
  return SliderPercent(SliderMode(settings_.SliderType, settings_.TimerType), Clock());
}

int PlaybackMonitor::CurrentTrack() const {
  const std::optional<int> current = current_entry();
  return current ? order_->EntryTrack(*current) : 0;
}

OptText PlaybackMonitor::CurrentTrackTitle() const {
  const int track = CurrentTrack();
  return track > 0 ? cd_->disc().TrackTitle(track - 1) : std::nullopt;
}

OptText PlaybackMonitor::PlayingTrackTitle() const {
  return playing() ? CurrentTrackTitle() : std::nullopt;
}

void PlaybackMonitor::ShowDiscTitle() {
  view_.ShowTitleLine(cd_->disc().DiscTitle());
}

void PlaybackMonitor::ShowCurrentTrackTitle() {
  view_.ShowTrackLine(CurrentTrackTitle());
}

void PlaybackMonitor::SetShadeLine(ShadeLine line) {
  shade_line_ = line;
  view_.SetShadeLine(line);
}

void PlaybackMonitor::ShowStoppedCaption(size_t max_chars) {
  const std::string caption =
      StoppedCaption(cd_ ? cd_->disc().DiscTitle() : std::nullopt, max_chars);
  view_.SetCaption(caption);
  view_.SetTrayTip(caption);
}

// The template goes to the caption for a taskbar button and to the tray's
// tooltip for a tray icon.
void PlaybackMonitor::ShowPlayingText(int32_t timer) {
  const std::string text = FormatTaskBarText(
      settings_.TaskBarText, {cd_->disc().DiscTitle(), CurrentTrackTitle(), CurrentTrack(), timer});
  if (settings_.IconType & kIconTaskbar)
    view_.SetCaption(text);
  if (settings_.IconType & kIconTray)
    view_.SetTrayTip(text);
}

}  // namespace zcd
