#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace zcd {

// What the drive reports it is doing.
enum class DeviceMode {
  kStopped,
  kPlaying,
  kPaused,
  kOpen,  // door open, or no disc in the drive
  kNotReady,
  kSeeking,
};

// Minutes, seconds and frames (1/75 s).
struct Msf {
  int minutes = 0;
  int seconds = 0;
  int frames = 0;
  bool operator==(const Msf&) const = default;
};

// A position inside a track: the track and the time into it.
struct TrackPosition {
  int track = 0;
  int minutes = 0;
  int seconds = 0;
  int frames = 0;
  bool operator==(const TrackPosition&) const = default;
};

// Something playback wants the user told: a stretch it skipped, or why it
// stopped.
struct PlaybackNotice {
  std::string text;
  bool stopped = false;  // playback ended here, without a completion
  bool operator==(const PlaybackNotice&) const = default;
};

// The contract every drive backend honours. One open handle on one drive.
// Optional results and false mean the command failed. Implementations are
// internally locked: TakeCompletion is polled from a watcher thread while the
// window thread issues the other commands.
class CdDevice {
 public:
  virtual ~CdDevice() = default;

  virtual std::optional<DeviceMode> Mode() = 0;
  // As the drive reports it; may exceed 100.
  virtual std::optional<int> TrackCount() = 0;
  virtual std::optional<bool> IsAudioTrack(int track) = 0;
  // Absolute start of a track, lead-in included.
  virtual std::optional<Msf> TrackStart(int track) = 0;
  // The drive's length of a track; for the last track the distance to the
  // lead-out less one frame.
  virtual std::optional<Msf> TrackLength(int track) = 0;

  // Plays from the start of from_track (the current position when none) to the
  // start of to_track (the end of the disc when none). With notify, the end of
  // this play is reported once through TakeCompletion; a later play, a stop or
  // an opened door cancels that report.
  virtual bool Play(std::optional<int> from_track, std::optional<int> to_track, bool notify) = 0;
  virtual bool Stop() = 0;
  virtual bool Pause() = 0;
  virtual bool Resume() = 0;
  // Moves to a time inside a track and leaves the drive stopped there.
  virtual bool Seek(const TrackPosition& target) = 0;
  virtual std::optional<TrackPosition> Position() = 0;
  virtual bool SetDoor(bool open) = 0;

  // Any thread: true exactly once for each notifying play that ran to its end.
  virtual bool TakeCompletion() = 0;
  // Any thread: the oldest notice not taken yet.
  virtual std::optional<PlaybackNotice> TakeNotice() { return std::nullopt; }
  // True when this program makes the sound itself, so it cannot go on
  // playing after the program ends.
  virtual bool SoundEndsWithProgram() { return false; }
};

// The machine's drives, by index (0 = A .. 25 = Z).
class CdDriveSource {
 public:
  virtual ~CdDriveSource() = default;
  // Indices of every CD drive, ascending.
  virtual std::vector<int> CdDriveIndices() const = 0;
  // Null when the drive is unknown or cannot be opened. Without shared the
  // drive is opened for this program alone.
  virtual std::unique_ptr<CdDevice> OpenDrive(int drive_index, bool shared) = 0;
};

}  // namespace zcd
