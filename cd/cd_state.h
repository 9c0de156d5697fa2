#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>

#include "cd/cd_device.h"
#include "cd/play_order_view.h"
#include "discdb/disc_record.h"

namespace zcd {

class CompletionWatcher;

// Result codes of the device operations.
enum DeviceResult : int {
  kResultOk = 0,
  kResultPlaying = 1,
  kResultOpenFailed = 10,
  kResultStatusFailed = 20,
  kResultSetFailed = 30,
  kResultCommandFailed = 40,
  kResultDriveEmpty = 60,
  kResultSeekFailed = 70,
};

// SeekTo mode bits.
inline constexpr int kSeekOverPlayOrder = 1;
inline constexpr int kSeekFromEnd = 2;
// SetDoor flag bits.
inline constexpr int kDoorForceOpen = 1;
inline constexpr int kDoorForceClose = 2;

// Packed TMSF as the rest of the player passes positions around:
// track in byte 0, minutes in 1, seconds in 2, frames in 3.
uint32_t PackTmsf(const TrackPosition& position);
TrackPosition UnpackTmsf(uint32_t packed);

// The one object for the drive in use: the disc record with the device and
// playback fields. Window thread only, except the disc record's texts.
class CdState {
 public:
  // on_play_complete is called from a watcher thread when a notifying play
  // reaches its end; without it nothing watches the device.
  CdState(CdDriveSource& drives, int drive_index, bool shared,
          std::function<void()> on_play_complete = {});
  ~CdState();
  CdState(const CdState&) = delete;
  CdState& operator=(const CdState&) = delete;

  DiscRecord& disc() { return *disc_; }
  const DiscRecord& disc() const { return *disc_; }
  // For a worker that fills the record and may outlive this state: the
  // record, and the disc-loaded flag, which goes false for good once this
  // state goes.
  std::shared_ptr<DiscRecord> shared_disc() const { return disc_; }
  std::shared_ptr<const std::atomic<bool>> loaded_flag() const { return loaded_; }
  int drive_index() const { return drive_index_; }
  bool device_open() const { return device_ != nullptr; }

  // The play order the device code walks; null while none exists.
  void SetPlayOrder(const PlayOrderView* play_order) { play_order_ = play_order; }
  const PlayOrderView* play_order() const { return play_order_; }

  int OpenDisc();
  int GetMode();
  int PlayFrom(int position);
  int StopDevice();
  int TogglePause();
  int SetDoor(int flags);
  // Seconds are full width: a long play order passes 65535 seconds.
  int SeekTo(int32_t seconds, int track, int mode);
  uint32_t GetPosition();
  // What playback wants the user told, oldest first; none when nothing is.
  std::optional<PlaybackNotice> TakeNotice() {
    return device_ ? device_->TakeNotice() : std::nullopt;
  }
  // True when the sound comes from this program and ends with it.
  bool SoundEndsWithProgram() { return device_ && device_->SoundEndsWithProgram(); }

  // Device and playback fields.
  std::array<int32_t, kMaxTracks> audio_flags{};
  bool has_audio = false;
  int32_t play_order_seconds = 0;
  bool playing = false;
  bool paused = false;
  bool door_open = false;
  int32_t current_position = 0;
  bool disc_loaded() const { return loaded_->load(); }
  void set_disc_loaded(bool loaded) { loaded_->store(loaded); }

 private:
  int PlayRange(std::optional<TrackRange> range, bool from_current);
  int SeekInTrack(int track, int seconds);
  void CloseDevice();

  CdDriveSource& drives_;
  int drive_index_;
  bool shared_;
  std::function<void()> on_play_complete_;
  std::shared_ptr<DiscRecord> disc_ = std::make_shared<DiscRecord>();
  std::shared_ptr<std::atomic<bool>> loaded_ = std::make_shared<std::atomic<bool>>(false);
  std::unique_ptr<CdDevice> device_;
  std::unique_ptr<CompletionWatcher> watcher_;
  const PlayOrderView* play_order_ = nullptr;
};

}  // namespace zcd
