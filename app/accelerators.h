#pragma once

#include <cstdint>

#include "base/command_ids.h"

namespace zcd {

// A key of the main window and the command it sends. Keys are written as
// "Ctrl+A", "Alt+S" or a plain letter.
struct Accelerator {
  const char* key;
  int64_t command;
};

inline constexpr Accelerator kAccelerators[] = {
    {"Y", kCmdPlayKey},
    {"T", kCmdPauseKey},
    {"R", kCmdStopKey},
    {"Q", kCmdEjectKey},
    {"E", kCmdNextTrackKey},
    {"W", kCmdPrevTrackKey},
    {"Ctrl+A", kCmdAlwaysOnTopKey},
    {"Ctrl+D", kCmdDatabaseKey},
    {"Ctrl+E", kCmdExtendedInfoKey},
    {"Ctrl+P", kCmdPreferencesKey},
    {"Ctrl+S", kCmdCddbSettings},
    {"Ctrl+W", kCmdToggleLayoutKey},
    {"Ctrl+X", kCmdInvertRemoved},
    {"Alt+C", kCmdQueryCddbKey},
    {"Alt+S", kCmdSkins},
};

}  // namespace zcd
