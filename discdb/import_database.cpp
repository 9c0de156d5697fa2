#include "discdb/import_database.h"

#include <memory>
#include <optional>

#include "discdb/database.h"
#include "discdb/entry_text.h"
#include "discdb/import_file_reader.h"
#include "discdb/slash_split.h"

namespace zcd {
namespace {

const char* Entries(int64_t count) {
  return count == 1 ? "entry" : "entries";
}

// A key this program writes: something, a slash, an identifier. A search by
// an empty identifier or by a bare word would match unrelated entries.
bool IsEntryKey(const std::string& key) {
  const std::optional<std::string> category = SplitBeforeSlash(key);
  return category && !category->empty() && !SplitAfterSlash(key).empty();
}

std::string TitleOf(std::string_view entry) {
  return GetEntryValue("DTITLE=", entry).value_or("");
}

// Whether the prompting rule lets the row in; none for Cancel.
std::optional<bool> Ask(const DbSession& session, const std::string& id,
                        const ImportFileReader::Row& row, ImportUi& ui) {
  const std::string local = session.Find(id).value_or("");
  const std::string question =
      DuplicateQuestion(HeadCategory(local, 1).value_or(""), TitleOf(local),
                        SplitBeforeSlash(row.key).value_or(""), TitleOf(row.text));
  switch (ui.AskDuplicate(question)) {
    case DuplicateAnswer::kYes:
      return true;
    case DuplicateAnswer::kNo:
      return false;
    case DuplicateAnswer::kCancel:
      break;
  }
  return std::nullopt;
}

}  // namespace

std::string ImportStatusText(int64_t imported, int64_t skipped) {
  return "Imported " + std::to_string(imported) + " " + Entries(imported) + "\nSkipped " +
         std::to_string(skipped) + " " + Entries(skipped);
}

std::string DuplicateQuestion(const std::string& local_category, const std::string& local_title,
                              const std::string& imported_category,
                              const std::string& imported_title) {
  return "Duplicate Entry:\n\nReplace\n(" + local_category + ") " + local_title + "\n\nWith\n(" +
         imported_category + ") " + imported_title + "?";
}

ImportResult ImportDatabase(const std::string& local_db_path, const std::string& import_path,
                            DuplicateRule rule, ImportUi& ui) {
  ImportResult result;
  if (!ImportFileReader::Open(import_path)) {
    result.outcome = ImportOutcome::kUnreadable;
    return result;
  }
  // The session comes before the reader: opening it may undo an interrupted
  // write of the local file, which may be the very file being imported.
  std::string error;
  const std::unique_ptr<DbSession> session = DbSession::Open(local_db_path, &error);
  if (!session) {
    ui.ShowError("Nothing was imported into '" + local_db_path + "': " + error + ".");
    result.outcome = ImportOutcome::kLocalRefused;
    return result;
  }
  std::optional<ImportFileReader> reader = ImportFileReader::Open(import_path);
  if (!reader) {
    result.outcome = ImportOutcome::kUnreadable;
    return result;
  }

  const int64_t total = reader->row_count();
  ImportFileReader::Row row;
  for (int64_t i = 1;; ++i) {
    const ImportFileReader::Status status = reader->Next(row);
    if (status == ImportFileReader::Status::kEnd)
      break;
    if (status == ImportFileReader::Status::kDamaged) {
      ui.ShowCorrupt(kImportCorruptText);
      result.outcome = ImportOutcome::kCorrupt;
      break;
    }
    bool add = IsEntryKey(row.key);
    const std::string id = SplitAfterSlash(row.key);
    if (add && session->Has(id)) {
      if (rule == DuplicateRule::kKeep) {
        add = false;
      } else if (rule == DuplicateRule::kPrompt) {
        const std::optional<bool> answer = Ask(*session, id, row, ui);
        if (!answer) {
          result.outcome = ImportOutcome::kCancelled;
          break;
        }
        add = *answer;
      }
      if (add)
        session->Delete(row.key);
    }
    // A row the database cannot hold (empty text, oversized key) counts as skipped.
    if (add && session->Add(row.key, row.text) == 1)
      ++result.imported;
    result.skipped = i - result.imported;
    ui.SetStatus(ImportStatusText(result.imported, result.skipped));
    ui.Progress(i, total);
    if (ui.Stopped()) {
      result.outcome = ImportOutcome::kCancelled;
      break;
    }
  }
  reader.reset();

  if (session->Commit() != 1) {
    ui.ShowError(kDbWriteErrorText);
    result.outcome = ImportOutcome::kWriteFailed;
  }
  return result;
}

}  // namespace zcd
