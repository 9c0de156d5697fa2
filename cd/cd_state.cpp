#include "cd/cd_state.h"

#include <algorithm>

#include "cd/completion_watcher.h"

namespace zcd {
namespace {

inline constexpr int kPlayCurrentRun = -1;
inline constexpr int kPlayPlain = -2;

// The drive gives the last track's length one frame short of the lead-out.
TrackTocEntry LeadOutAfter(const TrackTocEntry& last, const Msf& length) {
  int32_t minutes = last.minutes + length.minutes;
  int32_t seconds = last.seconds + length.seconds;
  int32_t frames = last.frames + length.frames + 1;
  seconds += frames / kFramesPerSecond;
  frames %= kFramesPerSecond;
  minutes += seconds / 60;
  seconds %= 60;
  return TrackTocEntry::FromMsf(minutes, seconds, frames);
}

}  // namespace

CdState::CdState(CdDriveSource& drives, int drive_index, bool shared,
                 std::function<void()> on_play_complete)
    : drives_(drives),
      drive_index_(drive_index),
      shared_(shared),
      on_play_complete_(std::move(on_play_complete)) {}

CdState::~CdState() {
  set_disc_loaded(false);
  disc_->ClearDiscText();
  CloseDevice();
}

// The watcher polls the device, so it goes first.
void CdState::CloseDevice() {
  watcher_.reset();
  device_.reset();
}

int CdState::OpenDisc() {
  CloseDevice();
  device_ = drives_.OpenDrive(drive_index_, shared_);
  if (!device_)
    return kResultOpenFailed;
  if (on_play_complete_)
    watcher_ = std::make_unique<CompletionWatcher>(*device_, on_play_complete_);

  playing = false;
  int mode = GetMode();
  if (mode == kResultStatusFailed || mode == kResultDriveEmpty)
    return mode;
  if (mode == kResultPlaying)
    playing = true;

  std::optional<int> reported = device_->TrackCount();
  if (!reported || *reported < 1)
    return kResultStatusFailed;
  DiscTiming timing;
  timing.track_count = std::min(*reported, kMaxTracks);
  const int n = timing.track_count;
  has_audio = false;
  audio_flags.fill(0);
  for (int t = 1; t <= n; ++t) {
    std::optional<bool> audio = device_->IsAudioTrack(t);
    std::optional<Msf> start = audio ? device_->TrackStart(t) : std::nullopt;
    if (!start)
      return kResultStatusFailed;
    audio_flags[t - 1] = *audio ? 1 : 0;
    has_audio = has_audio || *audio;
    timing.toc[t - 1] = TrackTocEntry::FromMsf(start->minutes, start->seconds, start->frames);
  }
  std::optional<Msf> last_length = device_->TrackLength(n);
  if (!last_length)
    return kResultStatusFailed;
  timing.toc[n] = LeadOutAfter(timing.toc[n - 1], *last_length);
  for (int t = 1; t <= n; ++t)
    timing.track_seconds[t - 1] = timing.toc[t].WholeSeconds() - timing.toc[t - 1].WholeSeconds();
  timing.disc_seconds = timing.toc[n].WholeSeconds();
  disc_->SetTiming(timing);
  return playing ? kResultPlaying : kResultOk;
}

int CdState::GetMode() {
  std::optional<DeviceMode> mode = device_ ? device_->Mode() : std::nullopt;
  if (!mode)
    return kResultStatusFailed;
  if (*mode == DeviceMode::kOpen)
    return kResultDriveEmpty;
  return *mode == DeviceMode::kPlaying ? kResultPlaying : kResultOk;
}

int CdState::PlayFrom(int position) {
  if (position == kPlayPlain)
    return device_ && device_->Play(std::nullopt, std::nullopt, false) ? kResultOk
                                                                       : kResultCommandFailed;
  if (position < kPlayCurrentRun || !play_order_)
    return kResultOk;
  bool from_current = position == kPlayCurrentRun;
  return PlayRange(play_order_->RunRange(from_current ? current_position : position), from_current);
}

// A run reaching past the last track plays to the end of the disc.
int CdState::PlayRange(std::optional<TrackRange> range, bool from_current) {
  if (!range)
    return kResultOk;
  std::optional<int> from = from_current ? std::nullopt : std::optional(range->from);
  std::optional<int> to = range->to > disc_->TrackCount() ? std::nullopt : std::optional(range->to);
  return device_ && device_->Play(from, to, true) ? kResultOk : kResultCommandFailed;
}

int CdState::StopDevice() {
  return device_ && device_->Stop() ? kResultOk : kResultCommandFailed;
}

int CdState::TogglePause() {
  std::optional<DeviceMode> mode = device_ ? device_->Mode() : std::nullopt;
  if (!mode)
    return kResultCommandFailed;
  switch (*mode) {
    case DeviceMode::kPlaying:
      return device_->Pause() ? kResultOk : kResultCommandFailed;
    case DeviceMode::kPaused:
      return device_->Resume() ? kResultOk : kResultCommandFailed;
    case DeviceMode::kStopped:
      return PlayFrom(kPlayCurrentRun);
    default:
      return kResultOk;
  }
}

// Forcing sets the flag first; the flag then says which way to move the door
// and flips only when the door moved.
int CdState::SetDoor(int flags) {
  if (flags & kDoorForceOpen)
    door_open = false;
  else if (flags & kDoorForceClose)
    door_open = true;
  if (!device_ || !device_->SetDoor(!door_open))
    return kResultSetFailed;
  door_open = !door_open;
  return kResultOk;
}

int CdState::SeekTo(int32_t seconds, int track, int mode) {
  bool from_end = (mode & kSeekFromEnd) != 0;
  if (!(mode & kSeekOverPlayOrder)) {
    int target = from_end ? disc_->TrackSeconds(track - 1) - seconds : seconds;
    return SeekInTrack(track, target);
  }
  if (!play_order_)
    return kResultSeekFailed;
  int target = from_end ? play_order_seconds - seconds : seconds;
  for (int i = 0; i < play_order_->EntryCount(); ++i) {
    if (play_order_->EntryRemoved(i))
      continue;
    int entry_track = play_order_->EntryTrack(i);
    int length = disc_->TrackSeconds(entry_track - 1);
    target -= length;
    if (target < 0) {
      current_position = i;
      return SeekInTrack(entry_track, target + length);
    }
  }
  return kResultSeekFailed;
}

// No drive seeks to a time before a track's start.
int CdState::SeekInTrack(int track, int seconds) {
  if (!device_ || seconds < 0)
    return kResultSeekFailed;
  return device_->Seek({track, seconds / 60, seconds % 60, 0}) ? kResultOk : kResultSeekFailed;
}

uint32_t CdState::GetPosition() {
  std::optional<TrackPosition> position = device_ ? device_->Position() : std::nullopt;
  return position ? PackTmsf(*position) : 0;
}

}  // namespace zcd
