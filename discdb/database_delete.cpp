#include "discdb/database.h"
#include "discdb/db_add.h"
#include "discdb/db_format.h"
#include "discdb/db_tail_write.h"

namespace zcd {

bool DbDeleteEntries(const std::string& db_path, std::string_view search) {
  auto lock = DbLock::Acquire(db_path, DbLock::Mode::kExclusive, nullptr);
  if (!lock)
    return false;
  return DbRemoveAndAppend(db_path, *lock, DbKeyMatch(search), std::nullopt) ==
         DbTailOutcome::kWritten;
}

int DbReplaceEntry(const std::string& db_path, std::string_view old_key, std::string_view new_key,
                   std::string_view text) {
  if (!EntryFits(new_key, text))
    return 0;
  auto lock = DbLock::Acquire(db_path, DbLock::Mode::kExclusive, nullptr);
  if (!lock)
    return -1;
  std::optional<DbKeyMatch> remove;
  if (!SearchText(old_key).empty())
    remove.emplace(old_key);
  switch (DbRemoveAndAppend(db_path, *lock, remove, DbNewEntry{new_key, text})) {
    case DbTailOutcome::kWritten:
      return 1;
    case DbTailOutcome::kNothingToDo:
      return DbAddLocked(db_path, *lock, new_key, text);
    case DbTailOutcome::kRefused:
    case DbTailOutcome::kFailed:
      break;
  }
  return -1;
}

}  // namespace zcd
