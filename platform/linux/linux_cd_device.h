#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "base/unique_fd.h"
#include "cd/cd_device.h"

namespace zcd {

// A CD drive through the kernel's CD-ROM ioctls. Track numbers here are
// 1-based places on the disc, whatever number the disc gives its first track.
// Drives cannot seek audio, so a seek or stop remembers the place and the next
// play from the current position starts there. Internally locked.
class LinuxCdDevice : public CdDevice {
 public:
  // Null when the path does not open or is not a block device. Without shared
  // the drive is opened exclusively.
  static std::unique_ptr<CdDevice> Open(const std::string& path, bool shared);
  explicit LinuxCdDevice(UniqueFd fd) : fd_(std::move(fd)) {}

  std::optional<DeviceMode> Mode() override;
  std::optional<int> TrackCount() override;
  std::optional<bool> IsAudioTrack(int track) override;
  std::optional<Msf> TrackStart(int track) override;
  std::optional<Msf> TrackLength(int track) override;
  bool Play(std::optional<int> from_track, std::optional<int> to_track, bool notify) override;
  bool Stop() override;
  bool Pause() override;
  bool Resume() override;
  bool Seek(const TrackPosition& target) override;
  std::optional<TrackPosition> Position() override;
  bool SetDoor(bool open) override;
  bool TakeCompletion() override;

 private:
  struct TocEntry {
    int32_t frame = 0;
    bool audio = true;
  };
  struct SubChannel {
    int audio_status = 0;
    int disc_track = 0;
    int32_t absolute = 0;
    Msf relative;
  };

  std::optional<std::pair<int, int>> DiscTrackRangeLocked();
  std::optional<TocEntry> EntryLocked(int track);  // track 0: none; beyond the last: lead-out
  std::optional<TocEntry> TrackEntryLocked(int track);
  std::optional<SubChannel> ReadSubChannelLocked();
  std::optional<int32_t> CurrentFrameLocked();
  void DropNotifyLocked();

  UniqueFd fd_;
  std::mutex lock_;
  std::optional<int32_t> cursor_;  // where a stop or seek left the drive
  std::optional<int32_t> notify_end_;
  std::optional<int32_t> last_absolute_;
  bool completion_pending_ = false;
};

}  // namespace zcd
