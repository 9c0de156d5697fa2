#pragma once

#include <cstdint>
#include <string>

namespace zcd {

// What to do with an imported entry whose disc identifier the local database
// already holds (under any category).
enum class DuplicateRule {
  kOverwrite = 1,  // delete the local entries under the imported key, then add
  kKeep = 2,       // skip the imported entry
  kPrompt = 3,     // ask for each
};

enum class DuplicateAnswer { kYes, kNo, kCancel };

inline constexpr char kImportCorruptText[] =
    "It seems the ZCD database to import is corrupt.\nYour main ZCD database is still fine.";

// How an import talks to whoever started it: the Import page or the tool.
// Called on the thread that runs ImportDatabase.
class ImportUi {
 public:
  virtual ~ImportUi() = default;
  // After every row; a page may show only some of them.
  virtual void SetStatus(const std::string& text) = 0;
  // The duplicate question of the prompting rule (Yes, No, Cancel).
  virtual DuplicateAnswer AskDuplicate(const std::string& question) = 0;
  // The import file turned out damaged; what was imported before stays.
  virtual void ShowCorrupt(const std::string& text) = 0;
  // The local database could not be opened or written (kDbWriteErrorText or
  // a sentence naming the cause).
  virtual void ShowError(const std::string& text) = 0;
  // Rows done out of all rows of the import file, after every row.
  virtual void Progress(int64_t /*done*/, int64_t /*total*/) {}
  // Asked after every row: true ends the import there, as a Cancel would.
  virtual bool Stopped() { return false; }
};

enum class ImportOutcome {
  kDone,
  kUnreadable,    // the import file could not be opened: nothing happened
  kLocalRefused,  // the local file is not a database or cannot be locked: untouched
  kCancelled,     // Cancel on a duplicate question, or the ui stopped the import
  kCorrupt,       // the import file is damaged
  kWriteFailed,   // the merged database could not be written: the local file is as before
};

struct ImportResult {
  ImportOutcome outcome = ImportOutcome::kDone;
  int64_t imported = 0;
  int64_t skipped = 0;
};

// "Imported %i entry\nSkipped %i entry", plural "entries" where the count is not 1.
std::string ImportStatusText(int64_t imported, int64_t skipped);
// The duplicate question, with the categories and disc titles of the local
// and the imported entry.
std::string DuplicateQuestion(const std::string& local_category, const std::string& local_title,
                              const std::string& imported_category,
                              const std::string& imported_title);

// Merges another database file into the local one in a single pass over the
// import file, applying rule to duplicates. All changes go to the local file
// in one atomic write at the end, also after a Cancel or a damaged row (what
// was imported before stays imported). Rows whose key is not
// "category/identifier" are skipped: overwriting by such a key would delete
// unrelated entries. Importing the local file into itself is safe.
// Any thread; ui is called on the calling thread.
ImportResult ImportDatabase(const std::string& local_db_path, const std::string& import_path,
                            DuplicateRule rule, ImportUi& ui);

}  // namespace zcd
