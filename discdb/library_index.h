#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zcd {

enum class LibraryGrouping { kByCategory, kByArtist };

// One disc item of the library tree.
struct LibraryDisc {
  std::string text;  // the disc title (by category) or the album (by artist)
  uint32_t disc_id = 0;
  uint32_t title = 0;  // the whole disc title, in LibraryIndex::titles
};

// A group item and its discs, each sorted by text ignoring case. Discs
// without a group name stand at the top level, in a group with an empty name.
struct LibraryGroup {
  std::string name;
  std::vector<LibraryDisc> discs;
};

struct LibraryIndex {
  std::vector<LibraryGroup> groups;  // sorted by name ignoring case
  std::vector<std::string> titles;   // each disc's, once
  int entry_count = 0;               // rows listed; 0 when the file is damaged
  bool damaged = false;
};

// The library tree from one pass over the database. Every row is a disc
// item under its category (or its artist); a disc stored under several keys
// shows, in each, the title of its first entry in index order, as a lookup by
// its identifier reads it. Group names match ignoring case; the most recently
// added row's spelling names the group. Texts are the stored bytes. Stops
// early, with what it has, when `stop` turns true. Any thread.
LibraryIndex BuildLibraryIndex(const std::string& db_path, LibraryGrouping grouping,
                               const std::atomic<bool>& stop);

// Text folded for searching: letters lower-cased and stripped of accents
// (Windows-1252 bytes, "ß" to "ss"), everything else kept.
std::string FoldForSearch(std::string_view text);

// The groups with only the discs whose title or identifier contains the
// typed text (folded), empty groups left out; everything for an empty text.
// Stops early, with what it has, when `stop` turns true. Any thread.
std::vector<LibraryGroup> FilterLibrary(const LibraryIndex& index, std::string_view typed,
                                        const std::atomic<bool>* stop = nullptr);

}  // namespace zcd
