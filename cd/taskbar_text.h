#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "discdb/disc_record.h"

namespace zcd {

// The longest caption or tooltip text the template may make.
inline constexpr size_t kMaxTaskBarText = 255;

// What the symbols of the taskbar template stand for while a disc plays.
struct TaskBarValues {
  OptText album;        // %a: the disc title line
  OptText track_title;  // %d
  int track = 0;        // %n, decimal without leading zeros
  int32_t timer = 0;    // %t, as m:ss
};

// Expands the template: %a, %d, %n and %t in either case; any other "%c"
// and a "%" at the very end stay as they are, and so does the text after
// the last symbol. Cut to kMaxTaskBarText characters.
std::string FormatTaskBarText(std::string_view text, const TaskBarValues& values);

// The caption of a player that is not playing: "ZCD: <title>" or "ZCD",
// cut to max_chars.
std::string StoppedCaption(const OptText& disc_title, size_t max_chars);

}  // namespace zcd
