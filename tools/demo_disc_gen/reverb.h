#pragma once

#include "tools/demo_disc_gen/stereo_buffer.h"

namespace zcd::demo_gen {

// Adds a small room's reflections: `wet` is their level against the dry sound.
void AddReverb(StereoBuffer& buffer, float wet);

}  // namespace zcd::demo_gen
