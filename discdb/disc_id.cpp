#include "discdb/disc_id.h"

#include <cstdio>

namespace zcd {

int32_t CddbDigitSum(int32_t s) {
  int32_t sum = 0;
  while (s > 0) {
    sum += s % 10;
    s /= 10;
  }
  return sum;
}

uint32_t ComputeCddbDiscId(const DiscTiming& timing) {
  const int n = timing.track_count;
  if (n <= 0)
    return 0;
  int32_t sum = 0;
  for (int i = 0; i < n; ++i)
    sum += CddbDigitSum(timing.toc[i].WholeSeconds());
  const TrackTocEntry& first = timing.toc[0];
  const TrackTocEntry& lead_out = timing.toc[n];
  const int32_t t = (lead_out.minutes - first.minutes) * 60 + lead_out.seconds - first.seconds;
  return (static_cast<uint32_t>(sum % 255) << 24) | (static_cast<uint32_t>(t) << 8) |
         static_cast<uint32_t>(n);
}

std::string DiscIdText(uint32_t disc_id) {
  char text[9];
  std::snprintf(text, sizeof text, "%08x", disc_id);
  return text;
}

uint32_t ParseDiscIdText(const std::optional<std::string>& text) {
  if (!text)
    return 0;
  uint32_t value = 0;
  // Horner's rule gives the same weights, 16^(L-1-k), modulo 2^32.
  for (char raw : *text) {
    auto c = static_cast<unsigned char>(raw);
    if (c >= 'A' && c <= 'Z')
      c = static_cast<unsigned char>(c - 'A' + 'a');
    uint32_t digit = 0;
    if (c >= 128 || c < '0') {
      digit = 0;
    } else if (c >= 'a') {
      digit = c - 87u;
    } else {
      digit = c - 48u;
    }
    value = value * 16u + digit;
  }
  return value;
}

std::string CdPlayerIniKey(const DiscTiming& timing) {
  const int n = timing.track_count;
  uint32_t key = 0;
  for (int i = 0; i < n; ++i) {
    const auto f = static_cast<uint32_t>(timing.toc[i].frame_address);
    const uint32_t m = f / 4500;
    const uint32_t s = (f % 4500) / 75;
    const uint32_t fr = f % 75;
    key += (m << 16) + (s << 8) + fr;
  }
  if (n < 3) {
    key += static_cast<uint32_t>(timing.toc[0].frame_address) % 75;
    key += static_cast<uint32_t>(timing.disc_seconds) * 75;
  }
  char text[9];
  std::snprintf(text, sizeof text, "%X", key);
  return text;
}

}  // namespace zcd
