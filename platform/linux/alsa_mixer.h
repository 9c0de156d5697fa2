#pragma once

#include <memory>
#include <string>

#include "base/window_host.h"
#include "mixer/mixer_device.h"

namespace zcd {

// The mixer of an ALSA control device, "default" normally: "Master",
// "Bass", "Treble" and "CD" by the element names the simple mixer builds
// them from; a missing element is unavailable. Change notices come from the
// device's poll descriptors, watched on `host`'s event loop, which must
// outlive the device. When the device cannot be opened (no sound card) the
// result is a device with nothing available, and ALSA prints nothing.
// Window thread only.
std::unique_ptr<MixerDevice> OpenAlsaMixer(WindowHost& host, const std::string& card = "default");

}  // namespace zcd
