#pragma once

#include "base/settings.h"

namespace zcd {

// Copies the values the Preferences sheet edits, and nothing else: a value
// a command changed while the sheet was open must not be put back.
void CopyPreferenceFields(const Settings& from, Settings& to);

}  // namespace zcd
