#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <vector>

#include "audio/pcm_sink.h"
#include "audio/playback_engine.h"
#include "audio/sector_source.h"
#include "audio/stream_gain.h"
#include "cd/cd_device.h"

namespace zcd {

// Where digital playback sends its sound.
struct DigitalOutput {
  PcmSinkOpener open_sink;
  std::shared_ptr<const StreamGain> gain;
};

// A drive whose audio this program reads and plays through the sound card.
// The drive's own device still answers for the table of contents, the door
// and whether a disc is in; play, pause, seek and position are this
// program's and follow the samples heard. When the sound device will not
// open, the play goes to the drive itself (its own audio output, or a
// virtual drive's silent clock) and a notice says so, once.
// Internally locked, like every device.
class DigitalCdDevice : public CdDevice {
 public:
  DigitalCdDevice(std::unique_ptr<CdDevice> drive, SectorSourceOpener open_source,
                  DigitalOutput output);
  ~DigitalCdDevice() override;

  std::optional<DeviceMode> Mode() override;
  std::optional<int> TrackCount() override { return drive_->TrackCount(); }
  std::optional<bool> IsAudioTrack(int track) override { return drive_->IsAudioTrack(track); }
  std::optional<Msf> TrackStart(int track) override { return drive_->TrackStart(track); }
  std::optional<Msf> TrackLength(int track) override { return drive_->TrackLength(track); }
  bool Play(std::optional<int> from_track, std::optional<int> to_track, bool notify) override;
  bool Stop() override;
  bool Pause() override;
  bool Resume() override;
  bool Seek(const TrackPosition& target) override;
  std::optional<TrackPosition> Position() override;
  bool SetDoor(bool open) override;
  bool TakeCompletion() override;
  std::optional<PlaybackNotice> TakeNotice() override;
  bool SoundEndsWithProgram() override;

 private:
  enum class Route { kDigital, kDrive };

  // Absolute frames of each track's start, then the lead-out; none when the
  // drive cannot tell.
  std::optional<std::vector<int32_t>> ReadTocLocked();
  // The disc's table of contents read anew into toc_: its track count, none
  // without a disc or contents.
  std::optional<int> LoadTocLocked();
  // False, and playback halted, when the disc is gone; otherwise takes
  // what the engine did meanwhile.
  bool DiscInLocked();
  // Takes what the engine finished or failed at, and its events.
  void CatchUpLocked();
  void HaltLocked();
  std::optional<TrackPosition> PositionOfLocked(int64_t place) const;
  std::string WhereLocked(int32_t frame) const;

  std::unique_ptr<CdDevice> drive_;
  SectorSourceOpener open_source_;
  DigitalOutput output_;

  std::mutex lock_;
  std::unique_ptr<PlaybackEngine> engine_;
  Route route_ = Route::kDigital;
  DeviceMode mode_ = DeviceMode::kStopped;
  std::vector<int32_t> toc_;
  int64_t cursor_ = 0;  // where a stop, pause or seek left playback
  int64_t end_ = 0;
  bool notify_ = false;
  bool completion_ready_ = false;
  bool told_no_sound_ = false;
  std::deque<PlaybackNotice> notices_;
};

}  // namespace zcd
