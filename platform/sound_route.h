#pragma once

#include <memory>
#include <string>

#include "audio/stream_gain.h"
#include "platform/drive_table.h"

namespace zcd {

// Sends the drives' discs through the default sound device when `digital`
// is set and that device opens, else lets them play on their own. Empty
// when routed as asked; otherwise why the sound card is not used. Drives
// opened afterwards follow it.
std::string RouteSound(DriveTable& drives, bool digital, std::shared_ptr<const StreamGain> gain);

}  // namespace zcd
