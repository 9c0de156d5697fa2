#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "base/message.h"
#include "base/settings.h"
#include "cd/cd_state.h"
#include "cd/disc_lookup.h"
#include "cd/drive_list.h"
#include "cd/play_order.h"
#include "cd/play_time.h"
#include "cd/player_view.h"

namespace zcd {

// The transport strip's buttons, also what menus and keys ask for.
enum class Transport {
  kEject = 0,
  kTrackBack = 1,
  kTrackForward = 2,
  kStop = 3,
  kPause = 4,
  kPlay = 5
};

// Follows playback through the play order and carries out the automatic
// actions: loading discs, the one-second tick, the end-of-play notice, the
// drive poll, the transport commands and the time arithmetic behind the
// timer and the slider. It owns the CdState and the play order and is the
// only code that changes their state; it shows everything through the
// PlayerView. Window thread only.
class PlaybackMonitor {
 public:
  struct Services {
    Settings& settings;
    CdDriveSource& drives;
    PlayerView& view;
    DiscLookupHooks& lookup;
    // Posts a message to the window thread's queue; any thread.
    std::function<void(const Message&)> post;
    std::string db_path;
    RandomSource random = ClockSeededRandom();
  };

  explicit PlaybackMonitor(Services services);
  ~PlaybackMonitor();
  PlaybackMonitor(const PlaybackMonitor&) = delete;
  PlaybackMonitor& operator=(const PlaybackMonitor&) = delete;

  // Lists the drives, settles on UseDrive or the first CD drive and builds
  // its CdState; the load itself is requested by message.
  void Start();

  // Null while there is none.
  CdState* cd() { return cd_.get(); }
  const CdState* cd() const { return cd_.get(); }
  PlayOrderList* play_order() { return order_.get(); }
  const PlayOrderList* play_order() const { return order_.get(); }
  const CdDriveList& drive_list() const { return drive_list_; }
  int current_drive() const { return settings_.UseDrive; }
  bool disc_loaded() const { return cd_ && cd_->disc_loaded(); }
  bool playing() const { return cd_ && cd_->playing; }
  bool paused() const { return cd_ && cd_->paused; }
  // The entry being played or about to be; none without a play order.
  std::optional<int> current_entry() const;
  ShadeLine shade_line() const { return shade_line_; }
  int status_word() const { return status_word_; }

  // The load-disc request: opens the drive and hands the result on.
  void LoadDisc(int64_t reason);
  void HandleLoadResult(int code, int64_t reason);
  void FullStop();
  void NextCdDrive(bool from_end_of_order);
  void PlaybackTick();
  void DrivePoll();
  // Shows what playback reported: a skipped stretch for a moment, a failed
  // sound device until the next play, which it stopped.
  void ShowPlaybackNotices();
  // `device` names the CdState the notice came from: one of a drive the
  // player has since let go is stale and ignored.
  void PlayEndNotice(int64_t device);
  int64_t device_serial() const { return serial_; }
  // Main timer 4: the current track's title comes back after a hover.
  void DisplayRestore();
  void ChangeDrive(int drive_index);
  // Stops, opens the same drive again and loads its disc.
  void ReopenDrive();

  void Run(Transport command);
  // Plays entry i (message 1094, command 20000 + i); false when out of range.
  bool PlayEntry(int index);
  // Plays the first entry holding track (message 1107); false when none does.
  bool PlayTrack(int track);
  void InvertRemoved();
  // After the track box moved, copied, removed or restored entries: the
  // length is counted again and a playing run is played again so that its
  // end follows the list.
  void OrderEdited();
  void SetTimerType(int timer_type);
  // Toggles one PlayType bit: repeat all and repeat track exclude each
  // other; shuffle reorders the list (copies and removed flags kept) and
  // finds the playing track again. A playing run is played again so that
  // its end follows the new mode.
  void TogglePlayType(int bit);
  // The slider released at percent while playing.
  void SeekToPercent(int percent);
  // What the timer shows while the slider knob is dragged to percent.
  int32_t SliderSecondsFor(int percent) const;
  // After IgnoreSec changed: the default order again, the playing track
  // found again or playback stopped.
  void RebuildPlayOrder();
  // The CDDB status message.
  void CddbStatus(int code);
  // A cached disc was found by a later query: when the drive holds it, its
  // new entry is read in and shown.
  void ReloadDiscInfo(const std::string& disc_id);

  // The disc's texts were edited and stored: the display shows them anew.
  void DiscTextsEdited() {
    if (disc_loaded())
      ShowDiscTexts();
  }
  // The playing track from 1; 0 while nothing plays.
  int playing_track() const { return playing() ? CurrentTrack() : 0; }

  // The timer as painting shows it: seconds and whether it is lit.
  std::pair<int32_t, bool> TimerDisplay();
  int SliderPercentNow();
  // The current entry's track title; none while not playing.
  OptText PlayingTrackTitle() const;

  // Saves the play order with the disc's entry when PlayOrder asks for it.
  void SavePlayOrderIfAsked();
  // The orderly end: the play order saved, the OnExit action applied, the
  // drive let go.
  void Finish();
  // Lets the drive go as it is.
  void Release();

 private:
  std::unique_ptr<CdState> MakeCdState(int drive_index);
  void DestroyPlayOrder();
  void ReplaceCdState(int drive_index);
  void LoadSucceeded(int code, int64_t reason);
  void ShowLoadFailure(int code);
  void ShowDiscTitle();
  // The disc's texts again after its entry changed.
  void ShowDiscTexts();
  void ShowCurrentTrackTitle();
  OptText CurrentTrackTitle() const;
  int CurrentTrack() const;
  void ShowStoppedCaption(size_t max_chars);
  void ShowPlayingText(int32_t timer);
  void SetShadeLine(ShadeLine line);
  bool StartPlaying(int index);
  void Step(bool forward);
  void TogglePause();
  void Eject();
  void DiscRemoved();
  void FollowDrive(int device_track);
  // The last entry of the run of consecutive tracks that starts at index.
  int RunEnd(int index) const;
  bool FindPlayingTrack();
  void ReplayIfPlaying();
  TrackPosition DrivePosition();
  PlayClock Clock();
  PlayClock ClockAt(const TrackPosition& at);
  void ShowTimerNow();
  void ShowPlayingTime();

  Settings& settings_;
  CdDriveSource& drives_;
  PlayerView& view_;
  DiscLookupHooks& lookup_;
  std::function<void(const Message&)> post_;
  std::string db_path_;
  RandomSource random_;
  CdDriveList drive_list_;
  std::unique_ptr<CdState> cd_;
  // Declared after cd_: the play order refers to it and must go first.
  std::unique_ptr<PlayOrderList> order_;
  // Counts the CdStates made, to tell their notices apart.
  int64_t serial_ = 0;
  ShadeLine shade_line_ = ShadeLine::kTitle;
  int status_word_ = 0;
};

}  // namespace zcd
