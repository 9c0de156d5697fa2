#include "discdb/exporter_plain_text.h"

#include <cstdio>

#include "discdb/disc_record.h"
#include "discdb/entry_text.h"
#include "discdb/slash_split.h"

namespace zcd {
namespace {

const std::string kSeparator(79, '-');

std::string WithRealLineBreaks(std::string value) {
  ToggleLineBreakEscapes(value);
  return value;
}

std::optional<std::string> NonEmptyValue(const std::string& key, std::string_view entry) {
  std::optional<std::string> value = GetEntryValue(key, entry);
  if (value && value->empty())
    return std::nullopt;
  return value;
}

void AppendTracks(std::string_view entry, bool times, bool extended, std::string& out) {
  DiscRecord record;
  ReadTocFromEntry(record, entry);
  const int count = record.TrackCount();
  for (int n = 0; n < count; ++n) {
    const std::string index = std::to_string(n);
    const std::optional<std::string> title = GetEntryValue("TTITLE" + index + "=", entry);
    if (!title)
      break;
    out += std::to_string(n + 1);
    out += n + 1 <= 9 ? ":  " : ": ";
    out += *title;
    if (times) {
      const int32_t seconds = record.TrackSeconds(n);
      char length[32];
      std::snprintf(length, sizeof length, "\t[%d:%02d]", seconds / 60, seconds % 60);
      out += length;
    }
    out += "\r\n";
    if (extended) {
      if (auto text = NonEmptyValue("EXTT" + index + "=", entry))
        out += WithRealLineBreaks(std::move(*text)) + "\r\n\r\n";
    }
  }
}

}  // namespace

std::vector<std::string> PlainTextExporter::OptionLabels() const {
  return {"Include Artist",       "Include CD Title",    "Include Category",
          "Include Track Titles", "Include Track Times", "Include Extended Info"};
}

std::string PlainTextExporter::DefaultFileName() {
  std::string name = "zcd_export.txt";
  if (scope().starts_with("CAT"))
    name = "zcd_category.txt";
  else if (scope().starts_with("ART"))
    name = "zcd_artist.txt";
  else if (scope().starts_with("CDS"))
    name = "zcd_album.txt";
  set_file_name(name);
  return name;
}

std::optional<std::string> PlainTextExporter::FormatEntry(std::string_view entry) const {
  if (!AcceptsEntry(*this, entry))
    return std::nullopt;
  const bool artist = HasOption(kArtist);
  const bool cd_title = HasOption(kCdTitle);
  const bool category = HasOption(kCategory);
  const bool extended = HasOption(kExtendedInfo);
  const bool head_block = artist || cd_title || category;
  const std::optional<std::string> disc_extended =
      extended ? NonEmptyValue("EXTD=", entry) : std::nullopt;

  std::string out = kSeparator;
  if (head_block || disc_extended)
    out += "\r\n";
  if (artist || cd_title) {
    if (const std::optional<std::string> title = GetEntryValue("DTITLE=", entry)) {
      const std::optional<std::string> name = SplitBeforeSlash(*title);
      if (artist && name)
        out += "Artist:   " + *name + "\r\n";
      if (cd_title)
        out += "Album:    " + SplitAfterSlash(*title) + "\r\n";
    }
  }
  if (category) {
    if (const std::optional<std::string> word = HeadCategory(entry, 1))
      out += "Category: " + *word + "\r\n";
  }
  if (disc_extended)
    out += WithRealLineBreaks(*disc_extended) + "\r\n";
  if (head_block)
    out += kSeparator;
  out += "\r\n";
  if (HasOption(kTrackTitles))
    AppendTracks(entry, HasOption(kTrackTimes), extended, out);
  out += "\r\n\r\n";
  return out;
}

}  // namespace zcd
