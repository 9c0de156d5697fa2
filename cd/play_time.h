#pragma once

#include <cstdint>

#include "cd/cd_device.h"
#include "cd/play_order_view.h"
#include "discdb/disc_record.h"

namespace zcd {

// TimerType and slider mode bits.
inline constexpr int kTimeOverPlayOrder = 1;  // else the current track
inline constexpr int kTimeRemaining = 2;      // else elapsed

// The timer shows mm:ss up to 99:59.
inline constexpr int32_t kMaxTimerSeconds = 5999;

// What the time arithmetic reads: the drive's position and the lengths it
// is measured against. Seconds are full width: a long play order is never
// cut to 8-bit minutes.
struct PlayClock {
  TrackPosition position;     // track 0: the drive named no track
  int32_t track_seconds = 0;  // length of the position's track; 0 without one
  int32_t order_elapsed = 0;  // PlayOrderElapsed
  int32_t order_seconds = 0;  // the play-order length
};

// Seconds of the play order behind the drive: the entries before `current`
// that are not removed, plus the time into the current track.
int32_t PlayOrderElapsed(const PlayOrderView& order, const DiscRecord& disc, int current,
                         const TrackPosition& position);

// The timer's value for a TimerType, limited to 0 .. kMaxTimerSeconds so a
// removed playing entry never shows a negative remaining time.
int32_t TimerSeconds(int mode, const PlayClock& clock);

// The slider's elapsed share, 0 .. 100; bit 1 of the mode plays no part.
int SliderPercent(int mode, const PlayClock& clock);

// The time a slider percent stands for: of the track (L) or the play order
// (P), elapsed or remaining; at least 1 second.
int32_t SliderSeconds(int percent, int32_t track_seconds, int32_t order_seconds, int mode);

// SliderType 1 and 2 choose the play order or the track; anything else
// follows the timer.
int SliderMode(int slider_type, int timer_type);

}  // namespace zcd
