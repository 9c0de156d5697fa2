#include "discdb/db_tail_write.h"

#include <fcntl.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <vector>

#include "discdb/db_add.h"
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

// What a delete or replace finds in the index, from one pass over it.
struct Scan {
  std::vector<size_t> doomed;  // rows to remove, ascending
  size_t first = 0;            // the first of them; the row count when none
  bool readable = true;        // every kept row's text can be read
  bool in_order = true;        // texts back to back from the head, in index order
  size_t plain_rows = 0;       // leading rows a rewrite leaves byte for byte
  int64_t kept_rows = 0;
  int64_t kept_bytes = 0;
};

// A row whose key is zero-padded, as FillRow writes it.
bool PlainRow(const char* row, size_t key_length) {
  static constexpr char kZeros[kDbKeyField] = {};
  return std::memcmp(row + key_length, kZeros, kDbKeyField - key_length) == 0;
}

// Reads the index in blocks, as DbView::FindRow does: cheaper than faulting
// it in through the mapping.
std::optional<Scan> ScanIndex(const DbView& view, const std::optional<DbKeyMatch>& remove) {
  constexpr size_t kBlockRows = 4096;
  thread_local std::vector<char> block((kBlockRows + 1) * kDbRowSize);
  const size_t count = view.row_count();
  const int64_t index_offset = view.head().index_offset;
  Scan scan;
  int64_t expected = kDbHeadSize;
  bool plain = true;
  for (size_t base = 0; base < count; base += kBlockRows) {
    const size_t rows = std::min(kBlockRows, count - base);
    std::fill(block.begin() + static_cast<ptrdiff_t>(rows * kDbRowSize), block.end(), 0);
    if (!DbReadAt(view.fd(), block.data(), rows * kDbRowSize,
                  index_offset + static_cast<int64_t>(base * kDbRowSize)))
      return std::nullopt;
    size_t next_doomed = remove ? remove->FindRowFollowed(block.data(), rows) : rows;
    for (size_t j = 0; j < rows; ++j) {
      const char* row = block.data() + j * kDbRowSize;
      scan.in_order = scan.in_order && RowOffset(row) == expected && RowLength(row) >= 0;
      expected += RowLength(row);
      if (j == next_doomed) {
        if (scan.doomed.empty())
          plain = false;
        scan.doomed.push_back(base + j);
        next_doomed = remove->FindRowFollowed(block.data(), rows, j + 1);
        continue;
      }
      const size_t key_length = RowKey(row).size();
      plain = plain && PlainRow(row, key_length);
      scan.plain_rows += plain;
      scan.readable = scan.readable && key_length < kDbKeyField && RowLength(row) >= 0 &&
                      RowOffset(row) >= kDbHeadSize &&
                      int64_t{RowOffset(row)} + RowLength(row) <= index_offset;
      ++scan.kept_rows;
      scan.kept_bytes += RowLength(row);
    }
  }
  scan.in_order = scan.in_order && expected == index_offset;
  scan.first = scan.doomed.empty() ? count : scan.doomed.front();
  return scan;
}

// The kept rows (from `from` on) with their texts' new offsets, then the
// added row.
template <typename Emit>
void ForEachNewRow(const char* rows, size_t from, size_t count, const std::vector<size_t>& doomed,
                   int64_t offset, const std::optional<DbNewEntry>& added, Emit emit) {
  auto next = std::lower_bound(doomed.begin(), doomed.end(), from);
  for (size_t i = from; i < count; ++i) {
    if (next != doomed.end() && *next == i) {
      ++next;
      continue;
    }
    const char* row = rows + (i - from) * kDbRowSize;
    emit(RowKey(row), offset, RowLength(row));
    offset += RowLength(row);
  }
  if (added)
    emit(added->key, offset, static_cast<int32_t>(added->text.size()));
}

// The kept texts from the first removed one on, as runs of old offset and
// length; rows(i) is row i of the index.
template <typename Row>
std::vector<std::pair<int64_t, int64_t>> KeptRuns(const Scan& scan, size_t count, Row row) {
  std::vector<std::pair<int64_t, int64_t>> runs;
  auto next = scan.doomed.begin();
  for (size_t i = scan.first; i < count;) {
    if (next != scan.doomed.end() && *next == i) {
      ++next;
      ++i;
      continue;
    }
    const int64_t text = RowOffset(row(i));
    int64_t length = 0;
    for (; i < count && (next == scan.doomed.end() || *next != i); ++i)
      length += RowLength(row(i));
    runs.emplace_back(text, length);
  }
  return runs;
}

// The end of an in-place write: the rows from `from` on rebuilt at `to`
// (their texts from `text_start` on), the head naming the index at
// `index_at`, and the file cut behind the index.
bool FinishIndex(int fd, const DbView& view, const Scan& scan, const std::vector<char>& rows,
                 size_t from, int64_t text_start, const std::optional<DbNewEntry>& added,
                 int64_t index_at, int64_t to) {
  const size_t count = view.row_count();
  std::vector<char> rebuilt;
  rebuilt.reserve(rows.size() + kDbRowSize);
  const int64_t offset = from < count ? RowOffset(rows.data()) : text_start;
  ForEachNewRow(rows.data(), from, count, scan.doomed, offset, added,
                [&](std::string_view key, int64_t text_offset, int32_t length) {
                  char bytes[kDbRowSize];
                  FillRow(bytes, key, static_cast<int32_t>(text_offset), length);
                  rebuilt.insert(rebuilt.end(), bytes, bytes + kDbRowSize);
                });
  if (!DbWriteAt(fd, rebuilt.data(), rebuilt.size(), to))
    return false;
  to += static_cast<int64_t>(rebuilt.size());

  DbHead head = view.head();
  head.index_offset = static_cast<int32_t>(index_at);
  head.index_size = static_cast<int32_t>(to - index_at);
  char head_bytes[kDbHeadSize];
  head.Store(head_bytes);
  if (!DbWriteAt(fd, head_bytes, sizeof head_bytes, 0))
    return false;
  return to >= view.size() || DbTruncate(fd, to);
}

DbTailOutcome Rewrite(const std::string& db_path, DbLock& lock, const DbView& view,
                      const Scan& scan, const std::optional<DbNewEntry>& added) {
  auto writer = DbFileWriter::Create(db_path);
  if (!writer)
    return DbTailOutcome::kFailed;
  bool written = true;
  auto next = scan.doomed.begin();
  for (size_t i = 0; i < view.row_count() && written; ++i) {
    if (next != scan.doomed.end() && *next == i)
      ++next;
    else
      written = writer->AppendText(*view.Text(view.Row(i)));
  }
  if (added)
    written = written && writer->AppendText(added->text);
  written = written && writer->AppendRows({});
  ForEachNewRow(view.rows(), 0, view.row_count(), scan.doomed, kDbHeadSize, added,
                [&](std::string_view key, int64_t offset, int32_t length) {
                  char row[kDbRowSize];
                  FillRow(row, key, static_cast<int32_t>(offset), length);
                  written = written && writer->AppendRows({row, sizeof row});
                });
  if (!written || !writer->Commit())
    return DbTailOutcome::kFailed;
  lock.AllowInPlaceWrites();
  return DbTailOutcome::kWritten;
}

// Everything from `start` on is saved in the journal first and read back from
// there: the kept texts behind the first removed one move down over the
// removed ones, run by run, the added text follows them, then the index (its
// plain leading rows copied as they are, the others rebuilt), the head, and
// the cut.
bool MoveTail(const std::string& db_path, const DbView& view, const Scan& scan, int64_t start,
              const std::optional<DbNewEntry>& added) {
  const UniqueFd fd = DbOpen(db_path, O_RDWR);
  if (!fd.valid())
    return false;
  const int64_t old_size = view.size();
  const int64_t index_offset = view.head().index_offset;
  const size_t count = view.row_count();
  const bool sync = view.head().index_size <= DbFullJournalLimit();
  char head_bytes[kDbHeadSize];
  view.head().Store(head_bytes);
  auto journal = DbTailJournal::Begin(db_path, fd.get(), head_bytes, old_size, start, sync);
  if (!journal)
    return false;
  const int saved = journal->fd();

  // The rows from the first one to rebuild on (all rows from `first` on, and
  // any before it whose key is not zero-padded).
  const size_t from = scan.plain_rows;
  std::vector<char> rows((count - from) * kDbRowSize);
  const int64_t rows_at = index_offset + static_cast<int64_t>(from * kDbRowSize);
  if (!DbReadAt(saved, rows.data(), rows.size(), journal->SavedAt(rows_at)))
    return false;
  const auto row = [&](size_t i) { return rows.data() + (i - from) * kDbRowSize; };

  int64_t to = start;
  for (const auto& [text, length] : KeptRuns(scan, count, row)) {
    if (!DbCopyAt(saved, journal->SavedAt(text), fd.get(), to, length))
      return false;
    to += length;
  }
  if (added) {
    if (!DbWriteAt(fd.get(), added->text.data(), added->text.size(), to))
      return false;
    to += static_cast<int64_t>(added->text.size());
  }

  const int64_t new_index_offset = to;
  const auto plain_bytes = static_cast<int64_t>(from * kDbRowSize);
  if (!DbCopyAt(saved, journal->SavedAt(index_offset), fd.get(), to, plain_bytes))
    return false;
  to += plain_bytes;
  if (!FinishIndex(fd.get(), view, scan, rows, from, start, added, new_index_offset, to))
    return false;
  if (sync && !DbSyncData(fd.get()))
    return false;
  return journal->Finish();
}

// Moves `block` bytes at `from` to `to` through the journal: front to back
// when they go down, back to front when they go up, so that a chunk's new
// place only covers bytes that have moved already, or its own, which wait in
// the slot meanwhile.
bool MoveBlock(int fd, DbShiftJournal& journal, int64_t from, int64_t to, int64_t block,
               int64_t chunk_bytes) {
  const int64_t shift = from - to;
  if (shift == 0 || block == 0)
    return true;
  thread_local std::vector<char> chunk;
  chunk.resize(static_cast<size_t>(chunk_bytes));
  const int64_t distance = shift > 0 ? shift : -shift;
  for (int64_t done = 0; done < block;) {
    const int64_t length = std::min(chunk_bytes, block - done);
    const int64_t first = shift > 0 ? done : block - done - length;
    const int64_t end = first + length;
    const auto bytes = static_cast<size_t>(length);
    if (!DbReadAt(fd, chunk.data(), bytes, from + first))
      return false;
    if (length > distance && !journal.SaveChunk(shift > 0 ? end : first, {chunk.data(), bytes}))
      return false;
    if (!DbWriteAt(fd, chunk.data(), bytes, to + first) ||
        !journal.MarkMoved(shift > 0 ? end : first))
      return false;
    done += length;
  }
  return true;
}

// As MoveTail, for an index too big to copy: the leading rows it keeps as they
// are (all but the last few for a recent entry) move as one block by the
// texts' change in size, and only the rest of the tail is saved in the
// journal. The block moves first; the texts, the rebuilt rows behind the
// block, the head and the cut follow.
bool ShiftTail(const std::string& db_path, const DbView& view, const Scan& scan, int64_t start,
               const std::optional<DbNewEntry>& added) {
  const UniqueFd fd = DbOpen(db_path, O_RDWR);
  if (!fd.valid())
    return false;
  const int64_t old_size = view.size();
  const int64_t index_offset = view.head().index_offset;
  const size_t count = view.row_count();
  const size_t from = scan.plain_rows;
  const auto block = static_cast<int64_t>(from * kDbRowSize);

  std::vector<char> rows((count - from) * kDbRowSize);
  if (!DbReadAt(fd.get(), rows.data(), rows.size(), index_offset + block))
    return false;
  const auto row = [&](size_t i) { return rows.data() + (i - from) * kDbRowSize; };
  const std::vector<std::pair<int64_t, int64_t>> runs = KeptRuns(scan, count, row);
  int64_t kept = 0;
  for (const auto& run : runs)
    kept += run.second;
  const int64_t added_length = added ? static_cast<int64_t>(added->text.size()) : 0;
  const int64_t block_to = start + kept + added_length;

  char head_bytes[kDbHeadSize];
  view.head().Store(head_bytes);
  const int64_t chunk_bytes = std::min(block, std::max<int64_t>(kDbRowSize, DbIndexMoveChunk()));
  auto journal = DbShiftJournal::Begin(db_path, fd.get(), head_bytes, old_size, start, block,
                                       index_offset - block_to, chunk_bytes);
  if (!journal || !MoveBlock(fd.get(), *journal, index_offset, block_to, block, chunk_bytes))
    return false;

  int64_t to = start;
  for (const auto& [text, length] : runs) {
    if (!DbCopyAt(journal->fd(), journal->SavedAt(text), fd.get(), to, length))
      return false;
    to += length;
  }
  if (added && !DbWriteAt(fd.get(), added->text.data(), added->text.size(), to))
    return false;

  to = block_to + block;
  if (!FinishIndex(fd.get(), view, scan, rows, from, start, added, block_to, to))
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
  const bool no_database = view.kind() == DbView::Kind::kMissing ||
                           (view.kind() == DbView::Kind::kNotADatabase && view.size() == 0);
  if (no_database)
    return DbTailOutcome::kNothingToDo;
  if (view.kind() == DbView::Kind::kUnreadable)
    return DbTailOutcome::kFailed;
  // Never write into a file that is not a sound database.
  if (view.kind() != DbView::Kind::kDatabase || !HeadFitsFile(view.head(), view.size()))
    return DbTailOutcome::kRefused;

  const auto scan = ScanIndex(view, remove);
  if (!scan)
    return DbTailOutcome::kFailed;
  if (scan->doomed.empty())
    return DbTailOutcome::kNothingToDo;
  // A kept row whose text cannot be read would be lost: leave the file alone.
  if (!scan->readable)
    return DbTailOutcome::kRefused;
  if (added && kDbHeadSize + scan->kept_bytes + static_cast<int64_t>(added->text.size()) +
                       (scan->kept_rows + 1) * kDbRowSize >
                   kDbMaxFileSize)
    return DbTailOutcome::kRefused;

  const int64_t start =
      scan->first < view.row_count() ? RowOffset(view.Row(scan->first)) : view.head().index_offset;
  const int64_t tail = view.size() - start;
  const bool in_place = lock.in_place_allowed() && scan->in_order &&
                        tail * 100 <= g_in_place_share.load() * view.size();
  if (!in_place)
    return Rewrite(db_path, lock, view, *scan, added);
  // Small indexes keep the copy of the whole tail, which their syncs need.
  const bool moved = view.head().index_size <= DbFullJournalLimit()
                         ? MoveTail(db_path, view, *scan, start, added)
                         : ShiftTail(db_path, view, *scan, start, added);
  if (moved)
    return DbTailOutcome::kWritten;
  DbRecover(db_path, nullptr);
  return DbTailOutcome::kFailed;
}

}  // namespace zcd
