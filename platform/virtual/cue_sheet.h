#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

#include "platform/virtual/virtual_disc.h"

namespace zcd {

// Either a disc or the reason there is none, naming the offending line
// ("line 7: ...").
struct CueSheetResult {
  std::optional<VirtualDisc> disc;
  std::string error;
};

// Reads the subset of the cue sheet language a virtual disc needs:
//   FILE "name" WAVE|AIFF|FLAC|BINARY  the audio the following tracks live in
//   TRACK nn AUDIO|<other mode>  any mode but AUDIO makes a data track
//   INDEX 01 mm:ss:ff            the track's start, relative to its file
//   REM LEADOUT mm:ss:ff         the end of the disc when no file can be read
// Times before the first FILE, and with no FILE at all, count from the start
// of the disc. The lead-out is the end of the last file when it can be read:
// a decoded file's length (its last partial sector counted whole) or a
// BINARY file's whole 2352-byte sectors. The disc's `audio` lists the files
// that exist, in disc order.
// TITLE before the first track names the disc. FILE names are looked up in
// `folder`.
CueSheetResult ParseCueSheet(std::string_view text, const std::filesystem::path& folder);

// Reads the sheet at `path`; its FILE names are relative to its own folder.
CueSheetResult LoadCueSheet(const std::filesystem::path& path);

}  // namespace zcd
