#include "cd/play_time.h"

#include <algorithm>

namespace zcd {

int32_t PlayOrderElapsed(const PlayOrderView& order, const DiscRecord& disc, int current,
                         const TrackPosition& position) {
  int32_t total = 0;
  for (int i = 0; i < current && i < order.EntryCount(); ++i) {
    const int32_t length = disc.TrackSeconds(order.EntryTrack(i) - 1);
    if (!order.EntryRemoved(i) && length > 0)
      total += length;
  }
  return total + position.minutes * 60 + position.seconds;
}

int32_t TimerSeconds(int mode, const PlayClock& clock) {
  const int32_t track_elapsed = clock.position.minutes * 60 + clock.position.seconds;
  int32_t value = 0;
  switch (mode & (kTimeOverPlayOrder | kTimeRemaining)) {
    case 0:
      value = track_elapsed;
      break;
    case kTimeRemaining:
      value = clock.track_seconds - track_elapsed;
      break;
    case kTimeOverPlayOrder:
      value = clock.order_elapsed;
      break;
    default:
      value = clock.order_seconds - clock.order_elapsed;
      break;
  }
  return std::clamp(value, 0, kMaxTimerSeconds);
}

int SliderPercent(int mode, const PlayClock& clock) {
  const bool over_order = (mode & kTimeOverPlayOrder) != 0;
  const int64_t elapsed =
      over_order ? clock.order_elapsed : clock.position.minutes * 60 + clock.position.seconds;
  const int64_t length = over_order ? clock.order_seconds : clock.track_seconds;
  if (length <= 0)
    return 0;
  return static_cast<int>(std::clamp<int64_t>(elapsed * 100 / length, 0, 100));
}

int32_t SliderSeconds(int percent, int32_t track_seconds, int32_t order_seconds, int mode) {
  const double length = (mode & kTimeOverPlayOrder) ? order_seconds : track_seconds;
  const double share = length * percent / 100.0;
  const double seconds = (mode & kTimeRemaining) ? length - share : share;
  return static_cast<int32_t>(std::max(seconds, 1.0));
}

int SliderMode(int slider_type, int timer_type) {
  switch (slider_type) {
    case 1:
      return kTimeOverPlayOrder;
    case 2:
      return 0;
    default:
      return timer_type & (kTimeOverPlayOrder | kTimeRemaining);
  }
}

}  // namespace zcd
