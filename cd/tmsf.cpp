#include "cd/cd_state.h"

namespace zcd {

uint32_t PackTmsf(const TrackPosition& position) {
  return (static_cast<uint32_t>(position.track) & 0xFF) |
         (static_cast<uint32_t>(position.minutes) & 0xFF) << 8 |
         (static_cast<uint32_t>(position.seconds) & 0xFF) << 16 |
         (static_cast<uint32_t>(position.frames) & 0xFF) << 24;
}

TrackPosition UnpackTmsf(uint32_t packed) {
  return {static_cast<int>(packed & 0xFF), static_cast<int>(packed >> 8 & 0xFF),
          static_cast<int>(packed >> 16 & 0xFF), static_cast<int>(packed >> 24 & 0xFF)};
}

}  // namespace zcd
