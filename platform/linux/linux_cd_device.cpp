// <climits> must come before the kernel header, which uses INT_MAX unguarded.
#include <climits>

#include <linux/cdrom.h>

#include "platform/linux/linux_cd_device.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <sys/stat.h>

#include <algorithm>
#include <utility>

namespace zcd {
namespace {

int32_t ToFrames(const cdrom_msf0& msf) {
  return (msf.minute * 60 + msf.second) * 75 + msf.frame;
}

Msf ToMsf(int32_t frames) {
  return {frames / 4500, frames / 75 % 60, frames % 75};
}

void SetMsf(int32_t frames, __u8& minute, __u8& second, __u8& frame) {
  minute = static_cast<__u8>(frames / 4500);
  second = static_cast<__u8>(frames / 75 % 60);
  frame = static_cast<__u8>(frames % 75);
}

// A play whose sub-channel stops answering "playing" this close to its end ran out.
constexpr int32_t kEndSlackFrames = 2 * 75;

}  // namespace

std::unique_ptr<CdDevice> LinuxCdDevice::Open(const std::string& path, bool shared) {
  UniqueFd fd(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | (shared ? 0 : O_EXCL)));
  struct stat info {};
  if (!fd.valid() || ::fstat(fd.get(), &info) != 0 || !S_ISBLK(info.st_mode))
    return nullptr;
  return std::make_unique<LinuxCdDevice>(std::move(fd));
}

// The first and last track numbers the disc uses.
std::optional<std::pair<int, int>> LinuxCdDevice::DiscTrackRangeLocked() {
  cdrom_tochdr header{};
  if (::ioctl(fd_.get(), CDROMREADTOCHDR, &header) != 0 || header.cdth_trk1 < header.cdth_trk0)
    return std::nullopt;
  return std::pair<int, int>(header.cdth_trk0, header.cdth_trk1);
}

std::optional<LinuxCdDevice::TocEntry> LinuxCdDevice::EntryLocked(int track) {
  auto range = DiscTrackRangeLocked();
  if (!range || track < 1)
    return std::nullopt;
  int disc_track = range->first + track - 1;
  cdrom_tocentry entry{};
  entry.cdte_track = static_cast<__u8>(disc_track > range->second ? CDROM_LEADOUT : disc_track);
  entry.cdte_format = CDROM_MSF;
  if (::ioctl(fd_.get(), CDROMREADTOCENTRY, &entry) != 0)
    return std::nullopt;
  return TocEntry{ToFrames(entry.cdte_addr.msf), (entry.cdte_ctrl & CDROM_DATA_TRACK) == 0};
}

// Every read also settles a pending notice: drives often say "completed" only
// once, so whoever reads it first records it for TakeCompletion. A play that
// stopped short of its end (stopped by another program) owes nothing.
std::optional<LinuxCdDevice::SubChannel> LinuxCdDevice::ReadSubChannelLocked() {
  cdrom_subchnl sub{};
  sub.cdsc_format = CDROM_MSF;
  if (::ioctl(fd_.get(), CDROMSUBCHNL, &sub) != 0)
    return std::nullopt;
  SubChannel result{sub.cdsc_audiostatus, sub.cdsc_trk, ToFrames(sub.cdsc_absaddr.msf),
                    ToMsf(ToFrames(sub.cdsc_reladdr.msf))};
  bool active =
      result.audio_status == CDROM_AUDIO_PLAY || result.audio_status == CDROM_AUDIO_PAUSED;
  if (active)
    last_absolute_ = result.absolute;
  bool reached_end = result.audio_status == CDROM_AUDIO_COMPLETED ||
                     (!active && notify_end_ && last_absolute_ &&
                      *last_absolute_ + kEndSlackFrames >= *notify_end_);
  if (notify_end_ && reached_end) {
    completion_pending_ = true;
    notify_end_.reset();
  }
  return result;
}

std::optional<int32_t> LinuxCdDevice::CurrentFrameLocked() {
  if (cursor_)
    return cursor_;
  auto sub = ReadSubChannelLocked();
  if (!sub)
    return std::nullopt;
  return sub->absolute;
}

void LinuxCdDevice::DropNotifyLocked() {
  notify_end_.reset();
  completion_pending_ = false;
}

std::optional<DeviceMode> LinuxCdDevice::Mode() {
  std::lock_guard guard(lock_);
  int status = ::ioctl(fd_.get(), CDROM_DRIVE_STATUS, CDSL_CURRENT);
  if (status < 0)
    return std::nullopt;
  if (status == CDS_TRAY_OPEN || status == CDS_NO_DISC)
    return DeviceMode::kOpen;
  if (status == CDS_DRIVE_NOT_READY)
    return DeviceMode::kNotReady;
  auto sub = ReadSubChannelLocked();
  if (sub && sub->audio_status == CDROM_AUDIO_PLAY)
    return DeviceMode::kPlaying;
  if (sub && sub->audio_status == CDROM_AUDIO_PAUSED)
    return DeviceMode::kPaused;
  return DeviceMode::kStopped;
}

std::optional<int> LinuxCdDevice::TrackCount() {
  std::lock_guard guard(lock_);
  auto range = DiscTrackRangeLocked();
  if (!range)
    return std::nullopt;
  return range->second - range->first + 1;
}

// A track of the disc, never the lead-out.
std::optional<LinuxCdDevice::TocEntry> LinuxCdDevice::TrackEntryLocked(int track) {
  auto range = DiscTrackRangeLocked();
  if (!range || track > range->second - range->first + 1)
    return std::nullopt;
  return EntryLocked(track);
}

std::optional<bool> LinuxCdDevice::IsAudioTrack(int track) {
  std::lock_guard guard(lock_);
  auto entry = TrackEntryLocked(track);
  if (!entry)
    return std::nullopt;
  return entry->audio;
}

std::optional<Msf> LinuxCdDevice::TrackStart(int track) {
  std::lock_guard guard(lock_);
  auto entry = TrackEntryLocked(track);
  if (!entry)
    return std::nullopt;
  return ToMsf(entry->frame);
}

// The device contract gives the last track one frame short of the lead-out.
std::optional<Msf> LinuxCdDevice::TrackLength(int track) {
  std::lock_guard guard(lock_);
  auto range = DiscTrackRangeLocked();
  if (!range || track > range->second - range->first + 1)
    return std::nullopt;
  auto start = EntryLocked(track);
  auto next = EntryLocked(track + 1);
  if (!start || !next || next->frame <= start->frame)
    return std::nullopt;
  bool last = track == range->second - range->first + 1;
  return ToMsf(next->frame - start->frame - (last ? 1 : 0));
}

bool LinuxCdDevice::Play(std::optional<int> from_track, std::optional<int> to_track, bool notify) {
  std::lock_guard guard(lock_);
  auto range = DiscTrackRangeLocked();
  if (!range)
    return false;
  int count = range->second - range->first + 1;
  std::optional<int32_t> start;
  if (from_track) {
    auto entry = *from_track <= count ? EntryLocked(*from_track) : std::nullopt;
    if (entry)
      start = entry->frame;
  } else {
    // A stopped drive may report no place at all; start with the first track then.
    auto first = EntryLocked(1);
    start = CurrentFrameLocked();
    if (start && first)
      start = std::max(*start, first->frame);
  }
  auto end = EntryLocked(to_track && *to_track <= count ? *to_track : count + 1);
  if (!start || !end || end->frame <= *start)
    return false;
  cdrom_msf msf{};
  SetMsf(*start, msf.cdmsf_min0, msf.cdmsf_sec0, msf.cdmsf_frame0);
  SetMsf(end->frame, msf.cdmsf_min1, msf.cdmsf_sec1, msf.cdmsf_frame1);
  DropNotifyLocked();
  if (::ioctl(fd_.get(), CDROMPLAYMSF, &msf) != 0)
    return false;
  cursor_.reset();
  last_absolute_ = *start;
  if (notify)
    notify_end_ = end->frame;
  return true;
}

bool LinuxCdDevice::Stop() {
  std::lock_guard guard(lock_);
  std::optional<int32_t> here = CurrentFrameLocked();
  DropNotifyLocked();
  if (::ioctl(fd_.get(), CDROMSTOP) != 0)
    return false;
  cursor_ = here;
  return true;
}

bool LinuxCdDevice::Pause() {
  std::lock_guard guard(lock_);
  return ::ioctl(fd_.get(), CDROMPAUSE) == 0;
}

bool LinuxCdDevice::Resume() {
  std::lock_guard guard(lock_);
  return ::ioctl(fd_.get(), CDROMRESUME) == 0;
}

bool LinuxCdDevice::Seek(const TrackPosition& target) {
  std::lock_guard guard(lock_);
  auto start = EntryLocked(target.track);
  auto next = EntryLocked(target.track + 1);
  auto range = DiscTrackRangeLocked();
  if (!range || target.track > range->second - range->first + 1 || !start || !next ||
      target.minutes < 0 || target.seconds < 0 || target.seconds >= 60 || target.frames < 0 ||
      target.frames >= 75)
    return false;
  int32_t frame = start->frame + (target.minutes * 60 + target.seconds) * 75 + target.frames;
  if (frame >= next->frame)
    return false;
  DropNotifyLocked();
  auto sub = ReadSubChannelLocked();
  if (sub && (sub->audio_status == CDROM_AUDIO_PLAY || sub->audio_status == CDROM_AUDIO_PAUSED) &&
      ::ioctl(fd_.get(), CDROMSTOP) != 0)
    return false;
  cursor_ = frame;
  return true;
}

std::optional<TrackPosition> LinuxCdDevice::Position() {
  std::lock_guard guard(lock_);
  auto range = DiscTrackRangeLocked();
  if (!range)
    return std::nullopt;
  int count = range->second - range->first + 1;
  if (!cursor_) {
    auto sub = ReadSubChannelLocked();
    if (!sub)
      return std::nullopt;
    int track = std::clamp(sub->disc_track - range->first + 1, 1, count);
    return TrackPosition{track, sub->relative.minutes, sub->relative.seconds, sub->relative.frames};
  }
  int track = 1;
  int32_t track_start = 0;
  for (int t = 1; t <= count; ++t) {
    auto entry = EntryLocked(t);
    if (!entry)
      return std::nullopt;
    if (t == 1 || entry->frame <= *cursor_) {
      track = t;
      track_start = entry->frame;
    }
  }
  Msf into = ToMsf(std::max(0, *cursor_ - track_start));
  return TrackPosition{track, into.minutes, into.seconds, into.frames};
}

bool LinuxCdDevice::SetDoor(bool open) {
  std::lock_guard guard(lock_);
  if (open) {
    DropNotifyLocked();
    cursor_.reset();
    return ::ioctl(fd_.get(), CDROMEJECT) == 0;
  }
  return ::ioctl(fd_.get(), CDROMCLOSETRAY) == 0;
}

bool LinuxCdDevice::TakeCompletion() {
  std::lock_guard guard(lock_);
  if (notify_end_)
    ReadSubChannelLocked();
  return std::exchange(completion_pending_, false);
}

}  // namespace zcd
