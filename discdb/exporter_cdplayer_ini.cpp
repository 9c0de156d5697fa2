#include "discdb/exporter_cdplayer_ini.h"

#include "discdb/entry_fields.h"
#include "discdb/entry_text.h"
#include "discdb/slash_split.h"

namespace zcd {

std::string CdPlayerIniPath(const std::string& data_dir) {
  return data_dir + "/cdplayer.ini";
}

std::vector<std::string> CdPlayerIniExporter::OptionLabels() const {
  return {"Export into cdplayer.ini", "Export to different filename", "Overwrite cdplayer.ini"};
}

uint32_t CdPlayerIniExporter::ShowOptions() const {
  const uint32_t choice =
      options() & (kIntoCdPlayerIni | kDifferentFileName | kOverwriteCdPlayerIni);
  return choice != 0 ? choice : kIntoCdPlayerIni;
}

std::string CdPlayerIniExporter::DefaultFileName() {
  const std::string name =
      HasOption(kDifferentFileName) ? "zcd_iniformat.txt" : CdPlayerIniPath(data_dir_);
  set_file_name(name);
  // Set both ways: a mode left over from an earlier "into" choice would make
  // "Overwrite" append.
  set_open_mode(HasOption(kIntoCdPlayerIni) ? ExportOpenMode::kAppend : ExportOpenMode::kReplace);
  return name;
}

std::optional<std::string> CdPlayerIniExporter::FormatEntry(std::string_view entry) const {
  if (!AcceptsEntry(*this, entry))
    return std::nullopt;
  const std::optional<std::string> key = EntryCdPlayerIniKey(entry);
  if (!key)
    return std::nullopt;
  const EntryFields fields = ReadEntryFields(entry);
  std::string out = "[" + *key + "]\r\n";
  if (const std::optional<std::string>& title = fields.disc_title) {
    if (const std::optional<std::string> artist = SplitBeforeSlash(*title))
      out += "artist=" + *artist + "\r\n";
    out += "title=" + SplitAfterSlash(*title) + "\r\n";
  }
  if (const std::optional<std::string> category = HeadCategory(entry, 1))
    out += "category=" + *category + "\r\n";
  int written = 0;
  for (; fields.Title(written); ++written)
    out += std::to_string(written) + "=" + *fields.Title(written) + "\r\n";
  out += "numtracks=" + std::to_string(written) + "\r\n\r\n";
  return out;
}

}  // namespace zcd
