#pragma once

#include <functional>
#include <string>

#include "app/data_folder.h"
#include "cd/disc_lookup.h"

namespace zcd {

// Where a new disc's information comes from besides the database: the
// cdplayer.ini of the data folder and, once it exists, the CDDB client.
// Window thread only.
class PlayerLookup : public DiscLookupHooks {
 public:
  struct Hooks {
    std::function<void(int code)> cddb_status;
    std::function<void()> show_db_write_error;
    std::function<void(const std::string&)> trace;
    std::function<void(CdState&)> start_cddb_query;
  };

  PlayerLookup(DataFolder folder, Hooks hooks)
      : folder_(std::move(folder)), hooks_(std::move(hooks)) {}

  bool ImportCdPlayerIni(DiscRecord& record) override;
  void StartCddbQuery(CdState& state) override;
  void SendCddbStatus(int code) override { hooks_.cddb_status(code); }
  void ShowDbWriteError() override { hooks_.show_db_write_error(); }

 private:
  DataFolder folder_;
  Hooks hooks_;
};

}  // namespace zcd
