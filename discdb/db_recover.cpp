#include <fcntl.h>

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "base/text.h"
#include "discdb/db_format.h"
#include "discdb/db_journal.h"
#include "discdb/db_journal_layout.h"

// Undoing an interrupted write from its journal.
namespace zcd {

using namespace db_journal_layout;

namespace {

bool Fail(std::string* problem, const char* text) {
  if (problem)
    *problem = text;
  return false;
}

// The old index rebuilt from its old place, the slot and its new place; none
// when the database does not hold what the journal describes.
std::optional<std::vector<char>> RebuildOldIndex(int db_fd, int journal_fd, int64_t db_size,
                                                 int64_t journal_size, int64_t index_offset,
                                                 int64_t index_size, int32_t text_length,
                                                 const char* page) {
  const int64_t moved_from = Load<int64_t>(page + kMovedFromAt);
  const int64_t slot_from = std::min(Load<int64_t>(page + kSlotFromAt), moved_from);
  if (moved_from < 0 || moved_from > index_size || slot_from < 0)
    return std::nullopt;
  const int64_t new_place = index_offset + text_length;
  if ((moved_from < index_size && new_place + index_size > db_size) ||
      index_offset + slot_from > db_size ||
      (slot_from < moved_from && kSavedIndexAt + moved_from - slot_from > journal_size))
    return std::nullopt;
  std::vector<char> index(static_cast<size_t>(index_size));
  char* const at = index.data();
  if (!DbReadAt(db_fd, at, static_cast<size_t>(slot_from), index_offset) ||
      !DbReadAt(journal_fd, at + slot_from, static_cast<size_t>(moved_from - slot_from),
                kSavedIndexAt) ||
      !DbReadAt(db_fd, at + moved_from, static_cast<size_t>(index_size - moved_from),
                new_place + moved_from))
    return std::nullopt;
  return index;
}

// Saves bytes rebuilt from the database behind everything else in the
// journal before the database changes again, so that an interrupted rollback
// can start over from the same bytes.
bool KeepForRollback(int journal_fd, int64_t journal_size, const std::vector<char>& bytes) {
  const int64_t at = PageAligned(journal_size);
  char field[8];
  Put<int64_t>(field, at);
  char mark[8];
  Put<uint64_t>(mark, kSavedMark);
  return DbWriteAt(journal_fd, bytes.data(), bytes.size(), at) &&
         DbWriteAt(journal_fd, field, sizeof field, kRollbackIndexAt) && DbSyncData(journal_fd) &&
         DbWriteAt(journal_fd, mark, sizeof mark, kRollbackSavedAt);
}

// The old block of a shift journal from its old place, the slot and its new
// place; none when the database does not hold what the journal describes.
std::optional<std::vector<char>> RebuildOldBlock(int db_fd, int journal_fd, const char* page,
                                                 int64_t index_offset, int64_t slot_at) {
  const int64_t block = Load<int64_t>(page + kBlockSizeAt);
  const int64_t shift = Load<int64_t>(page + kShiftAt);
  const int64_t moved = Load<int64_t>(page + kMovedFromAt);
  const int64_t slot = Load<int64_t>(page + kSlotFromAt);
  if (moved < 0 || moved > block || slot < 0 || slot > block)
    return std::nullopt;
  // Pieces of the block in order: [0, a) and [b, block) from the places the
  // direction of the move says, [a, b) from the slot.
  const bool down = shift >= 0;
  const int64_t a = down ? moved : std::min(slot, moved);
  const int64_t b = down ? std::max(slot, moved) : moved;
  if (b - a > Load<int64_t>(page + kChunkBytesAt))
    return std::nullopt;
  const int64_t new_at = index_offset - shift;
  std::vector<char> bytes(static_cast<size_t>(block));
  char* const at = bytes.data();
  if (!DbReadAt(db_fd, at, static_cast<size_t>(a), (down ? new_at : index_offset)) ||
      !DbReadAt(journal_fd, at + a, static_cast<size_t>(b - a), slot_at) ||
      !DbReadAt(db_fd, at + b, static_cast<size_t>(block - b), (down ? index_offset : new_at) + b))
    return std::nullopt;
  return bytes;
}

// Puts the saved texts and rows, the block and the old head back and cuts the
// file to its old size.
bool UndoShift(const std::string& db_path, int journal_fd, int64_t journal_size, const char* page,
               std::string* problem) {
  const int64_t old_size = Load<int64_t>(page + kOldSizeAt);
  const DbHead old_head = DbHead::Parse(page + kOldHeadAt);
  const int64_t start = Load<int64_t>(page + kStartAt);
  const int64_t block = Load<int64_t>(page + kBlockSizeAt);
  const int64_t shift = Load<int64_t>(page + kShiftAt);
  const int64_t chunk = Load<int64_t>(page + kChunkBytesAt);
  const int64_t index_offset = old_head.index_offset;
  if (!HeadFitsFile(old_head, old_size) || start < kDbHeadSize || start > index_offset ||
      block < 0 || block > old_head.index_size || chunk < 0 || chunk > block ||
      shift > index_offset - start || index_offset - shift + block > kDbMaxFileSize)
    return Fail(problem, "the journal of an interrupted write is damaged");
  const int64_t texts = index_offset - start;
  const int64_t rows_after = old_size - index_offset - block;
  const int64_t slot_at = PageAligned(kSavedIndexAt + texts + rows_after);
  if (journal_size < kSavedIndexAt + texts + rows_after)
    return Fail(problem, "the journal of an interrupted write is cut short");
  UniqueFd db = DbOpen(db_path, O_RDWR);
  if (!db.valid() || DbFileSize(db.get()) < start)
    return Fail(problem, "the database no longer matches the journal of an interrupted write");

  std::vector<char> old_block;
  if (Load<uint64_t>(page + kRollbackSavedAt) == kSavedMark) {
    const int64_t at = Load<int64_t>(page + kRollbackIndexAt);
    if (at < slot_at || journal_size < at + block)
      return Fail(problem, "the journal of an interrupted write is cut short");
    old_block.resize(static_cast<size_t>(block));
    if (!DbReadAt(journal_fd, old_block.data(), old_block.size(), at))
      return Fail(problem, "the journal of an interrupted write cannot be read");
  } else {
    auto rebuilt = RebuildOldBlock(db.get(), journal_fd, page, index_offset, slot_at);
    if (!rebuilt)
      return Fail(problem, "the database no longer matches the journal of an interrupted write");
    old_block = std::move(*rebuilt);
    if (!KeepForRollback(journal_fd, journal_size, old_block))
      return Fail(problem, "the journal of an interrupted write cannot be written");
  }
  char head[kDbHeadSize];
  old_head.Store(head);
  if (!DbCopyAt(journal_fd, kSavedIndexAt, db.get(), start, texts) ||
      !DbWriteAt(db.get(), old_block.data(), old_block.size(), index_offset) ||
      !DbCopyAt(journal_fd, kSavedIndexAt + texts, db.get(), index_offset + block, rows_after) ||
      !DbWriteAt(db.get(), head, sizeof head, 0) || !DbTruncate(db.get(), old_size) ||
      !DbSyncData(db.get()))
    return Fail(problem, "the database cannot be written to undo an interrupted write");
  return true;
}

// Puts the saved tail and the old head back and cuts the file to its old
// size; the journal stays unchanged, so this can start over any time.
bool UndoTail(const std::string& db_path, int journal_fd, int64_t journal_size, const char* page,
              std::string* problem) {
  const int64_t old_size = Load<int64_t>(page + kOldSizeAt);
  const DbHead old_head = DbHead::Parse(page + kOldHeadAt);
  const int64_t start = Load<int64_t>(page + kStartAt);
  if (!HeadFitsFile(old_head, old_size) || start < kDbHeadSize || start > old_head.index_offset)
    return Fail(problem, "the journal of an interrupted write is damaged");
  if (journal_size < kSavedIndexAt + old_size - start)
    return Fail(problem, "the journal of an interrupted write is cut short");
  UniqueFd db = DbOpen(db_path, O_RDWR);
  const int64_t db_size = db.valid() ? DbFileSize(db.get()) : -1;
  if (db_size < start)
    return Fail(problem, "the database no longer matches the journal of an interrupted write");
  char head[kDbHeadSize];
  old_head.Store(head);
  if (!DbCopyAt(journal_fd, kSavedIndexAt, db.get(), start, old_size - start) ||
      !DbWriteAt(db.get(), head, sizeof head, 0) || !DbTruncate(db.get(), old_size) ||
      !DbSyncData(db.get()))
    return Fail(problem, "the database cannot be written to undo an interrupted write");
  return true;
}

}  // namespace

bool DbRecover(const std::string& db_path, std::string* problem) {
  const std::string path = JournalPath(db_path);
  UniqueFd journal = DbOpen(path, O_RDWR);
  if (!journal.valid())
    return DbExists(path) ? Fail(problem, "the journal of an interrupted write cannot be opened")
                          : true;
  const int64_t journal_size = DbFileSize(journal.get());
  std::vector<char> page(kSavedIndexAt, 0);
  const bool head_read =
      journal_size >= kHeadBytes &&
      DbReadAt(journal.get(), page.data(), std::min<int64_t>(journal_size, kSavedIndexAt), 0);
  const uint32_t version = head_read ? Load<uint32_t>(page.data() + kVersionAt) : 0;
  const bool valid =
      head_read && std::memcmp(page.data(), kJournalMagic, 4) == 0 &&
      (version == kVersion || version == kTailVersion || version == kShiftVersion) &&
      Load<uint64_t>(page.data() + kChecksumAt) == Fnv1a64({page.data(), kChecksumAt});
  if (!valid) {
    // The head is written before the database is touched: without it there
    // is nothing to undo.
    journal = UniqueFd();
    return DbRemove(path) ? true : Fail(problem, "a stale journal cannot be removed");
  }

  if (version == kTailVersion || version == kShiftVersion) {
    const bool undone = version == kTailVersion
                            ? UndoTail(db_path, journal.get(), journal_size, page.data(), problem)
                            : UndoShift(db_path, journal.get(), journal_size, page.data(), problem);
    journal = UniqueFd();
    if (!undone)
      return false;
    return DbRemove(path) ? true
                          : Fail(problem, "the journal of an interrupted write cannot be removed");
  }

  const int64_t old_size = Load<int64_t>(page.data() + kOldSizeAt);
  const DbHead old_head = DbHead::Parse(page.data() + kOldHeadAt);
  const int32_t text_length = Load<int32_t>(page.data() + kTextLengthAt);
  const int64_t index_size = old_head.index_size;
  if (!HeadFitsFile(old_head, old_size) || text_length <= 0)
    return Fail(problem, "the journal of an interrupted write is damaged");

  UniqueFd db = DbOpen(db_path, O_RDWR);
  const int64_t db_size = db.valid() ? DbFileSize(db.get()) : -1;
  if (db_size < old_size)
    return Fail(problem, "the database no longer matches the journal of an interrupted write");

  const bool saved_at_begin = Load<uint32_t>(page.data() + kSavedAtBeginAt) == 1;
  const bool saved_for_rollback = Load<uint64_t>(page.data() + kRollbackSavedAt) == kSavedMark;
  std::vector<char> index;
  if (saved_at_begin || saved_for_rollback) {
    const int64_t at =
        saved_at_begin ? kSavedIndexAt : Load<int64_t>(page.data() + kRollbackIndexAt);
    if (at < kSavedIndexAt || journal_size < at + index_size)
      return Fail(problem, "the journal of an interrupted write is cut short");
    index.resize(static_cast<size_t>(index_size));
    if (!DbReadAt(journal.get(), index.data(), index.size(), at))
      return Fail(problem, "the journal of an interrupted write cannot be read");
  } else {
    auto rebuilt = RebuildOldIndex(db.get(), journal.get(), db_size, journal_size,
                                   old_head.index_offset, index_size, text_length, page.data());
    if (!rebuilt)
      return Fail(problem, "the database no longer matches the journal of an interrupted write");
    index = std::move(*rebuilt);
    if (!KeepForRollback(journal.get(), journal_size, index))
      return Fail(problem, "the journal of an interrupted write cannot be written");
  }

  char head[kDbHeadSize];
  old_head.Store(head);
  if (!DbWriteAt(db.get(), index.data(), index.size(), old_head.index_offset) ||
      !DbWriteAt(db.get(), head, sizeof head, 0) || !DbTruncate(db.get(), old_size) ||
      !DbSyncData(db.get()))
    return Fail(problem, "the database cannot be written to undo an interrupted write");
  db = UniqueFd();
  journal = UniqueFd();
  return DbRemove(path) ? true
                        : Fail(problem, "the journal of an interrupted write cannot be removed");
}

}  // namespace zcd
