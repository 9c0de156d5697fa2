#include <vector>

#include "discdb/database.h"
#include "discdb/db_file_writer.h"
#include "discdb/db_key_match.h"
#include "discdb/db_view.h"

namespace zcd {

bool DbDeleteEntries(const std::string& db_path, std::string_view search) {
  const auto lock = DbLock::Acquire(db_path, DbLock::Mode::kExclusive, nullptr);
  if (!lock)
    return false;
  const DbView view = DbView::Open(db_path);
  if (view.kind() != DbView::Kind::kDatabase || !HeadFitsFile(view.head(), view.size()))
    return false;
  const size_t rows = view.row_count();
  const DbKeyMatch match(search);
  std::vector<bool> doomed(rows, false);
  bool any = false;
  for (size_t i = view.FindRow(match); i < rows; i = view.FindRow(match, i + 1)) {
    doomed[i] = any = true;
  }
  if (!any)
    return false;
  // A kept row whose text cannot be read would be lost: leave the file alone.
  for (size_t i = 0; i < rows; ++i) {
    if (!doomed[i] && !view.Text(view.Row(i)))
      return false;
  }

  auto writer = DbFileWriter::Create(db_path);
  if (!writer)
    return false;
  for (size_t i = 0; i < rows; ++i) {
    if (!doomed[i] && !writer->AppendText(*view.Text(view.Row(i))))
      return false;
  }
  int64_t offset = kDbHeadSize;
  for (size_t i = 0; i < rows; ++i) {
    if (doomed[i])
      continue;
    const char* old_row = view.Row(i);
    char row[kDbRowSize];
    FillRow(row, RowKey(old_row), static_cast<int32_t>(offset), RowLength(old_row));
    offset += RowLength(old_row);
    if (!writer->AppendRows({row, sizeof row}))
      return false;
  }
  return writer->Commit();
}

}  // namespace zcd
