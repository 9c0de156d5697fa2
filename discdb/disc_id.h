#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "discdb/disc_timing.h"

namespace zcd {

// Sum of the decimal digits of s; 0 for s below 1.
int32_t CddbDigitSum(int32_t s);

// The 32-bit CDDB disc identifier of a table of contents.
uint32_t ComputeCddbDiscId(const DiscTiming& timing);

// Eight lower-case hexadecimal digits, leading zeros kept.
std::string DiscIdText(uint32_t disc_id);

// Lenient reading of an identifier text: case-insensitive, odd bytes count nothing.
uint32_t ParseDiscIdText(const std::optional<std::string>& text);

// The key under which cdplayer.ini files keep a disc, upper-case hexadecimal.
std::string CdPlayerIniKey(const DiscTiming& timing);

}  // namespace zcd
