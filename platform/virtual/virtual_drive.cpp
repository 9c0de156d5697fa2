#include "platform/virtual/virtual_drive.h"

#include <algorithm>
#include <chrono>

namespace zcd {
namespace {

Msf ToMsf(int32_t frames) {
  return {frames / 4500, frames / 75 % 60, frames % 75};
}

}  // namespace

// One open handle: forwards to the drive and tells it who is asking, so a
// completion goes only to the handle whose play earned it.
class VirtualDrive::Handle : public CdDevice {
 public:
  Handle(std::shared_ptr<VirtualDrive> drive, uint64_t id) : drive_(std::move(drive)), id_(id) {}
  ~Handle() override { drive_->Close(id_); }
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;

  std::optional<DeviceMode> Mode() override { return drive_->Mode(); }
  std::optional<int> TrackCount() override { return drive_->TrackCount(); }
  std::optional<bool> IsAudioTrack(int track) override { return drive_->IsAudioTrack(track); }
  std::optional<Msf> TrackStart(int track) override { return drive_->TrackStart(track); }
  std::optional<Msf> TrackLength(int track) override { return drive_->TrackLength(track); }
  bool Play(std::optional<int> from_track, std::optional<int> to_track, bool notify) override {
    return drive_->Play(id_, from_track, to_track, notify);
  }
  bool Stop() override { return drive_->Stop(); }
  bool Pause() override { return drive_->Pause(); }
  bool Resume() override { return drive_->Resume(); }
  bool Seek(const TrackPosition& target) override { return drive_->Seek(target); }
  std::optional<TrackPosition> Position() override { return drive_->Position(); }
  bool SetDoor(bool open) override { return drive_->Door(open); }
  bool TakeCompletion() override { return drive_->TakeCompletion(id_); }

 private:
  std::shared_ptr<VirtualDrive> drive_;
  uint64_t id_;
};

std::shared_ptr<VirtualDrive> VirtualDrive::Create(std::shared_ptr<const Clock> clock,
                                                   std::optional<VirtualDisc> disc) {
  return std::make_shared<VirtualDrive>(ConstructionKey{}, std::move(clock), std::move(disc));
}

VirtualDrive::VirtualDrive(ConstructionKey, std::shared_ptr<const Clock> clock,
                           std::optional<VirtualDisc> disc)
    : clock_(std::move(clock)), disc_(std::move(disc)) {
  if (disc_ && !disc_->tracks.empty())
    cursor_ = disc_->tracks.front().start_frame;
}

std::unique_ptr<CdDevice> VirtualDrive::Open(bool shared) {
  std::lock_guard guard(lock_);
  if (faults_.open_fails || exclusive_handle_ || (!shared && shared_handles_ > 0))
    return nullptr;
  if (shared)
    ++shared_handles_;
  else
    exclusive_handle_ = true;
  return std::make_unique<Handle>(shared_from_this(), next_handle_++ * 2 + (shared ? 0 : 1));
}

// The lowest bit of a handle's id says whether it was opened exclusively.
void VirtualDrive::Close(uint64_t handle) {
  std::lock_guard guard(lock_);
  if (handle & 1)
    exclusive_handle_ = false;
  else
    --shared_handles_;
  if (notify_handle_ == handle)
    DropCompletionLocked();
}

void VirtualDrive::InsertDisc(VirtualDisc disc) {
  std::lock_guard guard(lock_);
  disc_ = std::move(disc);
  door_open_ = false;
  StopLocked();
  cursor_ = disc_->tracks.empty() ? kLeadInFrames : disc_->tracks.front().start_frame;
}

void VirtualDrive::RemoveDisc() {
  std::lock_guard guard(lock_);
  disc_.reset();
  StopLocked();
  cursor_ = kLeadInFrames;
}

void VirtualDrive::SetDoorOpen(bool open) {
  std::lock_guard guard(lock_);
  if (open)
    StopLocked();
  door_open_ = open;
}

void VirtualDrive::SetFaults(const VirtualFaults& faults) {
  std::lock_guard guard(lock_);
  faults_ = faults;
}

std::optional<VirtualDisc> VirtualDrive::Disc() const {
  std::lock_guard guard(lock_);
  return disc_;
}

bool VirtualDrive::DoorOpen() const {
  std::lock_guard guard(lock_);
  return door_open_;
}

int VirtualDrive::OpenHandleCount() const {
  std::lock_guard guard(lock_);
  return shared_handles_ + (exclusive_handle_ ? 1 : 0);
}

std::optional<VirtualPlayCommand> VirtualDrive::LastPlay() const {
  std::lock_guard guard(lock_);
  return last_play_;
}

int VirtualDrive::PlayCount() const {
  std::lock_guard guard(lock_);
  return play_count_;
}

int32_t VirtualDrive::CurrentFrameLocked() const {
  if (mode_ != DeviceMode::kPlaying)
    return cursor_;
  auto elapsed = std::chrono::duration_cast<std::chrono::microseconds>(clock_->Now() - started_);
  int64_t frames = std::max<int64_t>(0, elapsed.count()) * 75 / 1'000'000;
  return static_cast<int32_t>(std::min<int64_t>(cursor_ + frames, end_frame_));
}

void VirtualDrive::AdvanceLocked() {
  if (mode_ != DeviceMode::kPlaying || CurrentFrameLocked() < end_frame_)
    return;
  mode_ = DeviceMode::kStopped;
  cursor_ = end_frame_;
  if (notify_handle_ != 0)
    completion_ready_ = true;
}

bool VirtualDrive::ReadyLocked() const {
  return disc_ && !door_open_;
}

void VirtualDrive::StopLocked() {
  AdvanceLocked();
  cursor_ = CurrentFrameLocked();
  mode_ = DeviceMode::kStopped;
  DropCompletionLocked();
}

void VirtualDrive::DropCompletionLocked() {
  notify_handle_ = 0;
  completion_ready_ = false;
}

std::optional<int32_t> VirtualDrive::TrackStartLocked(int track) const {
  if (!disc_ || track < 1 || track > static_cast<int>(disc_->tracks.size()))
    return std::nullopt;
  return disc_->tracks[track - 1].start_frame;
}

// The last track starting at or before the frame; track 1 before the first.
int VirtualDrive::TrackAtLocked(int32_t frame) const {
  int track = 1;
  for (size_t i = 0; i < disc_->tracks.size(); ++i) {
    if (disc_->tracks[i].start_frame <= frame)
      track = static_cast<int>(i) + 1;
  }
  return track;
}

std::optional<DeviceMode> VirtualDrive::Mode() {
  std::lock_guard guard(lock_);
  if (faults_.status_fails)
    return std::nullopt;
  if (!ReadyLocked())
    return DeviceMode::kOpen;
  AdvanceLocked();
  return mode_;
}

std::optional<int> VirtualDrive::TrackCount() {
  std::lock_guard guard(lock_);
  if (faults_.status_fails || faults_.toc_unreadable || !ReadyLocked())
    return std::nullopt;
  return static_cast<int>(disc_->tracks.size());
}

std::optional<bool> VirtualDrive::IsAudioTrack(int track) {
  std::lock_guard guard(lock_);
  if (faults_.status_fails || faults_.toc_unreadable || !ReadyLocked() || !TrackStartLocked(track))
    return std::nullopt;
  return disc_->tracks[track - 1].audio;
}

std::optional<Msf> VirtualDrive::TrackStart(int track) {
  std::lock_guard guard(lock_);
  if (faults_.status_fails || faults_.toc_unreadable || !ReadyLocked())
    return std::nullopt;
  auto start = TrackStartLocked(track);
  if (!start)
    return std::nullopt;
  return ToMsf(*start);
}

// A drive reports the last track one frame short of the lead-out.
std::optional<Msf> VirtualDrive::TrackLength(int track) {
  std::lock_guard guard(lock_);
  if (faults_.status_fails || faults_.toc_unreadable || !ReadyLocked())
    return std::nullopt;
  auto start = TrackStartLocked(track);
  if (!start)
    return std::nullopt;
  auto next = TrackStartLocked(track + 1);
  return ToMsf(next ? *next - *start : disc_->lead_out_frame - *start - 1);
}

bool VirtualDrive::Play(uint64_t handle, std::optional<int> from_track, std::optional<int> to_track,
                        bool notify) {
  std::lock_guard guard(lock_);
  last_play_ = VirtualPlayCommand{from_track, to_track, notify};
  ++play_count_;
  if (faults_.commands_fail || !ReadyLocked())
    return false;
  AdvanceLocked();
  std::optional<int32_t> start = from_track ? TrackStartLocked(*from_track) : CurrentFrameLocked();
  std::optional<int32_t> end = to_track ? TrackStartLocked(*to_track) : disc_->lead_out_frame;
  if (!start || !end || *end <= *start)
    return false;
  mode_ = DeviceMode::kPlaying;
  cursor_ = *start;
  started_ = clock_->Now();
  end_frame_ = *end;
  notify_handle_ = notify ? handle : 0;
  completion_ready_ = false;
  return true;
}

bool VirtualDrive::Stop() {
  std::lock_guard guard(lock_);
  if (faults_.commands_fail || !ReadyLocked())
    return false;
  StopLocked();
  return true;
}

bool VirtualDrive::Pause() {
  std::lock_guard guard(lock_);
  if (faults_.commands_fail || !ReadyLocked())
    return false;
  AdvanceLocked();
  if (mode_ == DeviceMode::kPlaying) {
    cursor_ = CurrentFrameLocked();
    mode_ = DeviceMode::kPaused;
  }
  return mode_ == DeviceMode::kPaused;
}

bool VirtualDrive::Resume() {
  std::lock_guard guard(lock_);
  if (faults_.commands_fail || !ReadyLocked())
    return false;
  AdvanceLocked();
  if (mode_ == DeviceMode::kPaused) {
    mode_ = DeviceMode::kPlaying;
    started_ = clock_->Now();
  }
  return mode_ == DeviceMode::kPlaying;
}

// Only a time inside the track is a place to seek to.
bool VirtualDrive::Seek(const TrackPosition& target) {
  std::lock_guard guard(lock_);
  if (faults_.commands_fail || !ReadyLocked())
    return false;
  auto start = TrackStartLocked(target.track);
  if (!start || target.minutes < 0 || target.seconds < 0 || target.seconds >= 60 ||
      target.frames < 0 || target.frames >= 75)
    return false;
  auto next = TrackStartLocked(target.track + 1);
  int32_t end = next ? *next : disc_->lead_out_frame;
  int64_t frame =
      *start + (static_cast<int64_t>(target.minutes) * 60 + target.seconds) * 75 + target.frames;
  if (frame >= end)
    return false;
  StopLocked();
  cursor_ = static_cast<int32_t>(frame);
  return true;
}

std::optional<TrackPosition> VirtualDrive::Position() {
  std::lock_guard guard(lock_);
  if (faults_.status_fails || faults_.toc_unreadable || !ReadyLocked() || disc_->tracks.empty())
    return std::nullopt;
  AdvanceLocked();
  int32_t frame = CurrentFrameLocked();
  int track = TrackAtLocked(frame);
  Msf into = ToMsf(std::max(0, frame - disc_->tracks[track - 1].start_frame));
  return TrackPosition{track, into.minutes, into.seconds, into.frames};
}

bool VirtualDrive::Door(bool open) {
  std::lock_guard guard(lock_);
  if (faults_.door_jammed)
    return false;
  if (open)
    StopLocked();
  door_open_ = open;
  return true;
}

bool VirtualDrive::TakeCompletion(uint64_t handle) {
  std::lock_guard guard(lock_);
  AdvanceLocked();
  if (!completion_ready_ || notify_handle_ != handle)
    return false;
  DropCompletionLocked();
  return true;
}

}  // namespace zcd
