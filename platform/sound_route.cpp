#include "platform/sound_route.h"

#include "audio/alsa_pcm_sink.h"

namespace zcd {

std::string RouteSound(DriveTable& drives, bool digital, std::shared_ptr<const StreamGain> gain) {
  if (!digital) {
    drives.SetDigitalOutput(std::nullopt);
    return {};
  }
  // Opened once to see that it can be; each play opens it again.
  PcmOpen probe = OpenAlsaPcm();
  if (!probe.sink) {
    drives.SetDigitalOutput(std::nullopt);
    return probe.error;
  }
  drives.SetDigitalOutput(DigitalOutput{[] { return OpenAlsaPcm(); }, std::move(gain)});
  return {};
}

}  // namespace zcd
