#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zcd {

// The disc database "ZCD.zdb": "PACK", index offset, index size, the entry
// texts back to back, then 64-byte index rows (56-byte zero-padded key,
// offset, length), little-endian. Every lookup matches rows whose key
// contains the search text anywhere.
//
// Writers are serialised by a lock per file inside the process and an
// advisory lock across processes (flock on "<db>-lock"); readers share it
// but never create it, so reading leaves no file behind. Adds, deletes and
// replaces change the file in place under a rollback journal "<db>-journal";
// a session, the first write since the lock file was made, and a delete or
// replace that would move most of the file write "<db>-new" and rename it
// over the file. Either way the file is exactly as before or exactly as after
// whenever the writer is killed: the next one to take the lock, reader or
// writer, undoes a half-done write. Renamed files and in-place writes to
// indexes of up to 65,536 rows also sync, so that they survive a loss of
// power; bigger in-place writes only survive kills. Files that are not a
// sound database are never written; they read as empty when they lack
// "PACK".

inline constexpr int kDbKeyField = 56;
inline constexpr int kDbRowSize = 64;
inline constexpr int kDbHeadSize = 12;

// Shown when the database cannot be written (caption "Zentaro CD").
inline constexpr char kDbWriteErrorText[] =
    "Error - Could not open 'zcd.zdb' for writing.\nMake sure the ZCD database file "
    "'zcd.zdb'\nand directory are not write protected.\n\nThe information for this CD "
    "will not be saved.";

// "%s/%s" of category and disc identifier text.
std::string EntryKey(std::string_view category, std::string_view disc_id);

// Any thread. 1 on success; 0 when the key or text is empty or the key does
// not fit its field (55 bytes at most, no zero byte); -1 when the file cannot
// be written, is not a database, or its head or index size is damaged. A
// missing or empty file is created.
int DbAddEntry(const std::string& db_path, std::string_view key, std::string_view text);
// Any thread. The first matching entry text in index order; rows whose text
// lies outside the file are passed over. None also when an interrupted write
// cannot be undone.
std::optional<std::string> DbFindEntry(const std::string& db_path, std::string_view search);
// Any thread.
bool DbHasEntry(const std::string& db_path, std::string_view search);
// Any thread. True when rows matched (a full key its own row alone, see
// IsFullKey) and the file was rewritten without them, compact: the texts
// behind the first removed one move down, the index behind them; false, the file untouched, when
// nothing matched, the file is not a sound database, a kept row is damaged or the file cannot be
// written.
bool DbDeleteEntries(const std::string& db_path, std::string_view search);
// Any thread. Removes what DbDeleteEntries(old_key) would (nothing for an
// empty old_key) and adds text under new_key at the end, in one write: the
// file holds either the old entry or the new one, never both or neither, and
// ends up byte for byte as the delete followed by the add would leave it.
// Results as DbAddEntry; -1 also when a kept row is damaged.
int DbReplaceEntry(const std::string& db_path, std::string_view old_key, std::string_view new_key,
                   std::string_view text);

struct DbListItem {
  std::string disc_id;
  std::string category;
  bool operator==(const DbListItem&) const = default;
};
// Any thread. Most recently added first. count is the number of items, or -1
// when the file is damaged (the items read so far are returned): a row whose
// text lies outside the text area or whose key has no zero, an index cut
// short, or an interrupted write that cannot be undone.
std::vector<DbListItem> DbListEntries(const std::string& db_path,
                                      const std::optional<std::string>& category_filter,
                                      int& count);

enum class DbWalkResult { kDone, kMissing, kNotADatabase, kDamaged, kStopped };
// Any thread. Hands every row's key and text to visit in index order, in one
// pass over the file; visit returns false to stop. A missing or unreadable
// file visits nothing; a damaged row ends the walk with kDamaged after the
// rows before it. visit runs under the reader's lock: it may read this
// database again but not write it (such writes fail).
DbWalkResult DbWalkEntries(
    const std::string& db_path,
    const std::function<bool(std::string_view key, std::string_view text)>& visit);

// A read-modify-write session for bulk work (imports, tools): it holds the
// writer locks, reads the index once, answers lookups against the pending
// state and writes every change in one atomic rewrite. The file then holds
// byte for byte what the same DbAddEntry/DbDeleteEntries calls one by one
// would have made of it. New texts wait in an unnamed file beside the
// database, not in memory.
//
// One thread at a time. The writer lock is held from Open until the session
// goes; other writers wait, and this thread's own Db* writes to the file fail.
class DbSession {
 public:
  // None, with error set, when the file cannot be locked or read, is not a
  // database, or is damaged anywhere. A missing or empty file is an empty
  // database.
  static std::unique_ptr<DbSession> Open(const std::string& db_path, std::string* error);
  ~DbSession();

  bool Has(std::string_view search) const;
  std::optional<std::string> Find(std::string_view search) const;
  // As DbAddEntry: 1, or 0 for an empty or oversized key or an empty text;
  // -1 when the text cannot be put aside.
  int Add(std::string_view key, std::string_view text);
  bool Delete(std::string_view search);
  // 1, or -1 when the file cannot be written (the changes stay pending).
  // Nothing is written without changes. Afterwards the session goes on from
  // the written file.
  int Commit();

  class Impl;
  explicit DbSession(std::unique_ptr<Impl> impl);

 private:
  std::unique_ptr<Impl> impl_;
};

enum class DbFileState { kMissing, kUnreadable, kEmpty, kNotADatabase, kDatabase };
// Any thread. What the file at db_path is, from its head alone: a database
// ("PACK"), an empty file (a database to writers, nothing to readers), or
// something else.
DbFileState DbProbe(const std::string& db_path);

// Any thread. Validates the whole file; each problem is one sentence naming
// the row (from 1) or offset. Empty when the file is sound (or missing).
std::vector<std::string> DbCheck(const std::string& db_path);

}  // namespace zcd
