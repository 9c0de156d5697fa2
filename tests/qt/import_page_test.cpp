#include "discdb/ui/import_page.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "discdb/database.h"
#include "discdb/sample_disc.h"
#include "qt/modal_dialog.h"
#include "qt/process_until.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::ClickBox;
using test::Showing;

std::string Id(int n) {
  char id[9];
  std::snprintf(id, sizeof id, "%08x", 0x10000000 + n);
  return id;
}

// The disc title stored under key, or "<missing>".
std::string TitleOf(const std::string& db, const std::string& key) {
  const std::optional<std::string> entry = DbFindEntry(db, key);
  if (!entry)
    return "<missing>";
  const size_t start = entry->find("DTITLE=") + 7;
  return entry->substr(start, entry->find('\r', start) - start);
}

class ImportPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    settings_.LoadINI = 1;
    page_ = std::make_unique<ImportPage>(local_, settings_);
  }
  // Discs 1 .. n of the import file, titled "Imported n", written at once.
  void WriteImportFile(int n) {
    std::string error;
    const std::unique_ptr<DbSession> session = DbSession::Open(import_, &error);
    ASSERT_NE(session, nullptr) << error;
    for (int i = 1; i <= n; ++i) {
      const std::string title = "Imported " + std::to_string(i);
      ASSERT_EQ(session->Add("rock/" + Id(i), test::SampleEntryText("rock", Id(i), title)), 1);
    }
    ASSERT_EQ(session->Commit(), 1);
  }
  QLineEdit* Path() { return page_->findChild<QLineEdit*>("path"); }
  QString Status() { return page_->findChild<QLabel*>("status")->text(); }
  QAbstractButton* Start() { return Showing(*page_, "Start Import"); }
  QAbstractButton* Cancel() { return Showing<QPushButton>(*page_, "Cancel"); }
  // Starts the import of import_ and waits for its end.
  void Import(const QString& rule = "Overwrite with imported info") {
    Path()->setText(QString::fromStdString(import_));
    Showing(*page_, rule)->click();
    int busy_changed = 0;
    const QMetaObject::Connection counting =
        QObject::connect(page_.get(), &DatabasePage::BusyChanged, [&] { ++busy_changed; });
    ASSERT_TRUE(Start()->isEnabled());
    Start()->click();
    EXPECT_TRUE(page_->Busy());
    EXPECT_FALSE(Start()->isEnabled());
    EXPECT_TRUE(Cancel()->isEnabled());
    EXPECT_TRUE(test::ProcessUntil([&] { return !page_->Busy(); }));
    EXPECT_TRUE(Start()->isEnabled());
    EXPECT_FALSE(Cancel()->isEnabled());
    EXPECT_EQ(busy_changed, 2);
    QObject::disconnect(counting);
  }

  test::TempDir dir_;
  const std::string local_ = dir_.File("ZCD.zdb");
  const std::string import_ = dir_.File("other.zdb");
  Settings settings_;
  std::unique_ptr<ImportPage> page_;
};

TEST_F(ImportPageTest, StartImportNeedsAReadableFile) {
  EXPECT_EQ(page_->findChild<QLineEdit*>("current")->text(), QString::fromStdString(local_));
  EXPECT_TRUE(Showing(*page_, "Overwrite with imported info")->isChecked());
  EXPECT_TRUE(Showing(*page_, "Obtain CD Information from CDPlayer.ini")->isChecked());
  EXPECT_FALSE(Cancel()->isEnabled());
  dir_.Write("other.zdb", "");
  const struct {
    std::string path;
    bool enabled;
  } cases[] = {{"", false},
               {dir_.File("missing.zdb"), false},
               {dir_.path(), false},
               {import_, true},
               {import_ + "x", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    Path()->setText(QString::fromStdString(c.path));
    EXPECT_EQ(Start()->isEnabled(), c.enabled);
  }

  // "..." fills the field with what the dialog chose.
  Path()->clear();
  std::vector<FileDialogRequest> requests;
  page_->SetFileDialog([&](QWidget*, const FileDialogRequest& request) -> std::optional<QString> {
    requests.push_back(request);
    return QString::fromStdString(import_);
  });
  Showing(*page_, "...")->click();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].mode, FileDialogRequest::Mode::kOpenExisting);
  EXPECT_EQ(requests[0].filters, (QStringList{"ZCD Database (*.zdb)", "All Files (*.*)"}));
  EXPECT_EQ(requests[0].default_suffix, "zdb");
  EXPECT_EQ(requests[0].preset, "ZCD.zdb");
  EXPECT_EQ(Path()->text(), QString::fromStdString(import_));
  EXPECT_TRUE(Start()->isEnabled());
}

TEST_F(ImportPageTest, HundredsOfEntriesEndWithTheirCounts) {
  WriteImportFile(300);
  ASSERT_EQ(DbAddEntry(local_, "jazz/" + Id(7), test::SampleEntryText("jazz", Id(7), "Mine")), 1);
  Import("Keep current info");
  EXPECT_EQ(Status(), "Imported 299 entries\nSkipped 1 entry");
  int count = 0;
  DbListEntries(local_, std::nullopt, count);
  EXPECT_EQ(count, 300);
  EXPECT_EQ(TitleOf(local_, Id(7)), "Mine");
  EXPECT_EQ(TitleOf(local_, "rock/" + Id(300)), "Imported 300");
}

TEST_F(ImportPageTest, TheDuplicateQuestionDecidesEachRow) {
  WriteImportFile(5);
  const struct {
    QMessageBox::StandardButton answer;
    const char* status;
    const char* titles;  // of discs 3, 4 and 5
  } cases[] = {
      {QMessageBox::Yes, "Imported 5 entries\nSkipped 0 entries",
       "Imported 3,Imported 4,Imported 5"},
      {QMessageBox::No, "Imported 4 entries\nSkipped 1 entry",
       "Caf\xe9 / Local,Imported 4,Imported 5"},
      {QMessageBox::Cancel, "Imported 2 entries\nSkipped 0 entries",
       "Caf\xe9 / Local,<missing>,<missing>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.status);
    std::remove(local_.c_str());
    ASSERT_EQ(DbAddEntry(local_, "jazz/" + Id(3),
                         test::SampleEntryText("jazz", Id(3), "Caf\xe9 / Local")),
              1);
    test::SeenBox seen;
    test::AnswerNextBox(seen, c.answer);
    Import("Prompt user for each");
    EXPECT_EQ(seen.caption, "Zentaro CD");
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons.size(), 3);
    EXPECT_EQ(seen.text,
              "Duplicate Entry:\n\nReplace\n(jazz) Caf\u00e9 / Local\n\nWith\n(rock) "
              "Imported 3?");
    EXPECT_EQ(Status(), c.status);
    // The overwrite removes only the imported key; the jazz entry stays beside it.
    const std::string imported_3 =
        c.answer == QMessageBox::Yes ? TitleOf(local_, "rock/" + Id(3)) : TitleOf(local_, Id(3));
    EXPECT_EQ(imported_3 + "," + TitleOf(local_, Id(4)) + "," + TitleOf(local_, Id(5)), c.titles);
  }
}

TEST_F(ImportPageTest, CancelStopsAfterTheCurrentRow) {
  WriteImportFile(5);
  ASSERT_EQ(DbAddEntry(local_, "jazz/" + Id(2), test::SampleEntryText("jazz", Id(2), "Local")), 1);
  test::SeenBox seen;
  // Cancel is clicked while the import waits on row 2; that row still counts.
  test::AnswerNextBox(seen, QMessageBox::Yes, [this] {
    EXPECT_TRUE(Cancel()->isEnabled());
    Cancel()->click();
  });
  Import("Prompt user for each");
  EXPECT_EQ(Status(), "Imported 2 entries\nSkipped 0 entries");
  EXPECT_EQ(TitleOf(local_, "rock/" + Id(2)), "Imported 2");
  EXPECT_EQ(TitleOf(local_, Id(3)), "<missing>");
  EXPECT_TRUE(DbCheck(local_).empty());

  // The next import runs to the end again.
  Import("Keep current info");
  EXPECT_EQ(Status(), "Imported 3 entries\nSkipped 2 entries");
}

TEST_F(ImportPageTest, TheCheckBoxIsAChangeAndApplyStoresIt) {
  int changes = 0;
  QObject::connect(page_.get(), &DatabasePage::Changed, [&] { ++changes; });
  for (const int expected : {0, 1}) {
    ClickBox(Showing(*page_, "Obtain CD Information from CDPlayer.ini"));
    Settings settings;
    settings.LoadINI = 7;
    page_->Apply(settings);
    EXPECT_EQ(settings.LoadINI, expected);
  }
  EXPECT_EQ(changes, 2);
}

}  // namespace
}  // namespace zcd
