#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>

#include "cd/cd_device.h"
#include "platform/virtual/clock.h"
#include "platform/virtual/virtual_disc.h"

namespace zcd {

// What one Play command asked for, as a test inspects it.
struct VirtualPlayCommand {
  std::optional<int> from_track;
  std::optional<int> to_track;
  bool notify = false;
  bool operator==(const VirtualPlayCommand&) const = default;
};

// Ways the drive can misbehave, switched on by tests.
struct VirtualFaults {
  bool open_fails = false;      // every open fails
  bool status_fails = false;    // every status query fails, the mode included
  bool toc_unreadable = false;  // the mode answers; the table of contents and position do not
  bool door_jammed = false;     // door commands fail
  bool commands_fail = false;   // play, stop, pause, resume and seek fail
};

// A CD drive with no hardware behind it. It is the drive itself, not one open
// handle: the disc, the door and playback live here and outlive the handles
// that Open hands out, so a disc can still be playing when a program opens
// the drive again. Playback moves with the injected clock. A non-shared handle
// keeps the drive to itself. Every member is safe to call from any thread.
class VirtualDrive : public std::enable_shared_from_this<VirtualDrive> {
  struct ConstructionKey {
    explicit ConstructionKey() = default;
  };

 public:
  static std::shared_ptr<VirtualDrive> Create(std::shared_ptr<const Clock> clock,
                                              std::optional<VirtualDisc> disc = std::nullopt);
  VirtualDrive(ConstructionKey, std::shared_ptr<const Clock> clock,
               std::optional<VirtualDisc> disc);
  VirtualDrive(const VirtualDrive&) = delete;
  VirtualDrive& operator=(const VirtualDrive&) = delete;

  // Null when the open-fails fault is on, when an exclusive handle lives, or,
  // for an exclusive open, when any handle lives.
  std::unique_ptr<CdDevice> Open(bool shared);

  // What a person does at the drive: put a disc in (closing the door), take
  // it out, push the door button. Each stops playback and drops any
  // completion still owed.
  void InsertDisc(VirtualDisc disc);
  void RemoveDisc();
  void SetDoorOpen(bool open);
  void SetFaults(const VirtualFaults& faults);

  // Inspection.
  std::optional<VirtualDisc> Disc() const;
  bool DoorOpen() const;
  int OpenHandleCount() const;
  std::optional<VirtualPlayCommand> LastPlay() const;
  int PlayCount() const;

 private:
  class Handle;
  friend class Handle;

  // The playing state as of now: a play that reached its end has stopped
  // there and owes its completion.
  void AdvanceLocked();
  int32_t CurrentFrameLocked() const;
  bool ReadyLocked() const;
  void StopLocked();
  void DropCompletionLocked();
  std::optional<int32_t> TrackStartLocked(int track) const;
  int TrackAtLocked(int32_t frame) const;

  void Close(uint64_t handle);
  std::optional<DeviceMode> Mode();
  std::optional<int> TrackCount();
  std::optional<bool> IsAudioTrack(int track);
  std::optional<Msf> TrackStart(int track);
  std::optional<Msf> TrackLength(int track);
  bool Play(uint64_t handle, std::optional<int> from_track, std::optional<int> to_track,
            bool notify);
  bool Stop();
  bool Pause();
  bool Resume();
  bool Seek(const TrackPosition& target);
  std::optional<TrackPosition> Position();
  bool Door(bool open);
  bool TakeCompletion(uint64_t handle);

  const std::shared_ptr<const Clock> clock_;
  mutable std::mutex lock_;
  std::optional<VirtualDisc> disc_;
  bool door_open_ = false;
  VirtualFaults faults_;

  int shared_handles_ = 0;
  bool exclusive_handle_ = false;
  uint64_t next_handle_ = 1;

  // Playback: while playing, the position is cursor_ plus the frames since
  // started_; otherwise it is cursor_.
  DeviceMode mode_ = DeviceMode::kStopped;
  int32_t cursor_ = kLeadInFrames;
  Clock::TimePoint started_{};
  int32_t end_frame_ = 0;
  uint64_t notify_handle_ = 0;  // 0: no completion owed
  bool completion_ready_ = false;

  std::optional<VirtualPlayCommand> last_play_;
  int play_count_ = 0;
};

}  // namespace zcd
