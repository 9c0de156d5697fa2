#pragma once

#include <string>

#include "discdb/disc_record.h"

namespace zcd {

inline constexpr char kCdPlayerIniCategory[] = "cdplayer.ini_imports";

enum class CdPlayerIniImport {
  kNotFound,   // no tracks, no section for the disc, or no track count in it
  kStored,     // the record holds the section's texts and the entry was stored
  kNotStored,  // the record holds the texts but the database could not be written
};

// Takes the loaded disc's section of cdplayer.ini (found by the disc's
// cdplayer.ini key) into the record and stores it as a new database entry
// in the category "cdplayer.ini_imports".
// Any thread; the record's setters take its lock.
CdPlayerIniImport ImportCdPlayerIni(DiscRecord& record, const std::string& ini_path,
                                    const std::string& db_path);

}  // namespace zcd
