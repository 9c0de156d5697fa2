#include "discdb/import_database.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>

#include "discdb/database.h"
#include "discdb/db_bytes.h"
#include "discdb/disc_id.h"
#include "discdb/random_db.h"
#include "discdb/sample_disc.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

constexpr auto Entry = test::SampleEntryText;
using Answers = std::deque<DuplicateAnswer>;
using Texts = std::vector<std::string>;

class RecordingUi : public ImportUi {
 public:
  void SetStatus(const std::string& text) override { statuses.push_back(text); }
  DuplicateAnswer AskDuplicate(const std::string& question) override {
    questions.push_back(question);
    const DuplicateAnswer answer = answers.empty() ? DuplicateAnswer::kNo : answers.front();
    if (!answers.empty())
      answers.pop_front();
    return answer;
  }
  void ShowCorrupt(const std::string& text) override { corrupt.push_back(text); }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void Progress(int64_t done, int64_t total) override { progress = {done, total}; }

  std::string last_status() const { return statuses.empty() ? "" : statuses.back(); }

  Answers answers;
  Texts statuses, questions, corrupt, errors;
  std::pair<int64_t, int64_t> progress{0, 0};
};

class ImportDatabaseTest : public ::testing::Test {
 protected:
  void Add(const std::string& path, const std::string& category, const std::string& id,
           const std::string& title) {
    ASSERT_EQ(DbAddEntry(path, category + "/" + id, Entry(category, id, title)), 1);
  }
  std::string LocalTitle(const std::string& key) const {
    const std::optional<std::string> entry = DbFindEntry(local_, key);
    if (!entry)
      return "<missing>";
    const size_t start = entry->find("DTITLE=") + 7;
    return entry->substr(start, entry->find('\r', start) - start);
  }

  test::TempDir dir_;
  const std::string local_ = dir_.File("ZCD.zdb");
  const std::string import_ = dir_.File("other.zdb");
  RecordingUi ui_;
};

TEST_F(ImportDatabaseTest, EachRuleTreatsKnownDiscsItsWay) {
  const struct {
    DuplicateRule rule;
    Answers answers;
    Texts questions;
    const char* first_status;
    const char* last_status;
    const char* titles;  // of rock/0c01a202, jazz/11111111, rock/11111111, blues/22222222
  } cases[] = {{DuplicateRule::kOverwrite,
                {},
                {},
                "Imported 1 entry\nSkipped 0 entries",
                "Imported 3 entries\nSkipped 0 entries",
                "New / Title,Jazz / Disc,Jazz / Disc,Blues / Disc"},
               {DuplicateRule::kKeep,
                {},
                {},
                "Imported 0 entries\nSkipped 1 entry",
                "Imported 1 entry\nSkipped 2 entries",
                "Old / Title,Jazz / Disc,<missing>,Blues / Disc"},
               {DuplicateRule::kPrompt,
                {DuplicateAnswer::kYes, DuplicateAnswer::kNo},
                {"Duplicate Entry:\n\nReplace\n(rock) Old / Title\n\nWith\n(rock) New / Title?",
                 "Duplicate Entry:\n\nReplace\n(jazz) Jazz / Disc\n\nWith\n(rock) Jazz / Disc?"},
                "Imported 1 entry\nSkipped 0 entries",
                "Imported 2 entries\nSkipped 1 entry",
                "New / Title,Jazz / Disc,<missing>,Blues / Disc"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.rule));
    // Local: a rock and a jazz disc. Import: the rock disc with a new title,
    // the jazz disc filed as rock, and a new blues disc.
    std::filesystem::remove(local_);
    std::filesystem::remove(import_);
    Add(local_, "rock", "0c01a202", "Old / Title");
    Add(local_, "jazz", "11111111", "Jazz / Disc");
    Add(import_, "rock", "0c01a202", "New / Title");
    Add(import_, "rock", "11111111", "Jazz / Disc");
    Add(import_, "blues", "22222222", "Blues / Disc");
    RecordingUi ui;
    ui.answers = c.answers;
    EXPECT_EQ(ImportDatabase(local_, import_, c.rule, ui).outcome, ImportOutcome::kDone);
    EXPECT_EQ(ui.questions, c.questions);
    EXPECT_EQ(ui.statuses.size(), 3u);
    EXPECT_EQ(ui.statuses.front(), c.first_status);
    EXPECT_EQ(ui.last_status(), c.last_status);
    EXPECT_EQ(ui.progress, (std::pair<int64_t, int64_t>{3, 3}));
    EXPECT_EQ(LocalTitle("rock/0c01a202") + "," + LocalTitle("jazz/11111111") + "," +
                  LocalTitle("rock/11111111") + "," + LocalTitle("blues/22222222"),
              c.titles);
  }
}

TEST_F(ImportDatabaseTest, CancelOrStopKeepsWhatWasImportedBefore) {
  class StoppingUi : public RecordingUi {
   public:
    bool Stopped() override { return statuses.size() == 3; }
  } stopping;
  Add(local_, "rock", "33333333", "Local / Three");
  for (const char* id : {"11111111", "22222222", "33333333", "44444444", "55555555"})
    Add(import_, "rock", id, "Imported");
  ui_.answers = {DuplicateAnswer::kCancel};
  EXPECT_EQ(ImportDatabase(local_, import_, DuplicateRule::kPrompt, ui_).outcome,
            ImportOutcome::kCancelled);
  EXPECT_EQ(ui_.last_status(), "Imported 2 entries\nSkipped 0 entries");
  EXPECT_EQ(ui_.progress, (std::pair<int64_t, int64_t>{2, 5}));
  EXPECT_EQ(LocalTitle("rock/22222222"), "Imported");
  EXPECT_EQ(LocalTitle("rock/33333333"), "Local / Three");
  EXPECT_EQ(LocalTitle("rock/44444444"), "<missing>");

  // Stopped after the third row: that row is written, the next is not.
  EXPECT_EQ(ImportDatabase(local_, import_, DuplicateRule::kOverwrite, stopping).outcome,
            ImportOutcome::kCancelled);
  EXPECT_EQ(stopping.last_status(), "Imported 3 entries\nSkipped 0 entries");
  EXPECT_EQ(LocalTitle("rock/33333333"), "Imported");
  EXPECT_EQ(LocalTitle("rock/44444444"), "<missing>");
  EXPECT_TRUE(DbCheck(local_).empty());
}

TEST_F(ImportDatabaseTest, ImportingAFileIntoItselfChangesNothing) {
  Add(local_, "rock", "0c01a202", "One");
  EXPECT_EQ(ImportDatabase(local_, local_, DuplicateRule::kKeep, ui_).outcome,
            ImportOutcome::kDone);
  EXPECT_EQ(ui_.last_status(), "Imported 0 entries\nSkipped 1 entry");

  Add(local_, "jazz", "11111111", "Two");
  Add(local_, "misc", "22222222", "Three");
  const std::string before = dir_.Read("ZCD.zdb");
  ImportDatabase(local_, local_, DuplicateRule::kKeep, ui_);
  EXPECT_EQ(ui_.last_status(), "Imported 0 entries\nSkipped 3 entries");
  EXPECT_EQ(dir_.Read("ZCD.zdb"), before);
  // Overwriting re-adds every row in order, which gives the same file back.
  ImportDatabase(local_, local_, DuplicateRule::kOverwrite, ui_);
  EXPECT_EQ(ui_.last_status(), "Imported 3 entries\nSkipped 0 entries");
  EXPECT_EQ(dir_.Read("ZCD.zdb"), before);
}

TEST_F(ImportDatabaseTest, DamagedImportFileStopsAfterTheGoodRows) {
  for (const char* id : {"11111111", "22222222", "33333333"})
    Add(import_, "rock", id, "Imported");
  const std::string good = dir_.Read("other.zdb");
  // Row 3's text starts beyond the index; or its length runs into the index.
  for (const auto& [field, value] : {std::pair{0, 0x7fffffff}, std::pair{1, 0xff}}) {
    std::filesystem::remove(local_);
    dir_.Write("other.zdb", test::WithRowField(good, 2, field, value));
    RecordingUi ui;
    EXPECT_EQ(ImportDatabase(local_, import_, DuplicateRule::kOverwrite, ui).outcome,
              ImportOutcome::kCorrupt);
    EXPECT_EQ(ui.corrupt, Texts{kImportCorruptText});
    EXPECT_EQ(ui.last_status(), "Imported 2 entries\nSkipped 0 entries");
    EXPECT_EQ(LocalTitle("rock/22222222"), "Imported");
    EXPECT_EQ(LocalTitle("rock/33333333"), "<missing>");
  }

  // An index cut short is damage at the first missing row.
  dir_.Write("other.zdb", good.substr(0, good.size() - 2 * kDbRowSize + 10));
  EXPECT_EQ(ImportDatabase(local_, import_, DuplicateRule::kKeep, ui_).outcome,
            ImportOutcome::kCorrupt);
  EXPECT_EQ(ui_.last_status(), "Imported 0 entries\nSkipped 1 entry");
  dir_.Write("other.zdb", "PACK");
  EXPECT_EQ(ImportDatabase(local_, import_, DuplicateRule::kKeep, ui_).outcome,
            ImportOutcome::kCorrupt);
  EXPECT_TRUE(DbCheck(local_).empty());
}

TEST_F(ImportDatabaseTest, RowsThatAreNotCategoryAndIdentifierAreSkipped) {
  Add(local_, "rock", "0c01a202", "Local");
  // Overwriting by these keys would delete every entry containing "rock".
  ASSERT_EQ(DbAddEntry(import_, "rock", Entry("rock", "0c01a202", "Bare")), 1);
  ASSERT_EQ(DbAddEntry(import_, "rock/", Entry("rock", "0c01a202", "Empty id")), 1);
  ImportDatabase(local_, import_, DuplicateRule::kOverwrite, ui_);
  EXPECT_EQ(ui_.last_status(), "Imported 0 entries\nSkipped 2 entries");
  EXPECT_EQ(LocalTitle("rock/0c01a202"), "Local");
}

TEST_F(ImportDatabaseTest, RefusesALocalFileThatIsNotADatabase) {
  Add(import_, "rock", "0c01a202", "Imported");
  dir_.Write("ZCD.zdb", "my shopping list");
  EXPECT_EQ(ImportDatabase(local_, import_, DuplicateRule::kOverwrite, ui_).outcome,
            ImportOutcome::kLocalRefused);
  EXPECT_EQ(ui_.errors.size(), 1u);
  EXPECT_TRUE(ui_.statuses.empty());
  EXPECT_EQ(dir_.Read("ZCD.zdb"), "my shopping list");

  EXPECT_EQ(ImportDatabase(local_, dir_.File("missing.zdb"), DuplicateRule::kKeep, ui_).outcome,
            ImportOutcome::kUnreadable);
  EXPECT_EQ(ui_.errors.size(), 1u);
}

// The merged file must be what the same adds and deletes made one by one
// would have left, byte for byte.
TEST_F(ImportDatabaseTest, MatchesOneByOneOperations) {
  test::RandomDb random(1234);
  const char* const categories[] = {"rock", "jazz", "blues", "misc", "newage"};
  std::vector<std::pair<std::string, std::string>> rows;
  for (const std::string& path : {local_, import_}) {
    auto session = DbSession::Open(path, nullptr);  // only the replay goes one by one
    ASSERT_TRUE(session);
    for (int i = 0; i < 150; ++i) {
      const std::string category = categories[random.Pick(5)];
      const std::string id = DiscIdText(static_cast<uint32_t>(random.Pick(120)));
      rows.emplace_back(category + "/" + id, Entry(category, id, path + std::to_string(i)));
      ASSERT_EQ(session->Add(rows.back().first, rows.back().second), 1);
    }
    ASSERT_EQ(session->Commit(), 1);
  }
  rows.erase(rows.begin(), rows.begin() + 150);  // the imported ones stay

  for (DuplicateRule rule : {DuplicateRule::kOverwrite, DuplicateRule::kKeep}) {
    const std::string merged = dir_.File("merged.zdb");
    const std::string replayed = dir_.File("replayed.zdb");
    for (const std::string& copy : {merged, replayed})
      std::filesystem::copy_file(local_, copy, std::filesystem::copy_options::overwrite_existing);
    RecordingUi ui;
    const ImportResult result = ImportDatabase(merged, import_, rule, ui);
    ASSERT_EQ(result.outcome, ImportOutcome::kDone);
    int64_t imported = 0;
    for (const auto& [key, text] : rows) {
      if (DbHasEntry(replayed, key.substr(key.find('/') + 1))) {
        if (rule == DuplicateRule::kKeep)
          continue;
        DbDeleteEntries(replayed, key);
      }
      ASSERT_EQ(DbAddEntry(replayed, key, text), 1);
      ++imported;
    }
    EXPECT_EQ(result.imported, imported);
    EXPECT_GT(imported, rule == DuplicateRule::kKeep ? 0 : 149);
    EXPECT_LT(imported, rule == DuplicateRule::kKeep ? 150 : 151);
    EXPECT_EQ(dir_.Read("merged.zdb"), dir_.Read("replayed.zdb"));
  }
}

}  // namespace
}  // namespace zcd
