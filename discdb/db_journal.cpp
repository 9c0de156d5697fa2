#include "discdb/db_journal.h"

#include <fcntl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "base/text.h"
#include "discdb/db_format.h"

namespace zcd {
namespace {

// Journal layout. The head (up to kChecksumAt + 8) is written last in one
// write and guarded by a checksum: a journal without a valid head was never
// acted on. The marks after it change while the add runs.
constexpr char kJournalMagic[4] = {'Z', 'C', 'D', 'J'};
constexpr int64_t kVersionAt = 4;
constexpr int64_t kOldSizeAt = 8;
constexpr int64_t kOldHeadAt = 16;
constexpr int64_t kTextLengthAt = 28;
constexpr int64_t kSavedAtBeginAt = 32;
constexpr int64_t kChecksumAt = 40;
constexpr int64_t kHeadBytes = 48;
constexpr int64_t kMovedFromAt = 64;  // index bytes from here on are in their new place
constexpr int64_t kSlotFromAt = 72;   // the slot holds the index bytes from here to the mark above
constexpr int64_t kRollbackSavedAt = 80;  // kSavedMark once the rebuilt index is saved
constexpr int64_t kRollbackIndexAt = 88;  // where it is: after everything else
constexpr int64_t kSavedIndexAt = 4096;   // the whole old index, or the slot
constexpr uint32_t kVersion = 2;
// A tail journal shares the head's first fields; instead of the add's text
// length and flag it keeps where the saved bytes start in the database. What
// it saved follows at kSavedIndexAt.
constexpr uint32_t kTailVersion = 3;
constexpr int64_t kStartAt = 32;
constexpr uint64_t kSavedMark = 0x4556415344435a31ull;
// A shift journal is a tail journal that saves all but the block; the block's
// size, shift and chunk size follow the head, the add's marks and rollback
// fields stay where they are, and the slot follows the saved bytes.
constexpr uint32_t kShiftVersion = 4;
constexpr int64_t kBlockSizeAt = 48;
constexpr int64_t kShiftAt = 56;
constexpr int64_t kChunkBytesAt = 96;

template <typename T>
T Load(const char* p) {
  T value;
  std::memcpy(&value, p, sizeof value);
  return value;
}

template <typename T>
void Put(char* p, T value) {
  std::memcpy(p, &value, sizeof value);
}

bool WriteMark(int fd, int64_t at, int64_t value) {
  char bytes[8];
  Put<int64_t>(bytes, value);
  return DbWriteAt(fd, bytes, sizeof bytes, at);
}

std::string JournalPath(const std::string& db_path) {
  return DbSidePath(db_path, "-journal");
}

// A new, empty journal; invalid when it cannot be made (or a simulated crash
// stops it).
UniqueFd CreateJournalFile(const std::string& path) {
  if (!DbIoStep())
    return {};
  return DbOpen(path, O_RDWR | O_CREAT | O_TRUNC, 0600);
}

std::atomic<int64_t> g_full_journal_limit{4 << 20};

}  // namespace

int64_t DbFullJournalLimit() {
  return g_full_journal_limit.load();
}

int64_t DbSetFullJournalLimit(int64_t bytes) {
  return g_full_journal_limit.exchange(bytes);
}

std::optional<DbAddJournal> DbAddJournal::Begin(const std::string& db_path, int64_t old_size,
                                                const char* old_head, int32_t text_length,
                                                std::optional<std::string_view> old_index) {
  DbAddJournal journal;
  journal.path_ = JournalPath(db_path);
  journal.saved_whole_ = old_index.has_value();
  journal.fd_ = CreateJournalFile(journal.path_);
  if (!journal.fd_.valid())
    return std::nullopt;
  const int fd = journal.fd_.get();
  if (old_index && !DbWriteAt(fd, old_index->data(), old_index->size(), kSavedIndexAt))
    return std::nullopt;

  const int64_t index_size = DbHead::Parse(old_head).index_size;
  char page[kSavedIndexAt] = {};
  Put<int64_t>(page + kMovedFromAt, index_size);
  Put<int64_t>(page + kSlotFromAt, index_size);
  if (!DbWriteAt(fd, page + kHeadBytes, sizeof page - kHeadBytes, kHeadBytes))
    return std::nullopt;

  std::memcpy(page, kJournalMagic, 4);
  Put<uint32_t>(page + kVersionAt, kVersion);
  Put<int64_t>(page + kOldSizeAt, old_size);
  std::memcpy(page + kOldHeadAt, old_head, kDbHeadSize);
  Put<int32_t>(page + kTextLengthAt, text_length);
  Put<uint32_t>(page + kSavedAtBeginAt, old_index ? 1 : 0);
  Put<uint64_t>(page + kChecksumAt, Fnv1a64({page, kChecksumAt}));
  if (!DbWriteAt(fd, page, kHeadBytes, 0))
    return std::nullopt;
  if (old_index && !(DbSyncData(fd) && DbSyncDirectoryOf(journal.path_)))
    return std::nullopt;
  return journal;
}

bool DbAddJournal::SaveChunk(int64_t at, std::string_view bytes) {
  if (saved_whole_)
    return true;
  return DbWriteAt(fd_.get(), bytes.data(), bytes.size(), kSavedIndexAt) &&
         WriteMark(fd_.get(), kSlotFromAt, at);
}

bool DbAddJournal::MarkMoved(int64_t at) {
  return WriteMark(fd_.get(), kMovedFromAt, at);
}

bool DbAddJournal::Finish() {
  fd_ = UniqueFd();
  return DbRemove(path_);
}

std::optional<DbTailJournal> DbTailJournal::Begin(const std::string& db_path, int db_fd,
                                                  const char* old_head, int64_t old_size,
                                                  int64_t start, bool sync) {
  DbTailJournal journal;
  journal.path_ = JournalPath(db_path);
  journal.start_ = start;
  journal.fd_ = CreateJournalFile(journal.path_);
  if (!journal.fd_.valid())
    return std::nullopt;
  const int fd = journal.fd_.get();
  if (!DbCopyAt(db_fd, start, fd, kSavedIndexAt, old_size - start))
    return std::nullopt;

  // The head last: until it is whole the journal undoes nothing.
  char page[kHeadBytes] = {};
  std::memcpy(page, kJournalMagic, 4);
  Put<uint32_t>(page + kVersionAt, kTailVersion);
  Put<int64_t>(page + kOldSizeAt, old_size);
  std::memcpy(page + kOldHeadAt, old_head, kDbHeadSize);
  Put<int64_t>(page + kStartAt, start);
  Put<uint64_t>(page + kChecksumAt, Fnv1a64({page, kChecksumAt}));
  if (!DbWriteAt(fd, page, sizeof page, 0))
    return std::nullopt;
  if (sync && !(DbSyncData(fd) && DbSyncDirectoryOf(journal.path_)))
    return std::nullopt;
  return journal;
}

int64_t DbTailJournal::SavedAt(int64_t at) const {
  return kSavedIndexAt + at - start_;
}

bool DbTailJournal::Finish() {
  fd_ = UniqueFd();
  return DbRemove(path_);
}

namespace {

int64_t PageAligned(int64_t at) {
  return (at + kSavedIndexAt - 1) / kSavedIndexAt * kSavedIndexAt;
}

}  // namespace

std::optional<DbShiftJournal> DbShiftJournal::Begin(const std::string& db_path, int db_fd,
                                                    const char* old_head, int64_t old_size,
                                                    int64_t start, int64_t block_size,
                                                    int64_t shift, int64_t chunk_bytes) {
  DbShiftJournal journal;
  journal.path_ = JournalPath(db_path);
  journal.start_ = start;
  journal.index_offset_ = DbHead::Parse(old_head).index_offset;
  journal.block_size_ = block_size;
  const int64_t texts = journal.index_offset_ - start;
  const int64_t rows_after = old_size - journal.index_offset_ - block_size;
  journal.slot_at_ = PageAligned(kSavedIndexAt + texts + rows_after);
  journal.fd_ = CreateJournalFile(journal.path_);
  if (!journal.fd_.valid())
    return std::nullopt;
  const int fd = journal.fd_.get();
  if (!DbCopyAt(db_fd, start, fd, kSavedIndexAt, texts) ||
      !DbCopyAt(db_fd, journal.index_offset_ + block_size, fd, kSavedIndexAt + texts, rows_after))
    return std::nullopt;

  char page[kSavedIndexAt] = {};
  Put<int64_t>(page + kBlockSizeAt, block_size);
  Put<int64_t>(page + kShiftAt, shift);
  Put<int64_t>(page + kMovedFromAt, shift < 0 ? block_size : 0);
  Put<int64_t>(page + kSlotFromAt, shift < 0 ? block_size : 0);
  Put<int64_t>(page + kChunkBytesAt, chunk_bytes);
  if (!DbWriteAt(fd, page + kHeadBytes, sizeof page - kHeadBytes, kHeadBytes))
    return std::nullopt;
  // The head last: until it is whole the journal undoes nothing.
  std::memcpy(page, kJournalMagic, 4);
  Put<uint32_t>(page + kVersionAt, kShiftVersion);
  Put<int64_t>(page + kOldSizeAt, old_size);
  std::memcpy(page + kOldHeadAt, old_head, kDbHeadSize);
  Put<int64_t>(page + kStartAt, start);
  Put<uint64_t>(page + kChecksumAt, Fnv1a64({page, kChecksumAt}));
  if (!DbWriteAt(fd, page, kHeadBytes, 0))
    return std::nullopt;
  return journal;
}

int64_t DbShiftJournal::SavedAt(int64_t at) const {
  return at < index_offset_ ? kSavedIndexAt + at - start_
                            : kSavedIndexAt + at - start_ - block_size_;
}

bool DbShiftJournal::SaveChunk(int64_t mark, std::string_view bytes) {
  return DbWriteAt(fd_.get(), bytes.data(), bytes.size(), slot_at_) &&
         WriteMark(fd_.get(), kSlotFromAt, mark);
}

bool DbShiftJournal::MarkMoved(int64_t mark) {
  return WriteMark(fd_.get(), kMovedFromAt, mark);
}

bool DbShiftJournal::Finish() {
  fd_ = UniqueFd();
  return DbRemove(path_);
}

bool DbJournalExists(const std::string& db_path) {
  return DbExists(JournalPath(db_path));
}

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
