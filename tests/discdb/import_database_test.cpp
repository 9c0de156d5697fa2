#include "discdb/import_database.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <random>

#include "discdb/database.h"
#include "discdb/sample_disc.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

constexpr auto Entry = test::SampleEntryText;

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

  std::deque<DuplicateAnswer> answers;
  std::vector<std::string> statuses, questions, corrupt, errors;
  std::pair<int64_t, int64_t> progress{0, 0};
};

class ImportDatabaseTest : public ::testing::Test {
 protected:
  void Add(const std::string& path, const std::string& category, const std::string& id,
           const std::string& title) {
    ASSERT_EQ(DbAddEntry(path, category + "/" + id, Entry(category, id, title)), 1);
  }
  // Local: rock/0c01a202 and jazz/11111111. Import: the same rock disc with a
  // new title, the jazz disc filed as rock, and a new blues disc.
  void MakeOverlappingFiles() {
    Add(local_, "rock", "0c01a202", "Old / Title");
    Add(local_, "jazz", "11111111", "Jazz / Disc");
    Add(import_, "rock", "0c01a202", "New / Title");
    Add(import_, "rock", "11111111", "Jazz / Disc");
    Add(import_, "blues", "22222222", "Blues / Disc");
  }
  std::string LocalTitle(const std::string& key) const {
    const std::optional<std::string> entry = DbFindEntry(local_, key);
    if (!entry)
      return "<missing>";
    const size_t start = entry->find("DTITLE=") + 7;
    return entry->substr(start, entry->find('\r', start) - start);
  }
  // The overlapping files' four keys, in order.
  std::string Titles() const {
    return LocalTitle("rock/0c01a202") + "," + LocalTitle("jazz/11111111") + "," +
           LocalTitle("rock/11111111") + "," + LocalTitle("blues/22222222");
  }

  test::TempDir dir_;
  const std::string local_ = dir_.File("ZCD.zdb");
  const std::string import_ = dir_.File("other.zdb");
  RecordingUi ui_;
};

TEST_F(ImportDatabaseTest, OverwriteReplacesTheSameKeyAndAddsBesideOtherCategories) {
  MakeOverlappingFiles();
  const ImportResult result = ImportDatabase(local_, import_, DuplicateRule::kOverwrite, ui_);
  EXPECT_EQ(result.outcome, ImportOutcome::kDone);
  EXPECT_EQ(ui_.statuses, (std::vector<std::string>{"Imported 1 entry\nSkipped 0 entries",
                                                    "Imported 2 entries\nSkipped 0 entries",
                                                    "Imported 3 entries\nSkipped 0 entries"}));
  EXPECT_EQ(ui_.progress, (std::pair<int64_t, int64_t>{3, 3}));
  EXPECT_EQ(Titles(), "New / Title,Jazz / Disc,Jazz / Disc,Blues / Disc");
}

TEST_F(ImportDatabaseTest, KeepSkipsEveryKnownDisc) {
  MakeOverlappingFiles();
  ImportDatabase(local_, import_, DuplicateRule::kKeep, ui_);
  EXPECT_EQ(ui_.last_status(), "Imported 1 entry\nSkipped 2 entries");
  EXPECT_EQ(Titles(), "Old / Title,Jazz / Disc,<missing>,Blues / Disc");
}

TEST_F(ImportDatabaseTest, PromptAsksWithBothEntriesAndFollowsTheAnswers) {
  MakeOverlappingFiles();
  ui_.answers = {DuplicateAnswer::kYes, DuplicateAnswer::kNo};
  ImportDatabase(local_, import_, DuplicateRule::kPrompt, ui_);
  EXPECT_EQ(ui_.questions,
            (std::vector<std::string>{
                "Duplicate Entry:\n\nReplace\n(rock) Old / Title\n\nWith\n(rock) New / Title?",
                "Duplicate Entry:\n\nReplace\n(jazz) Jazz / Disc\n\nWith\n(rock) Jazz / Disc?"}));
  EXPECT_EQ(ui_.last_status(), "Imported 2 entries\nSkipped 1 entry");
  EXPECT_EQ(Titles(), "New / Title,Jazz / Disc,<missing>,Blues / Disc");
}

TEST_F(ImportDatabaseTest, CancelKeepsWhatWasImportedBefore) {
  Add(local_, "rock", "33333333", "Local / Three");
  const char* ids[] = {"11111111", "22222222", "33333333", "44444444", "55555555"};
  for (const char* id : ids)
    Add(import_, "rock", id, "Imported");
  ui_.answers = {DuplicateAnswer::kCancel};
  const ImportResult result = ImportDatabase(local_, import_, DuplicateRule::kPrompt, ui_);
  EXPECT_EQ(result.outcome, ImportOutcome::kCancelled);
  EXPECT_EQ(ui_.last_status(), "Imported 2 entries\nSkipped 0 entries");
  EXPECT_EQ(ui_.progress, (std::pair<int64_t, int64_t>{2, 5}));
  EXPECT_EQ(LocalTitle("rock/22222222"), "Imported");
  EXPECT_EQ(LocalTitle("rock/33333333"), "Local / Three");
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
  const auto index = static_cast<size_t>(static_cast<unsigned char>(good[4]) |
                                         static_cast<unsigned char>(good[5]) << 8);
  const size_t row3 = index + 2 * kDbRowSize + kDbKeyField;
  // Row 3's text starts beyond the index; or its length runs into the index.
  const std::pair<size_t, std::string> damages[] = {{row3, "\xff\xff\xff\x7f"},
                                                    {row3 + 4, std::string("\xff\x00\x00\x00", 4)}};
  for (const auto& [at, bytes] : damages) {
    std::filesystem::remove(local_);
    std::string damaged = good;
    damaged.replace(at, 4, bytes);
    dir_.Write("other.zdb", damaged);
    RecordingUi ui;
    const ImportResult result = ImportDatabase(local_, import_, DuplicateRule::kOverwrite, ui);
    EXPECT_EQ(result.outcome, ImportOutcome::kCorrupt);
    EXPECT_EQ(ui.corrupt, (std::vector<std::string>{"It seems the ZCD database to import is "
                                                    "corrupt.\nYour main ZCD database is still "
                                                    "fine."}));
    EXPECT_EQ(ui.last_status(), "Imported 2 entries\nSkipped 0 entries");
    EXPECT_EQ(LocalTitle("rock/22222222"), "Imported");
    EXPECT_EQ(LocalTitle("rock/33333333"), "<missing>");
  }

  // An index cut short is damage at the first missing row.
  dir_.Write("other.zdb", good.substr(0, index + kDbRowSize + 10));
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
  const ImportResult result = ImportDatabase(local_, import_, DuplicateRule::kOverwrite, ui_);
  EXPECT_EQ(result.outcome, ImportOutcome::kLocalRefused);
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
  std::mt19937 random(1234);
  const char* categories[] = {"rock", "jazz", "blues", "misc", "newage"};
  auto random_key = [&](std::string& id) {
    char text[9];
    std::snprintf(text, sizeof text, "%08x", static_cast<unsigned>(random() % 120));
    id = text;
    return std::string(categories[random() % 5]);
  };
  // Both files are made in one session each; only the replay goes one by one.
  std::string error;
  auto local = DbSession::Open(local_, &error);
  auto other = DbSession::Open(import_, &error);
  ASSERT_TRUE(local && other) << error;
  for (int i = 0; i < 150; ++i) {
    std::string id;
    const std::string category = random_key(id);
    ASSERT_EQ(local->Add(category + "/" + id, Entry(category, id, "Local " + std::to_string(i))),
              1);
  }
  std::vector<std::pair<std::string, std::string>> rows;
  for (int i = 0; i < 150; ++i) {
    std::string id;
    const std::string category = random_key(id);
    rows.emplace_back(category + "/" + id, Entry(category, id, "Imported " + std::to_string(i)));
    ASSERT_EQ(other->Add(rows.back().first, rows.back().second), 1);
  }
  ASSERT_EQ(local->Commit(), 1);
  ASSERT_EQ(other->Commit(), 1);
  local.reset();
  other.reset();

  for (DuplicateRule rule : {DuplicateRule::kOverwrite, DuplicateRule::kKeep}) {
    const std::string merged = dir_.File("merged.zdb");
    const std::string replayed = dir_.File("replayed.zdb");
    std::filesystem::copy_file(local_, merged, std::filesystem::copy_options::overwrite_existing);
    std::filesystem::copy_file(local_, replayed, std::filesystem::copy_options::overwrite_existing);
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
    if (rule == DuplicateRule::kKeep) {
      EXPECT_GT(imported, 0);
      EXPECT_LT(imported, 150);
    }
    EXPECT_EQ(dir_.Read("merged.zdb"), dir_.Read("replayed.zdb"));
  }
}

}  // namespace
}  // namespace zcd
