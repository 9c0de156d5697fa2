#pragma once

#include <filesystem>
#include <string>

#include "audio/pcm_sink.h"

namespace zcd {

// Opens an ALSA playback device for 44.1 kHz 16-bit stereo: about 300 ms of
// buffer in 50 ms periods, playing as soon as one period is queued. With a
// configuration file, the device is defined by that file alone (tests);
// otherwise by the system's configuration. Any thread; the sink then belongs
// to the thread that uses it.
PcmOpen OpenAlsaPcm(const std::string& device = "default",
                    const std::filesystem::path& config_file = {});

}  // namespace zcd
