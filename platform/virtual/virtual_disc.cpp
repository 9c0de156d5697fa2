#include "platform/virtual/virtual_disc.h"

namespace zcd {

VirtualDisc MakeAudioDisc(const std::vector<int>& track_seconds) {
  VirtualDisc disc;
  int32_t frame = kLeadInFrames;
  for (int seconds : track_seconds) {
    disc.tracks.push_back({frame, true});
    frame += seconds * 75;
  }
  disc.lead_out_frame = frame;
  return disc;
}

}  // namespace zcd
