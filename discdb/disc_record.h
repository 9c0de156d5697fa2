#pragma once

#include <array>
#include <mutex>
#include <optional>
#include <string>

#include "discdb/disc_timing.h"

namespace zcd {

// A text that may be absent: "none" is distinct from an empty text.
using OptText = std::optional<std::string>;

// The in-memory description of one disc: its texts and its timing. Texts are
// read by the display threads and replaced by the query thread, so every
// accessor takes the record's lock and getters hand out copies.
class DiscRecord {
 public:
  DiscRecord() = default;
  DiscRecord(const DiscRecord&) = delete;
  DiscRecord& operator=(const DiscRecord&) = delete;

  // Any thread; each takes the record's lock.
  OptText DiscTitle() const { return Get(disc_title_); }
  OptText DiscExtended() const { return Get(disc_extended_); }
  OptText DiscIdText() const { return Get(disc_id_text_); }
  OptText Category() const { return Get(category_); }
  bool SetDiscTitle(OptText text) { return Set(disc_title_, std::move(text)); }
  bool SetDiscExtended(OptText text) { return Set(disc_extended_, std::move(text)); }
  bool SetDiscIdText(OptText text) { return Set(disc_id_text_, std::move(text)); }
  bool SetCategory(OptText text) { return Set(category_, std::move(text)); }

  // Any thread. Indexes outside 0 .. TrackCount()-1 read as none and are refused.
  OptText TrackTitle(int index) const;
  OptText TrackExtended(int index) const;
  bool SetTrackTitle(int index, OptText text);
  bool SetTrackExtended(int index, OptText text);

  // Any thread.
  void ClearDiscText();
  void SetDefaultDiscText();
  void ResetDisc();

  // Any thread; the timing is written by whoever fills the record.
  int TrackCount() const;
  DiscTiming Timing() const;
  void SetTiming(const DiscTiming& timing);
  int32_t TrackSeconds(int index) const;
  int32_t DiscSeconds() const;

 private:
  OptText Get(const OptText& field) const;
  bool Set(OptText& field, OptText text);
  bool InRange(int index) const { return index >= 0 && index < timing_.track_count; }
  void ClearTextsLocked();

  mutable std::mutex lock_;
  OptText disc_title_;
  OptText disc_extended_;
  OptText disc_id_text_;
  OptText category_;
  std::array<OptText, kMaxTracks> track_titles_;
  std::array<OptText, kMaxTracks> track_extended_;
  DiscTiming timing_;
};

}  // namespace zcd
