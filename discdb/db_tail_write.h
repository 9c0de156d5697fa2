#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "discdb/db_key_match.h"
#include "discdb/db_lock.h"

namespace zcd {

// An entry to store at the end, as an add would.
struct DbNewEntry {
  std::string_view key;
  std::string_view text;
};

enum class DbTailOutcome {
  kWritten,
  kNothingToDo,  // nothing matched (or there is no file): nothing was written
  kRefused,      // the file is not a sound database, or the result would not fit
  kFailed,       // the file could not be written; it is as it was
};

// Removes every row `remove` matches and then appends `added`, in one write
// (when nothing matches, the caller adds on its own, as the add leaves the
// rest of the file byte for byte)
// whose result is byte for byte that of the whole-file delete followed by the
// add. Where the file allows it, only the bytes from the first removed text
// on are rewritten, under a tail journal; otherwise, or when that tail is most
// of the file, the whole file is rewritten and renamed into place.
//
// The caller holds `lock`, the database's exclusive lock.
DbTailOutcome DbRemoveAndAppend(const std::string& db_path, DbLock& lock,
                                const std::optional<DbKeyMatch>& remove,
                                const std::optional<DbNewEntry>& added);

}  // namespace zcd
