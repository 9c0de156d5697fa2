#pragma once

#include <optional>
#include <span>
#include <string>

#include "discdb/disc_timing.h"

namespace zcd::tool {

// A disc from "OFFSET... LEADOUT" words: the absolute frame of every track
// and of the lead-out, rising. None, with error saying why, for anything
// else.
std::optional<DiscTiming> ParseDiscTiming(std::span<const std::string> words, std::string& error);

}  // namespace zcd::tool
