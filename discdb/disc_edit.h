#pragma once

#include <map>
#include <optional>
#include <semaphore>
#include <string>
#include <string_view>

#include "discdb/disc_record.h"

namespace zcd {

inline constexpr char kSaveDuringQueryText[] =
    "To preserve the integrity of the database, no changes\ncan be saved while a query is in "
    "progress.\n\nBe sure to reload the editor after the query has completed.";
inline constexpr char kSaveDiscChangedText[] =
    "The disc changed while the editor was open, so these changes were not saved.\n\n"
    "Open the editor again to edit the disc now in the drive.";

// A key is the category, "/" and eight identifier characters, and must stay
// below 56 bytes: the category keeps 46.
inline constexpr size_t kMaxCategoryLength = 46;

// "Artist / Album"; the one that is there when the other is empty.
std::string ComposeDiscTitle(std::string_view artist, std::string_view album);
// The category a typed text is stored under: blanks and "/" become "_", at
// most kMaxCategoryLength characters; "nocategory" when nothing is left.
std::string NormalizeCategory(std::string_view typed);

// What the user changed on the editor page; none or absent is untouched, so
// a save never writes back texts a query filled in meanwhile.
struct DiscEdit {
  // The identifier the record had when the page showed it.
  std::optional<std::string> shown_disc_id;
  // Both fields' texts, set when either was edited.
  std::optional<std::pair<std::string, std::string>> artist_album;
  std::optional<std::string> category;  // as typed
  std::map<int, std::string> titles;    // edited rows, by track index
  // From the extended-info dialog, in the stored (escaped) form; an empty
  // text clears.
  std::optional<std::string> disc_extended;
  std::map<int, std::string> track_extended;

  bool empty() const {
    return !artist_album && !category && titles.empty() && !disc_extended && track_extended.empty();
  }
};

enum class DiscSaveResult {
  kSaved,
  kNothingToSave,
  kQueryRunning,  // refused; the record holds the edits (kSaveDuringQueryText)
  kDiscChanged,   // refused; nothing changed (kSaveDiscChangedText)
  kWriteFailed,   // the record holds the edits (kDbWriteErrorText)
};

// Saves an edit of `record` into the database: the edits go into the record,
// then its entry moves to the end under its (new) key in one crash-safe
// replace, the old key's entry giving the text the edits go into. The query
// lock is only tried; it is held while the file is written. A bound record
// (the disc in the drive) is read back from what was stored. Any thread; the
// cost grows with what follows the old entry in the file: milliseconds for a
// recent disc at a million discs, up to a whole rewrite (seconds) for one of
// the first.
DiscSaveResult SaveDiscEdit(DiscRecord& record, bool bound, const DiscEdit& edit,
                            const std::string& db_path, std::binary_semaphore& query_lock);

}  // namespace zcd
