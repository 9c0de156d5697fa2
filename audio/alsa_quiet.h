#pragma once

namespace zcd {

// Stops ALSA from printing its failures on standard error: a player without
// a sound card is normal and says nothing. Any thread; installs once.
void QuietAlsaErrors();

}  // namespace zcd
