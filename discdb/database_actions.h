#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <semaphore>
#include <string>

#include "discdb/disc_record.h"

namespace zcd {

// The disc in the drive as the Extended Info window follows it.
struct CurrentDisc {
  std::string disc_id;
  int track = -1;  // the track playing, from 0; -1 when none plays
};

// What the database sheet and the Extended Info window need of the player,
// which owns the drive, the workers and the query lock. Members are called
// on the window thread; an empty one is a service this player lacks.
struct DatabaseActions {
  std::string db_path;
  // Where cdplayer.ini is looked for and written.
  std::string data_dir;
  // The lock of queries, cached passes and submissions; saves only try it.
  std::binary_semaphore* query_lock = nullptr;
  // The record of the disc in the drive; none when no disc is loaded.
  std::function<std::shared_ptr<DiscRecord>()> bound_record;
  // A save was read back into the bound record: the display shows it anew.
  std::function<void()> bound_record_saved;
  // Sends an entry text (its revision already raised) to CDDB by mail.
  std::function<void(std::string entry)> submit;
  // The disc in the drive and its playing track; none without a disc.
  std::function<std::optional<CurrentDisc>()> current_disc;
};

}  // namespace zcd
