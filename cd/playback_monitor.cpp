#include "cd/playback_monitor.h"

#include <algorithm>

#include "base/command_ids.h"
#include "cd/taskbar_text.h"

namespace zcd {
namespace {

inline constexpr int kPlayCurrentRun = -1;
inline constexpr int kPlayPlain = -2;
// The caption is cut where the load and the tick always cut it.
inline constexpr size_t kLoadCaptionChars = 100;
inline constexpr size_t kTickCaptionChars = 99;

const char* LoadFailureTitle(int code) {
  switch (code) {
    case kResultDriveEmpty:
      return "drive empty";
    case kResultOpenFailed:
      return "can't open device";
    case kResultStatusFailed:
      return "can't read cd";
    default:
      return "Doh! Unknown error";
  }
}

}  // namespace

PlaybackMonitor::PlaybackMonitor(Services services)
    : settings_(services.settings),
      drives_(services.drives),
      view_(services.view),
      lookup_(services.lookup),
      post_(std::move(services.post)),
      db_path_(std::move(services.db_path)),
      random_(std::move(services.random)) {}

PlaybackMonitor::~PlaybackMonitor() = default;

void PlaybackMonitor::Start() {
  drive_list_ = ListCdDrives(drives_);
  const std::vector<int>& found = drive_list_.indices;
  if (std::ranges::find(found, settings_.UseDrive) == found.end() && !found.empty())
    settings_.UseDrive = found.front();
  cd_ = MakeCdState(settings_.UseDrive);
  view_.StartTimer(PlayerTimer::kDrivePoll);
}

std::unique_ptr<CdState> PlaybackMonitor::MakeCdState(int drive_index) {
  auto post = post_;
  const int64_t serial = ++serial_;
  return std::make_unique<CdState>(drives_, drive_index, settings_.ShareCD != 0, [post, serial] {
    post({WindowId::kMain, kMsgDeviceNotice, kNoticeSuccessful, serial});
  });
}

// The timers that draw from the order stop with it.
void PlaybackMonitor::DestroyPlayOrder() {
  order_.reset();
  view_.StopTimer(PlayerTimer::kTrackFollow);
  view_.StopTimer(PlayerTimer::kTrackBlink);
}

void PlaybackMonitor::ReplaceCdState(int drive_index) {
  settings_.UseDrive = drive_index;
  DestroyPlayOrder();
  view_.ShowTrackBox(false);
  cd_.reset();
  cd_ = MakeCdState(drive_index);
}

std::optional<int> PlaybackMonitor::current_entry() const {
  if (!cd_ || !order_)
    return std::nullopt;
  const int current = cd_->current_position;
  if (current < 0 || current >= order_->EntryCount())
    return std::nullopt;
  return current;
}

void PlaybackMonitor::LoadDisc(int64_t reason) {
  if (cd_)
    HandleLoadResult(cd_->OpenDisc(), reason);
}

void PlaybackMonitor::HandleLoadResult(int code, int64_t reason) {
  if (!cd_)
    return;
  if (code == kResultOk || code == kResultPlaying) {
    LoadSucceeded(code, reason);
    return;
  }
  ShowLoadFailure(code);
  if (code != kResultDriveEmpty)
    return;
  view_.SetIdleAnimation(true);
  if (settings_.EjectEmpty != 0)
    cd_->SetDoor(kDoorForceOpen);
  if (reason != kLoadStartup && reason != kLoadDriveChange && settings_.DoNextCD != 0 &&
      drive_list_.count() >= 2) {
    NextCdDrive(false);
  }
}

void PlaybackMonitor::LoadSucceeded(int code, int64_t reason) {
  CdState& cd = *cd_;
  DestroyPlayOrder();
  // One generator for the whole run: a copy per disc would deal every disc
  // the same shuffle.
  order_ = std::make_unique<PlayOrderList>(cd, settings_, [this] { return random_(); });
  order_->BuildDefault();
  view_.SetIdleAnimation(false);
  cd.set_disc_loaded(true);
  if (code == kResultPlaying)
    cd.playing = true;
  cd.door_open = false;
  LoadDiscInfo(*order_, settings_, db_path_, lookup_);
  if (settings_.PlayType & kPlayTypeShuffle) {
    // A shuffle keeps the playing entry first.
    if (code == kResultPlaying)
      order_->FollowDeviceTrack();
    order_->ReorderPlayOrder(settings_.PlayType);
  }
  order_->StorePlayOrderSeconds();
  view_.ShowTrackBox(true);
  view_.RedrawTrackBox();

  // The track box keeps the current entry in view while there is a disc.
  view_.StartTimer(PlayerTimer::kTrackFollow);
  if (code == kResultPlaying) {
    order_->FollowDeviceTrack();
    ShowDiscTitle();
    ShowCurrentTrackTitle();
    if (settings_.OnStart != 1) {
      view_.StartTimer(PlayerTimer::kTrackBlink);
      view_.StartTimer(PlayerTimer::kPlaybackTick);
      // Playing again from here brings the end-of-play notice to us.
      cd.PlayFrom(kPlayCurrentRun);
    } else {
      FullStop();
    }
  } else {
    ShowDiscTitle();
    view_.ShowTimer(std::min(cd.play_order_seconds, kMaxTimerSeconds), false);
    ShowStoppedCaption(kLoadCaptionChars);
    if ((reason == kLoadStartup && settings_.OnStart == 2) ||
        (reason == kLoadInserted && settings_.LoadPlay != 0)) {
      Run(Transport::kPlay);
    }
  }
  if (cd.playing) {
    SetShadeLine(ShadeLine::kTrack);
    view_.SetTrayPicture(cd.paused ? TrayPicture::kPaused : TrayPicture::kPlaying);
  } else {
    SetShadeLine(ShadeLine::kTitle);
  }
}

void PlaybackMonitor::ShowLoadFailure(int code) {
  CdState& cd = *cd_;
  cd.set_disc_loaded(false);
  cd.door_open = false;
  cd.playing = false;
  cd.paused = false;
  cd.disc().ClearDiscText();
  cd.disc().SetDiscTitle(LoadFailureTitle(code));
  ShowDiscTitle();
  view_.ShowTrackLine(std::nullopt);
  SetShadeLine(ShadeLine::kTitle);
  view_.ShowTimer(0, false);
  view_.ShowTrackBox(false);
  ShowStoppedCaption(kLoadCaptionChars);
  DestroyPlayOrder();
}

void PlaybackMonitor::FullStop() {
  if (!cd_)
    return;
  CdState& cd = *cd_;
  cd.StopDevice();
  // The tick and the blink draw from playback; they end with it here
  // rather than on their next beat.
  view_.StopTimer(PlayerTimer::kPlaybackTick);
  view_.StopTimer(PlayerTimer::kTrackBlink);
  if (!cd.playing && !cd.paused)
    return;
  cd.playing = false;
  cd.paused = false;
  view_.ShowTimer(std::min(cd.play_order_seconds, kMaxTimerSeconds), false);
  view_.ShowTrackLine(std::nullopt);
  view_.ShowSlider(0, true);
  // Also makes the first entry that is not removed current.
  cd.SeekTo(0, 1, kSeekOverPlayOrder);
  view_.RedrawTrackBox();
  SetShadeLine(ShadeLine::kTitle);
  view_.SetTrayPicture(TrayPicture::kStopped);
  ShowStoppedCaption(kTickCaptionChars);
}

void PlaybackMonitor::NextCdDrive(bool from_end_of_order) {
  const std::vector<int>& list = drive_list_.indices;
  const auto here = std::ranges::find(list, settings_.UseDrive);
  if (here == list.end())
    return;
  const int k = drive_list_.count();
  const int p = static_cast<int>(here - list.begin());
  // At the end of the order the disc just played is not tried again.
  const int attempts = from_end_of_order ? k - 1 : k;
  int result = kResultOk;
  for (int a = 1; a <= attempts; ++a) {
    ReplaceCdState(list[static_cast<size_t>((p + a) % k)]);
    result = cd_->OpenDisc();
    if ((result == kResultOk || result == kResultPlaying) && cd_->has_audio) {
      HandleLoadResult(result, kLoadNextDrive);
      post_(CommandMessage(kCmdPlayKey));
      return;
    }
    if (result == kResultDriveEmpty && settings_.EjectEmpty != 0)
      cd_->SetDoor(kDoorForceOpen);
  }
  // A disc without audio is left for the poll to load; a failure shows now.
  if (attempts > 0 && result != kResultOk && result != kResultPlaying)
    ShowLoadFailure(result);
}

void PlaybackMonitor::ChangeDrive(int drive_index) {
  if (drive_index == settings_.UseDrive || drive_index < 0 || drive_index >= kDriveIndexCount)
    return;
  FullStop();
  ReplaceCdState(drive_index);
  // Loaded before the next message: a command line that switches drive
  // asks for a track of the new disc right after.
  LoadDisc(kLoadDriveChange);
}

void PlaybackMonitor::ShowPlaybackNotices() {
  if (!cd_)
    return;
  while (std::optional<PlaybackNotice> notice = cd_->TakeNotice()) {
    if (notice->stopped) {
      FullStop();
      view_.ShowTrackLine(notice->text);
      continue;
    }
    view_.ShowTrackLine(notice->text);
    if (playing())
      view_.StartTimer(PlayerTimer::kDisplayRestore);
  }
}

void PlaybackMonitor::ReopenDrive() {
  if (!cd_)
    return;
  FullStop();
  ReplaceCdState(settings_.UseDrive);
  LoadDisc(kLoadDriveChange);
}

void PlaybackMonitor::PlaybackTick() {
  ShowPlaybackNotices();
  if (!cd_ || !cd_->playing) {
    view_.StopTimer(PlayerTimer::kPlaybackTick);
    ShowStoppedCaption(kTickCaptionChars);
    return;
  }
  const TrackPosition at = DrivePosition();
  FollowDrive(at.track);
  const PlayClock clock = ClockAt(at);
  const int32_t timer = TimerSeconds(settings_.TimerType, clock);
  ShowPlayingText(timer);
  view_.ShowTimer(timer, true);
  view_.ShowSlider(SliderPercent(SliderMode(settings_.SliderType, settings_.TimerType), clock),
                   false);
}

// The texts follow the drive first, so the caption never shows one track's
// number with another's time.
void PlaybackMonitor::FollowDrive(int device_track) {
  const std::optional<int> current = current_entry();
  if (device_track == 0 || !current || device_track == CurrentTrack())
    return;
  if (settings_.PlayType & kPlayTypeRepeatTrack) {
    cd_->PlayFrom(*current);
    return;
  }
  // The drive moved on inside a run: follow it entry by entry, so that of
  // two entries holding the track the one in this run becomes current.
  for (int i = *current, next = order_->StepIndex(i, true);
       next > i && order_->EntryTrack(next) == order_->EntryTrack(i) + 1;
       i = next, next = order_->StepIndex(i, true)) {
    if (order_->EntryTrack(next) == device_track) {
      cd_->current_position = next;
      ShowCurrentTrackTitle();
      view_.RedrawTrackBox();
      return;
    }
  }
}

int PlaybackMonitor::RunEnd(int index) const {
  int i = index;
  for (int next = order_->StepIndex(i, true);
       next > i && order_->EntryTrack(next) == order_->EntryTrack(i) + 1;
       next = order_->StepIndex(i, true)) {
    i = next;
  }
  return i;
}

void PlaybackMonitor::PlayEndNotice(int64_t device) {
  if (!cd_ || device != serial_)
    return;
  // A late notice after Stop must not start anything again.
  if (!cd_->playing || !order_) {
    FullStop();
    return;
  }
  const std::optional<int> current = current_entry();
  if ((settings_.PlayType & kPlayTypeRepeatTrack) && current) {
    cd_->PlayFrom(*current);
    return;
  }
  // The whole run has played, even where a tick missed its last tracks.
  const int last = current ? RunEnd(*current) : -1;
  const int next = order_->StepIndex(last, true);
  if (next < 0) {
    FullStop();
    return;
  }
  if (next <= last && (settings_.PlayType & kPlayTypeRepeatAll) == 0) {
    FullStop();
    if (settings_.DoneEject != 0 && cd_->has_audio)
      cd_->SetDoor(kDoorForceOpen);
    if (settings_.DoNextCD != 0 && drive_list_.count() > 1 && cd_->has_audio)
      NextCdDrive(true);
    return;
  }
  cd_->current_position = next;
  ShowCurrentTrackTitle();
  view_.RedrawTrackBox();
  if (cd_->PlayFrom(next) != kResultOk)
    FullStop();
}

void PlaybackMonitor::DrivePoll() {
  if (!cd_)
    return;
  // A drive that could not be opened is tried again, as a closed door is.
  if (!cd_->device_open()) {
    if (drive_list_.count() > 0)
      post_({WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadInserted});
    return;
  }
  ShowPlaybackNotices();
  const int mode = cd_->GetMode();
  if (mode == kResultOk && !cd_->disc_loaded()) {
    post_({WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadInserted});
  } else if (mode == kResultOk && cd_->playing && !cd_->paused) {
    // Playback ended without a notice.
    FullStop();
  } else if (mode == kResultDriveEmpty && cd_->disc_loaded()) {
    DiscRemoved();
  }
}

void PlaybackMonitor::DiscRemoved() {
  CdState& cd = *cd_;
  SavePlayOrderIfAsked();
  cd.set_disc_loaded(false);
  cd.door_open = true;
  cd.playing = false;
  cd.paused = false;
  view_.StopTimer(PlayerTimer::kPlaybackTick);
  view_.ShowTitleLine(std::nullopt);
  view_.ShowTrackLine(std::nullopt);
  view_.ShowTimer(0, false);
  status_word_ = 0;
  view_.ShowStatusWord(0);
  view_.SetCaption("ZCD");
  view_.SetTrayTip("ZCD");
  view_.ShowSlider(0, true);
  cd.disc().ResetDisc();
  SetShadeLine(ShadeLine::kTitle);
  view_.SetTrayPicture(TrayPicture::kStopped);
  view_.ShowTrackBox(false);
  DestroyPlayOrder();
  if (settings_.EjectQuit != 0) {
    view_.RequestExit();
    return;
  }
  settings_.PlayType &= ~kPlayTypeRepeatTrack;
  view_.ShowModeIndicators();
  view_.SetIdleAnimation(true);
}

void PlaybackMonitor::SavePlayOrderIfAsked() {
  if (!disc_loaded() || !order_ || (settings_.PlayOrder & kPlayOrderSave) == 0)
    return;
  if (SavePlayOrder(*order_, db_path_) == PlayOrderSave::kWriteFailed)
    lookup_.ShowDbWriteError();
}

void PlaybackMonitor::Finish() {
  SavePlayOrderIfAsked();
  if (!cd_)
    return;
  switch (settings_.OnExit) {
    case 0:
      // A plain play without notice keeps the drive playing after we are
      // gone; sound this program makes cannot outlive it, so it stops.
      if (cd_->playing && cd_->SoundEndsWithProgram())
        cd_->StopDevice();
      else if (cd_->playing && !cd_->paused)
        cd_->PlayFrom(kPlayPlain);
      break;
    case 1:
      if (cd_->playing)
        cd_->StopDevice();
      break;
    case 2:
      if (cd_->disc_loaded())
        cd_->SetDoor(kDoorForceOpen);
      break;
    default:
      break;
  }
  Release();
}

void PlaybackMonitor::Release() {
  DestroyPlayOrder();
  if (cd_)
    cd_->disc().ResetDisc();
  cd_.reset();
}

}  // namespace zcd
