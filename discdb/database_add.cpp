#include <fcntl.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <vector>

#include "discdb/database.h"
#include "discdb/db_add.h"
#include "discdb/db_file_writer.h"
#include "discdb/db_format.h"
#include "discdb/db_journal.h"
#include "discdb/db_lock.h"
#include "discdb/db_test_seam.h"

namespace zcd {
namespace {

// How much of the index moves per write: big enough to keep the number of
// writes small, small enough to stay in the cache on its way through the slot.
std::atomic<int64_t> g_move_chunk{1 << 20};

int CreateDatabase(const std::string& db_path, std::string_view key, std::string_view text) {
  auto writer = DbFileWriter::Create(db_path);
  if (!writer)
    return -1;
  char row[kDbRowSize];
  FillRow(row, key, kDbHeadSize, static_cast<int32_t>(text.size()));
  const bool written =
      writer->AppendText(text) && writer->AppendRows({row, sizeof row}) && writer->Commit();
  return written ? 1 : -1;
}

// Text over the old index, the index moved behind it, the new row last, the
// head rewritten; the journal can undo every step up to its removal.
bool AppendInPlace(const std::string& db_path, int fd, const char* head_bytes, int64_t old_size,
                   std::string_view key, std::string_view text) {
  const DbHead head = DbHead::Parse(head_bytes);
  const int64_t index_offset = head.index_offset;
  const int64_t index_size = head.index_size;
  const auto length = static_cast<int64_t>(text.size());
  const bool full = index_size <= DbFullJournalLimit();

  std::optional<DbMapping> old_index;
  if (full) {
    old_index = DbMapping::Map(fd, index_offset, index_size);
    if (!old_index)
      return false;
  }
  auto journal = DbAddJournal::Begin(db_path, old_size, head_bytes, static_cast<int32_t>(length),
                                     old_index ? std::optional(old_index->view()) : std::nullopt);
  old_index.reset();
  if (!journal)
    return false;

  char row[kDbRowSize];
  FillRow(row, key, static_cast<int32_t>(index_offset), static_cast<int32_t>(length));
  if (!DbWriteAt(fd, row, sizeof row, index_offset + length + index_size))
    return false;
  // Back to front: a chunk's new place only covers old bytes that have moved
  // already, or its own, which wait in the journal's slot meanwhile.
  thread_local std::vector<char> chunk;
  chunk.resize(static_cast<size_t>(std::min(index_size, g_move_chunk.load())));
  for (int64_t end = index_size; end > 0;) {
    const int64_t first = std::max<int64_t>(0, end - static_cast<int64_t>(chunk.size()));
    const auto bytes = static_cast<size_t>(end - first);
    if (!DbReadAt(fd, chunk.data(), bytes, index_offset + first))
      return false;
    if (end - first > length && !journal->SaveChunk(first, {chunk.data(), bytes}))
      return false;
    if (!DbWriteAt(fd, chunk.data(), bytes, index_offset + length + first) ||
        !journal->MarkMoved(first))
      return false;
    end = first;
  }
  if (!DbWriteAt(fd, text.data(), text.size(), index_offset))
    return false;

  DbHead new_head = head;
  new_head.index_offset = static_cast<int32_t>(index_offset + length);
  new_head.index_size = static_cast<int32_t>(index_size + kDbRowSize);
  char new_head_bytes[kDbHeadSize];
  new_head.Store(new_head_bytes);
  if (!DbWriteAt(fd, new_head_bytes, sizeof new_head_bytes, 0))
    return false;
  if (full && !DbSyncData(fd))
    return false;
  return journal->Finish();
}

// The same bytes as AppendInPlace, written as a new file put in the old
// one's place.
bool AppendByRewrite(const std::string& db_path, int fd, const DbHead& head, std::string_view key,
                     std::string_view text) {
  auto old_file =
      DbMapping::Map(fd, kDbHeadSize, head.index_offset + head.index_size - kDbHeadSize);
  auto writer = DbFileWriter::Create(db_path);
  if (!old_file || !writer)
    return false;
  const std::string_view old_bytes = old_file->view();
  const size_t texts = static_cast<size_t>(head.index_offset - kDbHeadSize);
  char row[kDbRowSize];
  FillRow(row, key, head.index_offset, static_cast<int32_t>(text.size()));
  return writer->AppendText(old_bytes.substr(0, texts)) && writer->AppendText(text) &&
         writer->AppendRows(old_bytes.substr(texts)) && writer->AppendRows({row, sizeof row}) &&
         writer->Commit();
}

}  // namespace

int64_t DbSetIndexMoveChunk(int64_t bytes) {
  return g_move_chunk.exchange(bytes);
}

int64_t DbIndexMoveChunk() {
  return g_move_chunk.load();
}

int DbAddEntry(const std::string& db_path, std::string_view key, std::string_view text) {
  if (!EntryFits(key, text))
    return 0;
  auto lock = DbLock::Acquire(db_path, DbLock::Mode::kExclusive, nullptr);
  if (!lock)
    return -1;
  return DbAddLocked(db_path, *lock, key, text);
}

int DbAddLocked(const std::string& db_path, DbLock& lock, std::string_view key,
                std::string_view text) {
  if (!EntryFits(key, text))
    return 0;
  const auto replaced = [&](int result) {
    if (result == 1)
      lock.AllowInPlaceWrites();
    return result;
  };
  UniqueFd fd = DbOpen(db_path, O_RDWR);
  if (!fd.valid())
    return errno == ENOENT ? replaced(CreateDatabase(db_path, key, text)) : -1;
  const int64_t size = DbFileSize(fd.get());
  if (size == 0)
    return replaced(CreateDatabase(db_path, key, text));
  char head_bytes[kDbHeadSize];
  if (size < kDbHeadSize || !DbReadAt(fd.get(), head_bytes, sizeof head_bytes, 0))
    return -1;
  // Never write into a file that is not a sound database: the user's data,
  // whatever it is, stays as it was.
  if (!HeadFitsFile(DbHead::Parse(head_bytes), size) ||
      size + static_cast<int64_t>(text.size()) + kDbRowSize > kDbMaxFileSize)
    return -1;
  if (!lock.in_place_allowed())
    return replaced(AppendByRewrite(db_path, fd.get(), DbHead::Parse(head_bytes), key, text) ? 1
                                                                                             : -1);
  if (AppendInPlace(db_path, fd.get(), head_bytes, size, key, text))
    return 1;
  fd = UniqueFd();
  DbRecover(db_path, nullptr);
  return -1;
}

}  // namespace zcd
