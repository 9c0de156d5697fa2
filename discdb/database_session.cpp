#include <vector>

#include "discdb/database.h"
#include "discdb/db_file_writer.h"
#include "discdb/db_key_table.h"
#include "discdb/db_spill.h"
#include "discdb/db_view.h"

namespace zcd {

class DbSession::Impl {
 public:
  Impl(std::string path, DbLock lock) : path_(std::move(path)), lock_(std::move(lock)) {}

  // Takes in the file as it now is; false, with error set, when it must not be
  // written.
  bool Load(std::string* error);

  bool Has(std::string_view search) const { return keys_.First(search).has_value(); }
  std::optional<std::string> Find(std::string_view search);
  int Add(std::string_view key, std::string_view text);
  bool Delete(std::string_view search);
  int Commit();

 private:
  // Where a row's text is: in the opened file, or in the spill.
  struct Source {
    int64_t position;
    int32_t length;
    bool added;
  };

  std::optional<std::string> TextOf(std::optional<uint32_t> row);
  bool WriteAppended(DbFileWriter& writer);
  bool WriteCompacted(DbFileWriter& writer);

  std::string path_;
  DbLock lock_;
  DbView view_;
  DbKeyTable keys_;
  std::vector<Source> sources_;
  std::optional<DbSpill> spill_;
  bool changed_ = false;
  bool compacted_ = false;
};

bool DbSession::Impl::Load(std::string* error) {
  view_ = DbView::Open(path_);
  keys_ = DbKeyTable();
  sources_.clear();
  spill_.reset();
  changed_ = compacted_ = false;
  switch (view_.kind()) {
    case DbView::Kind::kMissing:
      return true;
    case DbView::Kind::kUnreadable:
      *error = "the database cannot be read";
      return false;
    case DbView::Kind::kNotADatabase:
      if (view_.size() == 0)
        return true;  // as an add would, treat an empty file as no database yet
      *error = "the file is not a database";
      return false;
    case DbView::Kind::kDatabase:
      break;
  }
  if (!HeadFitsFile(view_.head(), view_.size())) {
    *error = "the database's index does not fit the file";
    return false;
  }
  sources_.reserve(view_.row_count());
  keys_.Reserve(view_.row_count(), view_.row_count() * 16);
  for (size_t i = 0; i < view_.row_count(); ++i) {
    const char* row = view_.Row(i);
    if (!RowReadable(row, view_.head().index_offset)) {
      *error = "row " + std::to_string(i + 1) + " of the database is damaged";
      return false;
    }
    keys_.Append(RowKey(row));
    sources_.push_back({RowOffset(row), RowLength(row), false});
  }
  return true;
}

std::optional<std::string> DbSession::Impl::Find(std::string_view search) {
  return TextOf(keys_.First(search));
}

std::optional<std::string> DbSession::Impl::TextOf(std::optional<uint32_t> row) {
  if (!row)
    return std::nullopt;
  const Source& source = sources_[*row];
  if (source.added)
    return spill_->Read(source.position, source.length);
  return std::string(view_.bytes().substr(static_cast<size_t>(source.position),
                                          static_cast<size_t>(source.length)));
}

int DbSession::Impl::Add(std::string_view key, std::string_view text) {
  if (!EntryFits(key, text))
    return 0;
  if (!spill_)
    spill_ = DbSpill::Create(path_);
  const auto position = spill_ ? spill_->Append(text) : std::nullopt;
  if (!position)
    return -1;
  keys_.Append(key);
  sources_.push_back({*position, static_cast<int32_t>(text.size()), true});
  changed_ = true;
  return 1;
}

bool DbSession::Impl::Delete(std::string_view search) {
  const auto rows = keys_.All(search);
  for (const uint32_t row : rows)
    keys_.Erase(row);
  if (!rows.empty())
    changed_ = compacted_ = true;
  return !rows.empty();
}

// Only adds: the file's text area and index stay byte for byte, the new texts
// and rows follow them, as one add after another would have left them.
bool DbSession::Impl::WriteAppended(DbFileWriter& writer) {
  const bool had_file = view_.kind() == DbView::Kind::kDatabase;
  const std::string_view bytes = view_.bytes();
  if (had_file &&
      !writer.AppendText(bytes.substr(kDbHeadSize, view_.head().index_offset - kDbHeadSize)))
    return false;
  const uint32_t first_added = had_file ? static_cast<uint32_t>(view_.row_count()) : 0;
  int64_t offset = writer.position();
  if (spill_) {
    const auto added = spill_->MapAll();
    if (!added || !writer.AppendText(added->view()))
      return false;
  }
  if (had_file && !writer.AppendRows(bytes.substr(view_.head().index_offset)))
    return false;
  if (!had_file && !writer.AppendRows({}))
    return false;
  for (uint32_t row = first_added; row < keys_.size(); ++row) {
    char bytes_of_row[kDbRowSize];
    FillRow(bytes_of_row, keys_.key(row), static_cast<int32_t>(offset), sources_[row].length);
    offset += sources_[row].length;
    if (!writer.AppendRows({bytes_of_row, sizeof bytes_of_row}))
      return false;
  }
  return true;
}

// After a delete the file is compact: every kept text in index order.
bool DbSession::Impl::WriteCompacted(DbFileWriter& writer) {
  std::optional<DbMapping> added;
  if (spill_) {
    added = spill_->MapAll();
    if (!added)
      return false;
  }
  const auto text_of = [&](uint32_t row) {
    const Source& source = sources_[row];
    const std::string_view from = source.added ? added->view() : view_.bytes();
    return from.substr(static_cast<size_t>(source.position), static_cast<size_t>(source.length));
  };
  for (uint32_t row = 0; row < keys_.size(); ++row) {
    if (keys_.live(row) && !writer.AppendText(text_of(row)))
      return false;
  }
  if (!writer.AppendRows({}))
    return false;
  int64_t offset = kDbHeadSize;
  for (uint32_t row = 0; row < keys_.size(); ++row) {
    if (!keys_.live(row))
      continue;
    char bytes_of_row[kDbRowSize];
    FillRow(bytes_of_row, keys_.key(row), static_cast<int32_t>(offset), sources_[row].length);
    offset += sources_[row].length;
    if (!writer.AppendRows({bytes_of_row, sizeof bytes_of_row}))
      return false;
  }
  return true;
}

int DbSession::Impl::Commit() {
  if (!changed_)
    return 1;
  auto writer = DbFileWriter::Create(path_);
  if (!writer)
    return -1;
  const bool written = compacted_ ? WriteCompacted(*writer) : WriteAppended(*writer);
  if (!written || !writer->Commit())
    return -1;
  std::string error;
  return Load(&error) ? 1 : -1;
}

std::unique_ptr<DbSession> DbSession::Open(const std::string& db_path, std::string* error) {
  std::string ignored;
  if (!error)
    error = &ignored;
  auto lock = DbLock::Acquire(db_path, DbLock::Mode::kExclusive, error);
  if (!lock)
    return nullptr;
  auto impl = std::make_unique<Impl>(db_path, std::move(*lock));
  if (!impl->Load(error))
    return nullptr;
  return std::make_unique<DbSession>(std::move(impl));
}

DbSession::DbSession(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
DbSession::~DbSession() = default;

bool DbSession::Has(std::string_view search) const {
  return impl_->Has(search);
}
std::optional<std::string> DbSession::Find(std::string_view search) const {
  return impl_->Find(search);
}

int DbSession::Add(std::string_view key, std::string_view text) {
  return impl_->Add(key, text);
}
bool DbSession::Delete(std::string_view search) {
  return impl_->Delete(search);
}
int DbSession::Commit() {
  return impl_->Commit();
}

}  // namespace zcd
