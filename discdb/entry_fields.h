#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zcd {

// The values the exports read from an entry text, gathered in one pass over
// its lines: each one exactly what GetEntryValue would return for its key
// (pieces of all the lines the key begins, none when one of them has no line
// feed), without a search of the whole text per key.
struct EntryFields {
  std::optional<std::string> disc_title;     // DTITLE=
  std::optional<std::string> disc_extended;  // EXTD=
  // TTITLEn= and EXTTn=, by n; missing ones are none.
  std::vector<std::optional<std::string>> titles;
  std::vector<std::optional<std::string>> track_extended;

  const std::optional<std::string>& Title(int n) const;
  const std::optional<std::string>& TrackExtended(int n) const;
};

// Any thread.
EntryFields ReadEntryFields(std::string_view text);

}  // namespace zcd
