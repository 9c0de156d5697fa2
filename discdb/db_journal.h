#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "discdb/db_file_io.h"

namespace zcd {

// Up to this index size (65,536 rows) a write can afford to save what it
// overwrites and sync, which keeps it safe against power loss as well as
// kills (see DbSetFullJournalLimit). Any thread.
int64_t DbFullJournalLimit();

// The rollback journal of an add, "<db>-journal" beside the database. An add
// writes its text over the old index and moves the index behind the text; the
// journal keeps what is needed to put the old index, head and size back.
//
// The index moves back to front in chunks. The journal's "moved from" mark
// says how much of it sits in its new place already; a chunk's new place can
// cover the chunk's own old bytes, so each chunk is first copied into the
// journal's slot. Every old index byte is therefore always in its old place,
// its new place or the slot. Small indexes are instead saved whole, with
// syncs, which also covers a loss of power.
//
// Whoever next takes the database's lock rolls a journal back (DbRecover).
class DbAddJournal {
 public:
  // Written before the add touches the database. With old_index given it is
  // saved whole and the journal is synced.
  static std::optional<DbAddJournal> Begin(const std::string& db_path, int64_t old_size,
                                           const char* old_head, int32_t text_length,
                                           std::optional<std::string_view> old_index);
  DbAddJournal(DbAddJournal&&) noexcept = default;
  DbAddJournal& operator=(DbAddJournal&&) noexcept = default;

  // Before moving the index bytes from `at` on, which come next in the slot.
  bool SaveChunk(int64_t at, std::string_view bytes);
  // After the index bytes from `at` on reached their new place.
  bool MarkMoved(int64_t at);
  // The add is complete: the journal goes, and with it the way back.
  bool Finish();

 private:
  DbAddJournal() = default;

  std::string path_;
  UniqueFd fd_;
  bool saved_whole_ = false;
};

// The rollback journal of a write that rewrites the file from `start` on (a
// delete or a replace, which move the texts behind the first removed one down
// and the index behind them): a copy of every byte from `start` to the old
// end, taken before the database is touched. Undoing puts the copy back, the
// old head with it, and cuts the file to its old size.
class DbTailJournal {
 public:
  // Copies the bytes from `start` to the end from db_fd. With sync the
  // journal reaches the disk before this returns.
  static std::optional<DbTailJournal> Begin(const std::string& db_path, int db_fd,
                                            const char* old_head, int64_t old_size, int64_t start,
                                            bool sync);
  DbTailJournal(DbTailJournal&&) noexcept = default;
  DbTailJournal& operator=(DbTailJournal&&) noexcept = default;

  // Where the journal holds the old byte at database offset `at` (from
  // `start` on): a stable source while the database changes.
  int fd() const { return fd_.get(); }
  int64_t SavedAt(int64_t at) const;

  // The write is complete: the journal goes, and with it the way back.
  bool Finish();

 private:
  DbTailJournal() = default;

  std::string path_;
  UniqueFd fd_;
  int64_t start_ = 0;
};

// The rollback journal of a delete or replace on a big index, which moves the
// index's leading block of unchanged rows (most of it) by `shift` bytes, down
// for a positive shift, without copying it. The journal saves the rest of the
// old tail from `start` on (the texts up to the index and the rows behind the
// block, few for recent entries), and the block moves in chunks as an add's
// index does: a "moved" mark says how much of it is in its new place, and a
// chunk whose new place covers its own old bytes first goes to the slot.
class DbShiftJournal {
 public:
  static std::optional<DbShiftJournal> Begin(const std::string& db_path, int db_fd,
                                             const char* old_head, int64_t old_size, int64_t start,
                                             int64_t block_size, int64_t shift,
                                             int64_t chunk_bytes);
  DbShiftJournal(DbShiftJournal&&) noexcept = default;
  DbShiftJournal& operator=(DbShiftJournal&&) noexcept = default;

  // Where the journal holds the old byte at database offset `at`, from `start`
  // on but outside the block: a stable source while the database changes.
  int fd() const { return fd_.get(); }
  int64_t SavedAt(int64_t at) const;

  // Before a chunk of block bytes moves over its own old place: `mark` is
  // where the chunk ends (moving down) or starts (moving up).
  bool SaveChunk(int64_t mark, std::string_view bytes);
  // After the block bytes before `mark` (moving down) or from it on (moving
  // up) reached their new place.
  bool MarkMoved(int64_t mark);
  // The write is complete: the journal goes, and with it the way back.
  bool Finish();

 private:
  DbShiftJournal() = default;

  std::string path_;
  UniqueFd fd_;
  int64_t start_ = 0;
  int64_t index_offset_ = 0;
  int64_t block_size_ = 0;
  int64_t slot_at_ = 0;
};

// True when an interrupted write left a journal behind.
bool DbJournalExists(const std::string& db_path);

// Puts the database back as it was before an interrupted write and removes the
// journal; true when nothing is left to undo. Safe to interrupt and repeat.
// The caller holds the database's exclusive lock. problem, when given,
// receives why it failed.
bool DbRecover(const std::string& db_path, std::string* problem);

}  // namespace zcd
