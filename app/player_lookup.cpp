#include "app/player_lookup.h"

#include "discdb/import_cdplayer_ini.h"

namespace zcd {

bool PlayerLookup::ImportCdPlayerIni(DiscRecord& record) {
  switch (
      zcd::ImportCdPlayerIni(record, folder_.data_dir + "/cdplayer.ini", folder_.database_path())) {
    case CdPlayerIniImport::kStored:
      return true;
    case CdPlayerIniImport::kNotStored:
      // The titles are there; only keeping them failed.
      ShowDbWriteError();
      return true;
    case CdPlayerIniImport::kNotFound:
      break;
  }
  return false;
}

void PlayerLookup::StartCddbQuery(CdState& state) {
  if (hooks_.trace)
    hooks_.trace("cddb query requested");
  if (hooks_.start_cddb_query)
    hooks_.start_cddb_query(state);
}

}  // namespace zcd
