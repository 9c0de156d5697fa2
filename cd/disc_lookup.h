#pragma once

#include <string>

#include "base/cddb_status.h"
#include "base/settings.h"
#include "cd/cd_state.h"
#include "cd/play_order.h"
#include "discdb/disc_record.h"

namespace zcd {

// The parts of the player the new-disc flow hands work to.
class DiscLookupHooks {
 public:
  virtual ~DiscLookupHooks() = default;
  // True when the disc's cdplayer.ini section filled the record.
  virtual bool ImportCdPlayerIni(DiscRecord& record) = 0;
  // Starts the CDDB query thread for the drive's disc and returns at once.
  virtual void StartCddbQuery(CdState& state) = 0;
  // Reaches the main window before it returns: sent, not posted.
  virtual void SendCddbStatus(int code) = 0;
  // The database write message (kDbWriteErrorText).
  virtual void ShowDbWriteError() = 0;
};

enum class DiscInfoSource { kDatabase, kCdPlayerIni, kCddbQuery, kCached, kDefaults };

// Gives a newly loaded disc its texts: the default titles, then its database
// entry (with its saved play order when PlayOrder has value 1), else its
// cdplayer.ini section, else a CDDB query or a cached entry. The disc is the
// one of the play order's CdState. Window thread only: it rewrites the play
// order.
DiscInfoSource LoadDiscInfo(PlayOrderList& play_order, const Settings& settings,
                            const std::string& db_path, DiscLookupHooks& hooks);

// Stores the disc as "cached/<id>" and makes the record's category "cached".
// DbAddEntry's result: 1, 0, or -1 when the database cannot be written.
// Any thread; the record's setters take its lock.
int StoreCachedEntry(DiscRecord& record, const std::string& db_path);

enum class PlayOrderSave {
  kSaved,
  kNotSaved,     // no entry for the disc, no PLAYORDER line in it, or a track not on the disc
  kWriteFailed,  // the caller shows kDbWriteErrorText
};
// Writes the play order into the PLAYORDER line of the disc's entry, which
// moves the entry to the end of the index. Window thread only.
PlayOrderSave SavePlayOrder(const PlayOrderList& play_order, const std::string& db_path);

// Replaces the play order with the one saved in the disc's entry. False, and
// the order unchanged, when nothing is saved; false with the default order
// when the saved one does not fit the disc. Window thread only.
bool LoadPlayOrder(PlayOrderList& play_order, const std::string& db_path);

}  // namespace zcd
