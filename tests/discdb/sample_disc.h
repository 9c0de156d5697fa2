#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include "discdb/disc_timing.h"

namespace zcd::test {

// Tracks starting at the given frame addresses, the last one given being the
// lead-out; the disc's length is the lead-out's whole seconds unless given.
inline DiscTiming DiscTimingOf(std::initializer_list<int32_t> frames, int32_t disc_seconds = -1) {
  DiscTiming timing;
  for (const int32_t frame : frames)
    timing.toc[timing.track_count++] = TrackTocEntry::FromFrames(frame);
  --timing.track_count;
  timing.disc_seconds = disc_seconds >= 0 ? disc_seconds : timing.LeadOut().WholeSeconds();
  return timing;
}

// Tracks at 0:02.00 and 3:10.00 (and 5:00.00), lead-out at 7:00.00; the two
// tracks have the identifier 0c01a202.
inline DiscTiming TwoTrackTiming() {
  return DiscTimingOf({150, 14250, 31500});
}
inline DiscTiming ThreeTrackTiming() {
  return DiscTimingOf({150, 14250, 22500, 31500});
}

// n tracks of a minute each from 0:02.00.
inline DiscTiming MinuteTrackTiming(int n) {
  DiscTiming timing;
  timing.track_count = n;
  for (int i = 0; i <= n; ++i)
    timing.toc[i] = TrackTocEntry::FromFrames(150 + i * 60 * 75);
  timing.disc_seconds = timing.LeadOut().WholeSeconds();
  return timing;
}

// A two-track entry as the player stores it.
inline std::string SampleEntryText(const std::string& category, const std::string& id,
                                   const std::string& title) {
  return "200 " + category + " " + id +
         "\r\n# xmcd CD database file\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t4650\r\n"
         "#\r\n# Disc length: 200 seconds\r\n#\r\nDISCID=" +
         id + "\r\nDTITLE=" + title + "\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=\r\n.\r\n";
}

}  // namespace zcd::test
