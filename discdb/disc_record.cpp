#include "discdb/disc_record.h"

#include <cstdio>

namespace zcd {

OptText DiscRecord::Get(const OptText& field) const {
  std::lock_guard guard(lock_);
  return field;
}

bool DiscRecord::Set(OptText& field, OptText text) {
  std::lock_guard guard(lock_);
  field = std::move(text);
  return true;
}

OptText DiscRecord::TrackTitle(int index) const {
  std::lock_guard guard(lock_);
  return InRange(index) ? track_titles_[index] : std::nullopt;
}

OptText DiscRecord::TrackExtended(int index) const {
  std::lock_guard guard(lock_);
  return InRange(index) ? track_extended_[index] : std::nullopt;
}

bool DiscRecord::SetTrackTitle(int index, OptText text) {
  std::lock_guard guard(lock_);
  if (!InRange(index))
    return false;
  track_titles_[index] = std::move(text);
  return true;
}

bool DiscRecord::SetTrackExtended(int index, OptText text) {
  std::lock_guard guard(lock_);
  if (!InRange(index))
    return false;
  track_extended_[index] = std::move(text);
  return true;
}

void DiscRecord::ClearTextsLocked() {
  disc_title_.reset();
  disc_extended_.reset();
  disc_id_text_.reset();
  category_.reset();
  for (int i = 0; i < timing_.track_count; ++i) {
    track_titles_[i].reset();
    track_extended_[i].reset();
  }
}

void DiscRecord::ClearDiscText() {
  std::lock_guard guard(lock_);
  ClearTextsLocked();
}

void DiscRecord::SetDefaultDiscText() {
  std::lock_guard guard(lock_);
  disc_title_ = "Unknown CD";
  for (int i = 0; i < timing_.track_count; ++i) {
    char name[24];
    std::snprintf(name, sizeof name, "Track %d", i + 1);
    track_titles_[i] = name;
  }
}

void DiscRecord::ResetDisc() {
  std::lock_guard guard(lock_);
  ClearTextsLocked();
  for (int i = 0; i < timing_.track_count; ++i)
    timing_.track_seconds[i] = -1;
  timing_.track_count = 0;
}

int DiscRecord::TrackCount() const {
  std::lock_guard guard(lock_);
  return timing_.track_count;
}

DiscTiming DiscRecord::Timing() const {
  std::lock_guard guard(lock_);
  return timing_;
}

void DiscRecord::SetTiming(const DiscTiming& timing) {
  std::lock_guard guard(lock_);
  // Texts of tracks beyond a shrunken count could never be reached again;
  // drop them so a later, longer disc does not inherit them.
  for (int i = timing.track_count; i < timing_.track_count && i < kMaxTracks; ++i) {
    track_titles_[i].reset();
    track_extended_[i].reset();
  }
  timing_ = timing;
  if (timing_.track_count < 0)
    timing_.track_count = 0;
  if (timing_.track_count > kMaxTracks)
    timing_.track_count = kMaxTracks;
}

int32_t DiscRecord::TrackSeconds(int index) const {
  std::lock_guard guard(lock_);
  return index >= 0 && index < kMaxTracks ? timing_.track_seconds[index] : -1;
}

int32_t DiscRecord::DiscSeconds() const {
  std::lock_guard guard(lock_);
  return timing_.disc_seconds;
}

}  // namespace zcd
