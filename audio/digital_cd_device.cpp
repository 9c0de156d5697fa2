#include "audio/digital_cd_device.h"

#include <algorithm>
#include <cstdio>

namespace zcd {
namespace {

int32_t FrameOf(const Msf& msf) {
  return (msf.minutes * 60 + msf.seconds) * 75 + msf.frames;
}

int64_t PlaceOf(int32_t frame) {
  return static_cast<int64_t>(frame) * kStereoFramesPerSector;
}

}  // namespace

DigitalCdDevice::DigitalCdDevice(std::unique_ptr<CdDevice> drive, SectorSourceOpener open_source,
                                 DigitalOutput output)
    : drive_(std::move(drive)), open_source_(std::move(open_source)), output_(std::move(output)) {}

// The engine goes first: its threads read through the source, not the drive.
DigitalCdDevice::~DigitalCdDevice() {
  std::lock_guard guard(lock_);
  engine_.reset();
}

std::optional<std::vector<int32_t>> DigitalCdDevice::ReadTocLocked() {
  const std::optional<int> count = drive_->TrackCount();
  if (!count || *count < 1)
    return std::nullopt;
  std::vector<int32_t> toc;
  for (int track = 1; track <= *count; ++track) {
    const std::optional<Msf> start = drive_->TrackStart(track);
    if (!start)
      return std::nullopt;
    toc.push_back(FrameOf(*start));
  }
  // A drive gives the last track one frame short of the lead-out.
  const std::optional<Msf> last = drive_->TrackLength(*count);
  if (!last)
    return std::nullopt;
  toc.push_back(toc.back() + FrameOf(*last) + 1);
  return toc;
}

std::optional<int> DigitalCdDevice::LoadTocLocked() {
  if (!DiscInLocked())
    return std::nullopt;
  std::optional<std::vector<int32_t>> toc = ReadTocLocked();
  if (!toc)
    return std::nullopt;
  toc_ = std::move(*toc);
  return static_cast<int>(toc_.size()) - 1;
}

bool DigitalCdDevice::DiscInLocked() {
  const std::optional<DeviceMode> mode = drive_->Mode();
  if (mode && *mode != DeviceMode::kOpen) {
    CatchUpLocked();
    return true;
  }
  HaltLocked();
  return false;
}

void DigitalCdDevice::HaltLocked() {
  if (engine_ && mode_ == DeviceMode::kPlaying)
    cursor_ = engine_->Halt();
  mode_ = DeviceMode::kStopped;
  completion_ready_ = false;
  notify_ = false;
}

void DigitalCdDevice::CatchUpLocked() {
  if (!engine_)
    return;
  if (mode_ == DeviceMode::kPlaying) {
    const PlaybackEngine::State state = engine_->state();
    if (state == PlaybackEngine::State::kFinished || state == PlaybackEngine::State::kFailed) {
      cursor_ = engine_->Heard();
      mode_ = DeviceMode::kStopped;
      completion_ready_ = notify_ && state == PlaybackEngine::State::kFinished;
      notify_ = false;
    }
  }
  while (std::optional<EngineEvent> event = engine_->TakeEvent()) {
    switch (event->kind) {
      case EngineEvent::Kind::kSkipped:
        notices_.push_back({"Skipped unreadable audio " + WhereLocked(event->frame), false});
        break;
      case EngineEvent::Kind::kDeviceFailed:
        notices_.push_back({"The sound device failed: " + event->detail, true});
        break;
      case EngineEvent::Kind::kSourceFailed:
        notices_.push_back({"Cannot read the disc's audio: " + event->detail, true});
        break;
    }
  }
}

// "in track 3 at 1:02"
std::string DigitalCdDevice::WhereLocked(int32_t frame) const {
  const std::optional<TrackPosition> at = PositionOfLocked(PlaceOf(frame));
  if (!at)
    return {};
  char text[48];
  std::snprintf(text, sizeof text, "in track %d at %d:%02d", at->track, at->minutes, at->seconds);
  return text;
}

std::optional<TrackPosition> DigitalCdDevice::PositionOfLocked(int64_t place) const {
  if (toc_.size() < 2)
    return std::nullopt;
  const int32_t frame = static_cast<int32_t>(place / kStereoFramesPerSector);
  const auto tracks_end = toc_.end() - 1;
  auto after = std::upper_bound(toc_.begin(), tracks_end, frame);
  const int index = after == toc_.begin() ? 0 : static_cast<int>(after - toc_.begin()) - 1;
  const int32_t into = std::max(0, frame - toc_[index]);
  return TrackPosition{index + 1, into / 4500, into / 75 % 60, into % 75};
}

std::optional<DeviceMode> DigitalCdDevice::Mode() {
  std::lock_guard guard(lock_);
  const std::optional<DeviceMode> drive_mode = drive_->Mode();
  if (!drive_mode || *drive_mode == DeviceMode::kOpen) {
    HaltLocked();
    return drive_mode;
  }
  if (route_ == Route::kDrive)
    return drive_mode;
  CatchUpLocked();
  return mode_;
}

bool DigitalCdDevice::Play(std::optional<int> from_track, std::optional<int> to_track,
                           bool notify) {
  std::lock_guard guard(lock_);
  const std::optional<int> loaded = LoadTocLocked();
  if (!loaded)
    return false;
  const int tracks = *loaded;
  if ((from_track && (*from_track < 1 || *from_track > tracks)) ||
      (to_track && (*to_track < 1 || *to_track > tracks)))
    return false;
  const int64_t here = mode_ == DeviceMode::kPlaying && engine_ ? engine_->Heard() : cursor_;
  const int64_t start =
      from_track ? PlaceOf(toc_[*from_track - 1]) : std::max(here, PlaceOf(toc_.front()));
  const int64_t end = PlaceOf(to_track ? toc_[*to_track - 1] : toc_.back());
  if (end <= start)
    return false;
  if (!engine_)
    engine_ = std::make_unique<PlaybackEngine>(open_source_, output_.open_sink, output_.gain);
  const std::optional<std::string> no_sound = engine_->Start(start, end);
  if (!no_sound) {
    if (route_ == Route::kDrive)
      drive_->Stop();
    route_ = Route::kDigital;
    mode_ = DeviceMode::kPlaying;
    end_ = end;
    notify_ = notify;
    completion_ready_ = false;
    return true;
  }
  if (!told_no_sound_)
    notices_.push_back({"No sound device (" + *no_sound + "): the drive plays on its own", false});
  told_no_sound_ = true;
  route_ = Route::kDrive;
  mode_ = DeviceMode::kStopped;
  if (!from_track) {
    if (const std::optional<TrackPosition> at = PositionOfLocked(start))
      drive_->Seek(*at);
  }
  return drive_->Play(from_track, to_track, notify);
}

bool DigitalCdDevice::Stop() {
  std::lock_guard guard(lock_);
  if (route_ == Route::kDrive)
    return drive_->Stop();
  if (!DiscInLocked())
    return false;
  HaltLocked();
  return true;
}

bool DigitalCdDevice::Pause() {
  std::lock_guard guard(lock_);
  if (route_ == Route::kDrive)
    return drive_->Pause();
  if (!DiscInLocked())
    return false;
  if (mode_ == DeviceMode::kPlaying) {
    cursor_ = engine_->Halt();
    mode_ = DeviceMode::kPaused;
  }
  return mode_ == DeviceMode::kPaused;
}

bool DigitalCdDevice::Resume() {
  std::lock_guard guard(lock_);
  if (route_ == Route::kDrive)
    return drive_->Resume();
  if (!DiscInLocked())
    return false;
  if (mode_ == DeviceMode::kPaused) {
    if (const std::optional<std::string> no_sound = engine_->Start(cursor_, end_)) {
      notices_.push_back({"The sound device failed: " + *no_sound, true});
      mode_ = DeviceMode::kStopped;
      return false;
    }
    mode_ = DeviceMode::kPlaying;
  }
  return mode_ == DeviceMode::kPlaying;
}

// Only a time inside the track is a place to seek to.
bool DigitalCdDevice::Seek(const TrackPosition& target) {
  std::lock_guard guard(lock_);
  if (route_ == Route::kDrive)
    return drive_->Seek(target);
  const std::optional<int> loaded = LoadTocLocked();
  if (!loaded)
    return false;
  const int tracks = *loaded;
  if (target.track < 1 || target.track > tracks || target.minutes < 0 || target.seconds < 0 ||
      target.seconds >= 60 || target.frames < 0 || target.frames >= 75)
    return false;
  const int64_t frame = toc_[target.track - 1] +
                        (static_cast<int64_t>(target.minutes) * 60 + target.seconds) * 75 +
                        target.frames;
  if (frame >= toc_[target.track])
    return false;
  HaltLocked();
  cursor_ = PlaceOf(static_cast<int32_t>(frame));
  return true;
}

std::optional<TrackPosition> DigitalCdDevice::Position() {
  std::lock_guard guard(lock_);
  if (route_ == Route::kDrive)
    return drive_->Position();
  if (!DiscInLocked())
    return std::nullopt;
  if (toc_.empty()) {
    std::optional<std::vector<int32_t>> toc = ReadTocLocked();
    if (!toc)
      return std::nullopt;
    toc_ = std::move(*toc);
  }
  const int64_t place = mode_ == DeviceMode::kPlaying ? engine_->Heard() : cursor_;
  return PositionOfLocked(std::max(place, PlaceOf(toc_.front())));
}

bool DigitalCdDevice::SetDoor(bool open) {
  std::lock_guard guard(lock_);
  if (open)
    HaltLocked();
  return drive_->SetDoor(open);
}

bool DigitalCdDevice::TakeCompletion() {
  std::lock_guard guard(lock_);
  if (route_ == Route::kDrive)
    return drive_->TakeCompletion();
  CatchUpLocked();
  return std::exchange(completion_ready_, false);
}

std::optional<PlaybackNotice> DigitalCdDevice::TakeNotice() {
  std::lock_guard guard(lock_);
  CatchUpLocked();
  if (notices_.empty())
    return std::nullopt;
  PlaybackNotice notice = std::move(notices_.front());
  notices_.pop_front();
  return notice;
}

bool DigitalCdDevice::SoundEndsWithProgram() {
  std::lock_guard guard(lock_);
  return route_ == Route::kDigital;
}

}  // namespace zcd
