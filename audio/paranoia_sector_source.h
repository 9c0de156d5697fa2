#pragma once

#include <string>

#include "audio/sector_source.h"

namespace zcd {

// Audio sectors read through the paranoia library, which reads each stretch
// more than once and puts together what agrees. `device_or_cue` is a drive
// (/dev/sr0) or, ending in ".cue", an image the CD library opens itself.
// A stretch that stays unreadable after a few tries is given up on: its
// sectors read false instead of holding up playback. Sectors outside the
// disc's audio tracks read false without touching the drive. May block
// while the drive spins up.
SourceOpen OpenParanoiaSource(const std::string& device_or_cue);

}  // namespace zcd
