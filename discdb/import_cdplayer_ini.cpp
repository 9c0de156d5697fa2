#include "discdb/import_cdplayer_ini.h"

#include <algorithm>

#include "base/ini_file.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

constexpr size_t kArtistChars = 255;

}  // namespace

CdPlayerIniImport ImportCdPlayerIni(DiscRecord& record, const std::string& ini_path,
                                    const std::string& db_path) {
  const DiscTiming timing = record.Timing();
  if (timing.track_count <= 0)
    return CdPlayerIniImport::kNotFound;
  const std::string section = CdPlayerIniKey(timing);
  const IniFile ini = IniFile::Load(ini_path);
  const int track_count = ini.GetInt(section, "numtracks", 0);
  if (track_count <= 0)
    return CdPlayerIniImport::kNotFound;

  const std::string artist = ini.GetString(section, "artist", kArtistChars).value_or("Unknown CD");
  const std::string title = ini.GetString(section, "title").value_or("");
  record.SetDiscTitle(title.empty() ? artist : artist + " / " + title);
  for (int i = 0; i < std::min(track_count, timing.track_count); ++i) {
    const std::string index = std::to_string(i);
    record.SetTrackTitle(i, ini.GetString(section, index).value_or("track " + index));
  }
  const std::string disc_id = DiscIdText(ComputeCddbDiscId(timing));
  record.SetDiscIdText(disc_id);
  record.SetCategory(kCdPlayerIniCategory);
  const int added = DbAddEntry(db_path, EntryKey(kCdPlayerIniCategory, disc_id),
                               BuildNewEntryText(record, false));
  return added == 1 ? CdPlayerIniImport::kStored : CdPlayerIniImport::kNotStored;
}

}  // namespace zcd
