#include "discdb/exporter_raw_cddb.h"

#include "discdb/entry_parse.h"

namespace zcd {
namespace {

void CutAt(std::string_view& text, std::string_view marker) {
  const size_t at = entry_parse::FindAtLineStart(text, marker);
  if (at != std::string_view::npos)
    text = text.substr(0, at);
}

}  // namespace

std::vector<std::string> RawCddbExporter::OptionLabels() const {
  return {"Include CDDB Entry Header", "Include Extended Info", "Include Playlist (if exists)"};
}

std::string RawCddbExporter::DefaultFileName() {
  set_file_name("zcd_rawformat.txt");
  return file_name();
}

std::optional<std::string> RawCddbExporter::FormatEntry(std::string_view entry) const {
  if (!AcceptsEntry(*this, entry))
    return std::nullopt;
  const size_t head_end = entry.find('\n');
  if (head_end == std::string_view::npos || head_end + 1 == entry.size())
    return std::nullopt;
  std::string_view body = entry.substr(head_end + 1);
  if (!HasOption(kEntryHeader)) {
    const size_t disc_id = entry_parse::FindAtLineStart(body, "DISCID=");
    if (disc_id != std::string_view::npos)
      body = body.substr(disc_id);
  }
  if (!HasOption(kExtendedInfo))
    CutAt(body, "EXTD=");
  if (!HasOption(kPlaylist))
    CutAt(body, "PLAYORDER=");
  std::string out(body);
  out += "\r\n\r\n";
  return out;
}

}  // namespace zcd
