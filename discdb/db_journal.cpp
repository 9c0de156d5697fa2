#include "discdb/db_journal.h"

#include <fcntl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "base/text.h"
#include "discdb/db_format.h"
#include "discdb/db_journal_layout.h"

namespace zcd {

using namespace db_journal_layout;

namespace {

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
  return CloseAndRemove(fd_, path_);
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
  return CloseAndRemove(fd_, path_);
}

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
  return CloseAndRemove(fd_, path_);
}

bool DbJournalExists(const std::string& db_path) {
  return DbExists(JournalPath(db_path));
}

}  // namespace zcd
