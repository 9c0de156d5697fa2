#include "discdb/db_tail_write.h"

#include <fcntl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <vector>

#include "discdb/db_file_writer.h"
#include "discdb/db_format.h"
#include "discdb/db_journal.h"
#include "discdb/db_test_seam.h"
#include "discdb/db_view.h"

namespace zcd {
namespace {

// Moving a tail costs its bytes twice (journal and new place); rewriting costs
// the whole file once. Past half the file the rewrite is no dearer.
std::atomic<int> g_in_place_share{50};

// The old index, with one spare row: key matching reads ahead by up to a row,
// and the added row goes there when the index is rebuilt in place.
struct IndexCopy {
  std::unique_ptr<char[]> bytes;
  size_t count = 0;

  char* row(size_t i) const { return bytes.get() + i * kDbRowSize; }
  std::string_view view() const { return {bytes.get(), count * kDbRowSize}; }
};

// The texts lie from the head on, back to back, in index order: the only
// layout in which moving the tail leaves what a rewrite would.
bool TextsInIndexOrder(const IndexCopy& index, int64_t index_offset) {
  int64_t expected = kDbHeadSize;
  for (size_t i = 0; i < index.count; ++i) {
    const char* row = index.row(i);
    if (RowOffset(row) != expected || RowLength(row) < 0)
      return false;
    expected += RowLength(row);
  }
  return expected == index_offset;
}

// The kept rows with their texts' new offsets, then the added row.
template <typename Emit>
void ForEachNewRow(const IndexCopy& index, const std::vector<char>& doomed,
                   const std::optional<DbNewEntry>& added, Emit emit) {
  int64_t offset = kDbHeadSize;
  for (size_t i = 0; i < index.count; ++i) {
    if (doomed[i])
      continue;
    const char* row = index.row(i);
    emit(RowKey(row), offset, RowLength(row));
    offset += RowLength(row);
  }
  if (added)
    emit(added->key, offset, static_cast<int32_t>(added->text.size()));
}

DbTailOutcome Rewrite(const std::string& db_path, DbLock& lock, const DbView& view,
                      const IndexCopy& index, const std::vector<char>& doomed,
                      const std::optional<DbNewEntry>& added) {
  auto writer = DbFileWriter::Create(db_path);
  if (!writer)
    return DbTailOutcome::kFailed;
  bool written = true;
  for (size_t i = 0; i < index.count && written; ++i) {
    if (!doomed[i])
      written = writer->AppendText(*view.Text(index.row(i)));
  }
  if (added)
    written = written && writer->AppendText(added->text);
  written = written && writer->AppendRows({});
  ForEachNewRow(index, doomed, added, [&](std::string_view key, int64_t offset, int32_t length) {
    char row[kDbRowSize];
    FillRow(row, key, static_cast<int32_t>(offset), length);
    written = written && writer->AppendRows({row, sizeof row});
  });
  if (!written || !writer->Commit())
    return DbTailOutcome::kFailed;
  lock.AllowInPlaceWrites();
  return DbTailOutcome::kWritten;
}

// The kept texts behind `first` move down over the removed ones, run by run,
// the added text follows them, then the rebuilt index, the head, and the cut.
bool MoveTail(const std::string& db_path, const DbView& view, IndexCopy& index,
              const std::vector<char>& doomed, size_t first, int64_t start,
              const std::optional<DbNewEntry>& added) {
  const UniqueFd fd = DbOpen(db_path, O_RDWR);
  if (!fd.valid())
    return false;
  const int64_t old_size = view.size();
  const bool sync = view.head().index_size <= DbFullJournalLimit();
  char head_bytes[kDbHeadSize];
  view.head().Store(head_bytes);
  auto journal =
      DbTailJournal::Begin(db_path, fd.get(), head_bytes, old_size, start, index.view(), sync);
  if (!journal)
    return false;

  int64_t to = start;
  for (size_t i = first; i < index.count;) {
    if (doomed[i]) {
      ++i;
      continue;
    }
    const int64_t from = RowOffset(index.row(i));
    int64_t length = 0;
    for (; i < index.count && !doomed[i]; ++i)
      length += RowLength(index.row(i));
    if (from != to && !DbCopyAt(fd.get(), from, fd.get(), to, length))
      return false;
    to += length;
  }
  if (added) {
    if (!DbWriteAt(fd.get(), added->text.data(), added->text.size(), to))
      return false;
    to += static_cast<int64_t>(added->text.size());
  }

  // Rows only move towards the front, so the index is rebuilt where it lies.
  size_t rows = 0;
  ForEachNewRow(index, doomed, added, [&](std::string_view key, int64_t offset, int32_t length) {
    char key_bytes[kDbKeyField];
    std::memcpy(key_bytes, key.data(), key.size());
    FillRow(index.row(rows++), {key_bytes, key.size()}, static_cast<int32_t>(offset), length);
  });
  const int64_t index_size = static_cast<int64_t>(rows) * kDbRowSize;
  if (!DbWriteAt(fd.get(), index.bytes.get(), static_cast<size_t>(index_size), to))
    return false;
  DbHead head = view.head();
  head.magic = kDbMagic;
  head.index_offset = static_cast<int32_t>(to);
  head.index_size = static_cast<int32_t>(index_size);
  head.Store(head_bytes);
  if (!DbWriteAt(fd.get(), head_bytes, sizeof head_bytes, 0))
    return false;
  if (to + index_size < old_size && !DbTruncate(fd.get(), to + index_size))
    return false;
  if (sync && !DbSyncData(fd.get()))
    return false;
  return journal->Finish();
}

}  // namespace

int DbSetInPlaceTailShare(int percent) {
  return g_in_place_share.exchange(percent);
}

DbTailOutcome DbRemoveAndAppend(const std::string& db_path, DbLock& lock,
                                const std::optional<DbKeyMatch>& remove,
                                const std::optional<DbNewEntry>& added) {
  const DbView view = DbView::Open(db_path);
  IndexCopy index;
  const bool no_database = view.kind() == DbView::Kind::kMissing ||
                           (view.kind() == DbView::Kind::kNotADatabase && view.size() == 0);
  if (no_database) {
    if (!added)
      return DbTailOutcome::kNothingToDo;
    return Rewrite(db_path, lock, view, index, {}, added);
  }
  if (view.kind() == DbView::Kind::kUnreadable)
    return DbTailOutcome::kFailed;
  // Never write into a file that is not a sound database.
  if (view.kind() != DbView::Kind::kDatabase || !HeadFitsFile(view.head(), view.size()))
    return DbTailOutcome::kRefused;

  const int64_t index_offset = view.head().index_offset;
  index.count = view.row_count();
  index.bytes = std::make_unique_for_overwrite<char[]>((index.count + 1) * kDbRowSize);
  std::memset(index.row(index.count), 0, kDbRowSize);
  if (!DbReadAt(view.fd(), index.bytes.get(), index.count * kDbRowSize, index_offset))
    return DbTailOutcome::kFailed;

  std::vector<char> doomed(index.count, 0);
  size_t first = index.count;
  if (remove) {
    for (size_t i = remove->FindRowFollowed(index.bytes.get(), index.count); i < index.count;
         i = remove->FindRowFollowed(index.bytes.get(), index.count, i + 1)) {
      doomed[i] = 1;
      first = std::min(first, i);
    }
  }
  if (first == index.count && !added)
    return DbTailOutcome::kNothingToDo;
  // A kept row whose text cannot be read would be lost: leave the file alone.
  for (size_t i = 0; i < index.count; ++i) {
    if (!doomed[i] && !RowReadable(index.row(i), index_offset))
      return DbTailOutcome::kRefused;
  }
  if (added) {
    const int64_t kept_rows =
        static_cast<int64_t>(index.count) - std::count(doomed.begin(), doomed.end(), 1);
    int64_t kept_bytes = 0;
    for (size_t i = 0; i < index.count; ++i)
      kept_bytes += doomed[i] ? 0 : RowLength(index.row(i));
    if (kDbHeadSize + kept_bytes + static_cast<int64_t>(added->text.size()) +
            (kept_rows + 1) * kDbRowSize >
        kDbMaxFileSize)
      return DbTailOutcome::kRefused;
  }

  const int64_t start = first < index.count ? RowOffset(index.row(first)) : index_offset;
  const int64_t tail = view.size() - start;
  const bool in_place = lock.in_place_allowed() && TextsInIndexOrder(index, index_offset) &&
                        tail * 100 <= g_in_place_share.load() * view.size();
  if (!in_place)
    return Rewrite(db_path, lock, view, index, doomed, added);
  if (MoveTail(db_path, view, index, doomed, first, start, added))
    return DbTailOutcome::kWritten;
  DbRecover(db_path, nullptr);
  return DbTailOutcome::kFailed;
}

}  // namespace zcd
