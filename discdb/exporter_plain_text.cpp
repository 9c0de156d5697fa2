#include "discdb/exporter_plain_text.h"

#include <cstdio>

#include "discdb/disc_record.h"
#include "discdb/entry_fields.h"
#include "discdb/entry_text.h"
#include "discdb/slash_split.h"

namespace zcd {
namespace {

const std::string kSeparator(79, '-');

std::string WithRealLineBreaks(std::string value) {
  ToggleLineBreakEscapes(value);
  return value;
}

const std::optional<std::string>& NonEmpty(const std::optional<std::string>& value) {
  static const std::optional<std::string> kNone;
  return value && !value->empty() ? value : kNone;
}

// "\t[%d:%02d]" of the minutes and seconds, without a format parse per track.
void AppendTrackTime(int32_t seconds, std::string& out) {
  const int32_t minutes = seconds / 60;
  const int32_t rest = seconds % 60;
  out += "\t[";
  out += std::to_string(minutes);
  out += ':';
  if (rest < 0) {
    char field[16];
    std::snprintf(field, sizeof field, "%02d", rest);
    out += field;
  } else {
    out += static_cast<char>('0' + rest / 10);
    out += static_cast<char>('0' + rest % 10);
  }
  out += ']';
}

void AppendTracks(std::string_view entry, const EntryFields& fields, bool times, bool extended,
                  std::string& out) {
  DiscRecord record;
  ReadTocFromEntry(record, entry);
  const int count = record.TrackCount();
  for (int n = 0; n < count; ++n) {
    const std::optional<std::string>& title = fields.Title(n);
    if (!title)
      break;
    out += std::to_string(n + 1);
    out += n + 1 <= 9 ? ":  " : ": ";
    out += *title;
    if (times)
      AppendTrackTime(record.TrackSeconds(n), out);
    out += "\r\n";
    if (extended) {
      if (const auto& text = NonEmpty(fields.TrackExtended(n)))
        out += WithRealLineBreaks(*text) + "\r\n\r\n";
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
  // One pass over the entry's lines instead of a search of it per key.
  const EntryFields fields = ReadEntryFields(entry);
  const std::optional<std::string> disc_extended =
      extended ? NonEmpty(fields.disc_extended) : std::nullopt;

  std::string out = kSeparator;
  if (head_block || disc_extended)
    out += "\r\n";
  if (artist || cd_title) {
    if (const std::optional<std::string>& title = fields.disc_title) {
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
    AppendTracks(entry, fields, HasOption(kTrackTimes), extended, out);
  out += "\r\n\r\n";
  return out;
}

}  // namespace zcd
