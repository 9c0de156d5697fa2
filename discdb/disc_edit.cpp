#include "discdb/disc_edit.h"

#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

OptText NoneWhenEmpty(const std::string& text) {
  return text.empty() ? OptText() : OptText(text);
}

// Gives the query lock back however the save ends.
class HeldLock {
 public:
  explicit HeldLock(std::binary_semaphore& lock) : lock_(lock), held_(lock.try_acquire()) {}
  ~HeldLock() {
    if (held_)
      lock_.release();
  }
  HeldLock(const HeldLock&) = delete;
  HeldLock& operator=(const HeldLock&) = delete;
  bool held() const { return held_; }

 private:
  std::binary_semaphore& lock_;
  bool held_;
};

void ApplyEdit(DiscRecord& record, const DiscEdit& edit) {
  if (edit.artist_album)
    record.SetDiscTitle(ComposeDiscTitle(edit.artist_album->first, edit.artist_album->second));
  if (edit.category)
    record.SetCategory(NormalizeCategory(*edit.category));
  for (const auto& [track, title] : edit.titles)
    record.SetTrackTitle(track, title);
  if (edit.disc_extended)
    record.SetDiscExtended(NoneWhenEmpty(*edit.disc_extended));
  for (const auto& [track, text] : edit.track_extended)
    record.SetTrackExtended(track, NoneWhenEmpty(text));
}

}  // namespace

std::string ComposeDiscTitle(std::string_view artist, std::string_view album) {
  if (album.empty())
    return std::string(artist);
  if (artist.empty())
    return std::string(album);
  std::string title(artist);
  title.append(" / ").append(album);
  return title;
}

std::string NormalizeCategory(std::string_view typed) {
  std::string category(typed.substr(0, kMaxCategoryLength));
  for (char& c : category) {
    if (c == ' ' || c == '/')
      c = '_';
  }
  return category.empty() ? "nocategory" : category;
}

DiscSaveResult SaveDiscEdit(DiscRecord& record, bool bound, const DiscEdit& edit,
                            const std::string& db_path, std::binary_semaphore& query_lock) {
  if (edit.empty())
    return DiscSaveResult::kNothingToSave;
  // A query or a disc change may have refilled the record meanwhile; the
  // edits belong to the disc the page showed.
  if (edit.shown_disc_id && record.DiscIdText() != edit.shown_disc_id)
    return DiscSaveResult::kDiscChanged;
  const OptText old_category = record.Category();
  const OptText old_id = record.DiscIdText();
  ApplyEdit(record, edit);

  const HeldLock lock(query_lock);
  if (!lock.held())
    return DiscSaveResult::kQueryRunning;
  if (!record.DiscIdText())
    record.SetDiscIdText(DiscIdText(ComputeCddbDiscId(record.Timing())));
  const std::string id = *record.DiscIdText();

  // A disc never stored has no old key: its new entry is built whole.
  std::optional<std::string> old_key;
  std::optional<std::string> text;
  if (old_category && old_id) {
    old_key = EntryKey(*old_category, *old_id);
    text = DbFindEntry(db_path, *old_key);
  }
  if (text)
    WriteRecordIntoEntry(record, *text);
  else
    text = BuildNewEntryText(record, false);
  // One write: the old entry and the new one never both go missing, nor
  // stay both.
  if (DbReplaceEntry(db_path, old_key.value_or(""),
                     EntryKey(record.Category().value_or("nocategory"), id), *text) != 1)
    return DiscSaveResult::kWriteFailed;
  if (bound)
    ReadEntryIntoRecord(record, *text, true);
  return DiscSaveResult::kSaved;
}

}  // namespace zcd
