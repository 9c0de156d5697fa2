#include <algorithm>

#include "base/text.h"
#include "discdb/database.h"
#include "discdb/db_key_match.h"
#include "discdb/db_view.h"
#include "discdb/slash_split.h"

namespace zcd {
std::string EntryKey(std::string_view category, std::string_view disc_id) {
  std::string key;
  key.reserve(category.size() + 1 + disc_id.size());
  key.append(category).append("/").append(disc_id);
  return key;
}

std::optional<std::string> DbFindEntry(const std::string& db_path, std::string_view search) {
  const auto db = DbOpenForReading(db_path, nullptr);
  if (!db || db->view.kind() != DbView::Kind::kDatabase)
    return std::nullopt;
  const DbView& view = db->view;
  const DbKeyMatch match(search);
  // A matching row whose text lies outside the file is passed over.
  for (size_t i = view.FindRow(match); i < view.row_count(); i = view.FindRow(match, i + 1)) {
    if (const auto text = view.Text(view.Row(i)))
      return std::string(*text);
  }
  return std::nullopt;
}

bool DbHasEntry(const std::string& db_path, std::string_view search) {
  const auto db = DbOpenForReading(db_path, nullptr);
  if (!db || db->view.kind() != DbView::Kind::kDatabase)
    return false;
  const DbView& view = db->view;
  return view.FindRow(DbKeyMatch(search)) < view.row_count();
}

std::vector<DbListItem> DbListEntries(const std::string& db_path,
                                      const std::optional<std::string>& category_filter,
                                      int& count) {
  std::vector<DbListItem> items;
  count = 0;
  const auto db = DbOpenForReading(db_path, nullptr);
  if (!db) {
    count = -1;
    return items;
  }
  const DbView& view = db->view;
  if (view.kind() != DbView::Kind::kDatabase)
    return items;
  bool damaged = !view.index_whole();
  items.reserve(view.row_count());
  for (size_t i = 0; i < view.row_count(); ++i) {
    const char* row = view.Row(i);
    if (!RowReadable(row, view.head().index_offset)) {
      damaged = true;
      break;
    }
    const std::string key(RowKey(row));
    auto category = SplitBeforeSlash(key);
    if (!category || (category_filter && !EqualsIgnoringCase(*category, *category_filter)))
      continue;
    items.push_back({SplitAfterSlash(key), std::move(*category)});
  }
  std::reverse(items.begin(), items.end());
  count = damaged ? -1 : static_cast<int>(items.size());
  return items;
}

DbWalkResult DbWalkEntries(
    const std::string& db_path,
    const std::function<bool(std::string_view key, std::string_view text)>& visit) {
  const auto db = DbOpenForReading(db_path, nullptr);
  if (!db)
    return DbWalkResult::kDamaged;
  const DbView& view = db->view;
  switch (view.kind()) {
    case DbView::Kind::kMissing:
    case DbView::Kind::kUnreadable:
      return DbWalkResult::kMissing;
    case DbView::Kind::kNotADatabase:
      return DbWalkResult::kNotADatabase;
    case DbView::Kind::kDatabase:
      break;
  }
  for (size_t i = 0; i < view.row_count(); ++i) {
    const char* row = view.Row(i);
    const auto text = view.Text(row);
    if (!text)
      return DbWalkResult::kDamaged;
    if (!visit(RowKey(row), *text))
      return DbWalkResult::kStopped;
  }
  return view.index_whole() ? DbWalkResult::kDone : DbWalkResult::kDamaged;
}

DbFileState DbProbe(const std::string& db_path) {
  // The head's "PACK" never changes once written: no lock needed.
  const DbView view = DbView::Open(db_path);
  switch (view.kind()) {
    case DbView::Kind::kMissing:
      return DbFileState::kMissing;
    case DbView::Kind::kUnreadable:
      return DbFileState::kUnreadable;
    case DbView::Kind::kNotADatabase:
      return view.size() == 0 ? DbFileState::kEmpty : DbFileState::kNotADatabase;
    case DbView::Kind::kDatabase:
      break;
  }
  return DbFileState::kDatabase;
}

}  // namespace zcd
