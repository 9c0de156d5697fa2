#include "discdb/ui/database_sheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTimer>
#include <QTreeView>
#include <QTreeWidget>
#include <filesystem>

#include "app/ui/qt_dialog_launcher.h"
#include "discdb/database.h"
#include "discdb/disc_edit.h"
#include "discdb/entry_text.h"
#include "discdb/sample_disc.h"
#include "discdb/ui/editor_page.h"
#include "discdb/ui/export_page.h"
#include "discdb/ui/extended_info_window.h"
#include "discdb/ui/library_model.h"
#include "discdb/ui/library_page.h"
#include "discdb/ui/sheet_message.h"
#include "qt/launcher_owner.h"
#include "qt/modal_dialog.h"
#include "qt/process_until.h"
#include "qt/user_input.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::AnswerNextBox;
using test::SampleEntryText;
using Seen = test::SeenBox;
using test::ProcessUntil;

QPushButton* Button(QWidget* page, const QString& text) {
  return test::Showing<QPushButton>(*page, text);
}

// The tree as "group: disc, disc" lines; loose discs as their text alone.
QStringList TreeLines(const QTreeView& tree) {
  const QAbstractItemModel& model = *tree.model();
  QStringList lines;
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex top = model.index(row, 0);
    QStringList discs;
    for (int d = 0; d < model.rowCount(top); ++d)
      discs << model.index(d, 0, top).data().toString();
    lines << (discs.isEmpty() ? top.data().toString()
                              : top.data().toString() + ": " + discs.join(", "));
  }
  return lines;
}

QModelIndex Find(const QTreeView& tree, const QString& group, const QString& disc = {}) {
  const QAbstractItemModel& model = *tree.model();
  for (int row = 0; row < model.rowCount(); ++row) {
    const QModelIndex top = model.index(row, 0);
    if (top.data().toString() != group)
      continue;
    for (int d = 0; d < model.rowCount(top) && !disc.isEmpty(); ++d)
      if (model.index(d, 0, top).data().toString() == disc)
        return model.index(d, 0, top);
    return disc.isEmpty() ? top : QModelIndex();
  }
  return {};
}

class DatabaseSheetTest : public ::testing::Test {
 protected:
  void Add(const std::string& category, const std::string& id, const std::string& title) {
    ASSERT_EQ(DbAddEntry(db_, EntryKey(category, id), SampleEntryText(category, id, title)), 1);
  }

  std::unique_ptr<DatabaseSheet> Open(int page = DatabaseSheet::kLibraryPage) {
    DatabaseActions actions;
    actions.db_path = db_;
    actions.data_dir = dir_.path();
    actions.query_lock = &query_lock_;
    actions.bound_record = [this] { return bound_; };
    actions.bound_record_saved = [this] { ++bound_saved_; };
    actions.submit = [this](std::string entry) { submitted_.push_back(std::move(entry)); };
    auto sheet = std::make_unique<DatabaseSheet>(
        Settings{}, std::move(actions),
        DatabaseSheet::Actions{[this](const Settings& edited) { applied_.push_back(edited); },
                               [this] { ++closed_; },
                               {}});
    sheet->ShowPage(page);
    EXPECT_TRUE(ProcessUntil([&] { return !sheet->busy() && !sheet->library()->filling(); }));
    return sheet;
  }

  void Choose(DatabaseSheet& sheet, const QString& group, const QString& disc = {}) {
    QTreeView* tree = sheet.library()->tree();
    const QModelIndex item = Find(*tree, group, disc);
    ASSERT_TRUE(item.isValid()) << group.toStdString() << " " << disc.toStdString();
    tree->setCurrentIndex(item);
  }

  // Edit Entry on a disc of the library, waiting for the editor.
  void EditFromLibrary(DatabaseSheet& sheet, const QString& group, const QString& disc) {
    Choose(sheet, group, disc);
    test::Click(Button(sheet.library(), "Edit Entry"));
    ASSERT_TRUE(ProcessUntil([&] { return sheet.findChild<QTabWidget*>()->currentIndex() == 1; }));
  }

  QLineEdit* Field(DatabaseSheet& sheet, int n) {
    return sheet.editor()->findChildren<QLineEdit*>()[n];
  }

  void ApplyAndWait(DatabaseSheet& sheet) {
    sheet.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply)->click();
    ASSERT_TRUE(ProcessUntil([&] { return !sheet.busy(); }));
  }

  test::TempDir dir_;
  std::string db_ = dir_.path() + "/ZCD.zdb";
  std::binary_semaphore query_lock_{1};
  std::shared_ptr<DiscRecord> bound_;
  int bound_saved_ = 0;
  std::vector<std::string> submitted_;
  std::vector<Settings> applied_;
  int closed_ = 0;
};

TEST_F(DatabaseSheetTest, LibraryListsEveryRowUnderItsGroupAndSwitchesView) {
  Add("rock", "0c01a202", "Alpha / First");
  Add("jazz", "0c01a202", "Beta / Other");  // shows the first stored entry's title
  Add("Rock", "1a2b3c4d", "Gamma / Second");
  const auto sheet = Open();
  EXPECT_EQ(sheet->windowTitle(), "Zentaro CD - Database");
  auto* tabs = sheet->findChild<QTabWidget*>();
  ASSERT_EQ(tabs->count(), 4);
  EXPECT_EQ(QStringList({tabs->tabText(0), tabs->tabText(1), tabs->tabText(2), tabs->tabText(3)}),
            (QStringList{"CD Library", "CD Editor", "Export", "Import"}));
  QTreeView* tree = sheet->library()->tree();
  EXPECT_EQ(TreeLines(*tree),
            (QStringList{"jazz: Alpha / First", "Rock: Alpha / First, Gamma / Second"}));
  EXPECT_EQ(sheet->library()->findChildren<QLineEdit*>()[1]->text(), "3");

  // A group clears the identifier and disables the disc buttons.
  Choose(*sheet, "jazz");
  EXPECT_TRUE(sheet->library()->findChildren<QLineEdit*>()[2]->text().isEmpty());
  EXPECT_FALSE(Button(sheet->library(), "Edit Entry")->isEnabled());
  Choose(*sheet, "jazz", "Alpha / First");
  EXPECT_EQ(sheet->library()->findChildren<QLineEdit*>()[2]->text(), "0c01a202");
  EXPECT_TRUE(Button(sheet->library(), "Delete Entry")->isEnabled());

  test::ClickBox(sheet->library()->findChildren<QRadioButton*>()[1]);  // "Artist"
  ASSERT_TRUE(ProcessUntil([&] { return !sheet->library()->filling(); }));
  EXPECT_EQ(TreeLines(*tree), (QStringList{"Alpha: First, First", "Gamma: Second"}));
  sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Apply)->click();
  ASSERT_EQ(applied_.size(), 1u);
  EXPECT_EQ(applied_[0].LibraryView, kLibraryViewByArtist);
}

TEST_F(DatabaseSheetTest, DeletingAGroupsOnlyDiscRemovesTheGroup) {
  Add("rock", "0c01a202", "Alpha / First");
  Add("jazz", "1a2b3c4d", "Gamma / Second");
  Add("jazz", "2a2b3c4d", "Delta / Third");
  const auto sheet = Open();
  Choose(*sheet, "rock", "Alpha / First");
  Seen question;
  AnswerNextBox(question, QMessageBox::Yes);
  test::Click(Button(sheet->library(), "Delete Entry"));
  EXPECT_EQ(question.caption, "Confirm Delete");
  EXPECT_EQ(question.text, "Are you sure you want to delete this CD entry?");
  ASSERT_TRUE(ProcessUntil([&] { return !sheet->busy(); }));
  EXPECT_EQ(TreeLines(*sheet->library()->tree()),
            (QStringList{"jazz: Delta / Third, Gamma / Second"}));
  EXPECT_EQ(sheet->library()->findChildren<QLineEdit*>()[1]->text(), "2");
  EXPECT_FALSE(DbHasEntry(db_, "0c01a202"));
}

TEST_F(DatabaseSheetTest, AStaleItemSaysTheEntryCouldNotBeRead) {
  Add("rock", "0c01a202", "Alpha / First");
  const auto sheet = Open();
  ASSERT_TRUE(DbDeleteEntries(db_, "rock/0c01a202"));  // behind the sheet's back
  Choose(*sheet, "rock", "Alpha / First");
  Seen message;
  AnswerNextBox(message);
  test::Click(Button(sheet->library(), "Edit Entry"));
  ASSERT_TRUE(ProcessUntil([&] { return !message.text.isEmpty(); }));
  EXPECT_EQ(message.caption, "Zentaro");
  EXPECT_EQ(message.text.toStdString(), kStaleEntryText);
  EXPECT_EQ(sheet->findChild<QTabWidget*>()->currentIndex(), 0);
}

TEST_F(DatabaseSheetTest, FilterFindsDiscsIgnoringCaseAndAccents) {
  Add("rock", "0c01a202", "Bj\xf6rk / Homogenic");  // Windows-1252 bytes
  Add("rock", "1a2b3c4d", "Other / Album");
  Add("jazz", "2a2b3c4d",
      "Stra\xdf"
      "e / Nacht");
  const auto sheet = Open();
  auto* filter = sheet->library()->findChildren<QLineEdit*>()[0];
  QTreeView* tree = sheet->library()->tree();
  const struct {
    QString typed;
    QStringList lines;
  } cases[] = {
      {"BJORK", {QString::fromUtf8("rock: Björk / Homogenic")}},
      {"strasse", {QString::fromUtf8("jazz: Straße / Nacht")}},
      {"1A2B", {"rock: Other / Album"}},
      {"",
       {QString::fromUtf8("jazz: Straße / Nacht"),
        QString::fromUtf8("rock: Björk / Homogenic, Other / Album")}},
  };
  for (const auto& c : cases) {
    filter->setText(c.typed);
    ASSERT_TRUE(ProcessUntil([&] { return !sheet->library()->filling(); }));
    EXPECT_EQ(TreeLines(*tree), c.lines) << c.typed.toStdString();
  }
}

TEST_F(DatabaseSheetTest, ExportHandsTheChosenSectionToTheExportPage) {
  Add("rock", "0c01a202", "Alpha / First");
  const auto sheet = Open();
  std::vector<std::string> sections;
  QObject::connect(sheet->library(), &LibraryPage::ExportSection,
                   [&](const std::string& section) { sections.push_back(section); });
  Choose(*sheet, "rock");
  test::Click(Button(sheet->library(), "Export"));
  const auto radios = sheet->export_page()->findChildren<QRadioButton*>();
  EXPECT_TRUE(std::any_of(radios.begin(), radios.end(), [](QRadioButton* radio) {
    return radio->text() == "Export Category" && radio->isChecked() && radio->isEnabled();
  }));
  Choose(*sheet, "rock", "Alpha / First");
  test::Click(Button(sheet->library(), "Export"));
  EXPECT_EQ(sections, (std::vector<std::string>{"CAT rock\n", "CDS Alpha / First\n0c01a202\n"}));
  EXPECT_EQ(sheet->findChild<QTabWidget*>()->currentIndex(), DatabaseSheet::kExportPage);
}

// Each case edits the library's disc rock/0c01a202 and checks what was stored.
TEST_F(DatabaseSheetTest, EditorSavesWhatWasTyped) {
  const struct {
    const char* name;
    QString artist;  // null: untouched
    QString album;
    QString category;
    std::string key;
    std::string title;
  } cases[] = {
      {"emptied category", {}, {}, "", "nocategory/0c01a202", "Alpha / First"},
      {"blank in category", {}, {}, "new age", "new_age/0c01a202", "Alpha / First"},
      {"album alone", "", "Greatest", {}, "rock/0c01a202", "Greatest"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::filesystem::remove(db_);
    Add("rock", "0c01a202", "Alpha / First");
    Add("jazz", "1a2b3c4d", "Gamma / Second");
    const auto sheet = Open();
    EditFromLibrary(*sheet, "rock", "Alpha / First");
    EXPECT_EQ(Field(*sheet, 0)->text(), "Alpha");
    EXPECT_EQ(Field(*sheet, 1)->text(), "First");
    if (!c.artist.isNull()) {
      Field(*sheet, 0)->clear();
      test::Type(Field(*sheet, 0), c.artist);
      Field(*sheet, 1)->clear();
      test::Type(Field(*sheet, 1), c.album);
    }
    if (!c.category.isNull()) {
      auto* category = sheet->editor()->findChild<QComboBox*>();
      category->lineEdit()->selectAll();
      test::PressKey(category->lineEdit(), Qt::Key_Delete);
      test::Type(category->lineEdit(), c.category);
    }
    ApplyAndWait(*sheet);
    int count = 0;
    const std::vector<DbListItem> listed = DbListEntries(db_, std::nullopt, count);
    ASSERT_EQ(count, 2);
    // The saved entry is the newest: a category change moved it to the end.
    EXPECT_EQ(EntryKey(listed[0].category, listed[0].disc_id), c.key);
    const std::optional<std::string> text = DbFindEntry(db_, c.key);
    ASSERT_TRUE(text);
    EXPECT_EQ(GetEntryValue("DTITLE=", *text), c.title);
    EXPECT_TRUE(DbHasEntry(db_, "jazz/1a2b3c4d"));
  }
}

TEST_F(DatabaseSheetTest, TrackTitlesAreEditedInPlaceFromTheKeyboard) {
  Add("rock", "0c01a202", "Alpha / First");
  const auto sheet = Open();
  EditFromLibrary(*sheet, "rock", "Alpha / First");
  QTreeWidget* tracks = sheet->editor()->tracks();
  ASSERT_EQ(tracks->topLevelItemCount(), 2);
  EXPECT_EQ(tracks->topLevelItem(1)->text(0), "2.");
  EXPECT_EQ(tracks->topLevelItem(1)->text(1), "Two");
  tracks->setCurrentItem(tracks->topLevelItem(1));
  test::PressKey(tracks, Qt::Key_Return);
  auto* editor = tracks->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(editor, nullptr);
  editor->selectAll();
  test::Type(editor, "Zwei");
  test::PressKey(editor, Qt::Key_Return);
  QApplication::processEvents();  // the view commits the edit from its event loop
  EXPECT_EQ(tracks->topLevelItem(1)->text(1), "Zwei");
  ApplyAndWait(*sheet);
  EXPECT_EQ(GetEntryValue("TTITLE1=", DbFindEntry(db_, "rock/0c01a202").value_or("")), "Zwei");
}

TEST_F(DatabaseSheetTest, ASaveRefusedDuringAQueryKeepsTheEditsAndTheSheetOpen) {
  Add("rock", "0c01a202", "Alpha / First");
  const auto sheet = Open();
  EditFromLibrary(*sheet, "rock", "Alpha / First");
  Field(*sheet, 1)->clear();
  test::Type(Field(*sheet, 1), "Edited");
  query_lock_.acquire();  // a query runs
  Seen refusal;
  AnswerNextBox(refusal);
  sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  ASSERT_TRUE(ProcessUntil([&] { return !refusal.text.isEmpty() && !sheet->busy(); }));
  EXPECT_EQ(refusal.caption, "Zentaro CD");
  EXPECT_EQ(refusal.text.toStdString(), kSaveDuringQueryText);
  EXPECT_TRUE(sheet->isVisible());
  EXPECT_EQ(closed_, 0);
  EXPECT_EQ(Field(*sheet, 1)->text(), "Edited");
  EXPECT_EQ(GetEntryValue("DTITLE=", DbFindEntry(db_, "0c01a202").value_or("")), "Alpha / First");

  query_lock_.release();  // the query ended: OK now saves and closes
  sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
  ASSERT_TRUE(ProcessUntil([&] { return closed_ == 1; }));
  EXPECT_EQ(GetEntryValue("DTITLE=", DbFindEntry(db_, "0c01a202").value_or("")), "Alpha / Edited");
}

TEST_F(DatabaseSheetTest, TheDiscInTheDriveIsEditedAndReadBack) {
  bound_ = std::make_shared<DiscRecord>();
  bound_->SetTiming(test::TwoTrackTiming());
  bound_->SetDiscIdText(std::string("0c01a202"));
  bound_->SetDiscTitle(std::string("Alpha / First"));
  const auto sheet = Open(DatabaseSheet::kEditorPage);
  // Never stored: the save builds a whole entry under "nocategory".
  Field(*sheet, 0)->clear();
  test::Type(Field(*sheet, 0), "Omega");
  ApplyAndWait(*sheet);
  EXPECT_EQ(bound_saved_, 1);
  EXPECT_EQ(bound_->DiscTitle(), "Omega / First");
  EXPECT_EQ(bound_->Category(), "nocategory");
  EXPECT_EQ(GetEntryValue("DTITLE=", DbFindEntry(db_, "nocategory/0c01a202").value_or("")),
            "Omega / First");
}

}  // namespace
}  // namespace zcd

namespace zcd {
namespace {

// The player's side, with a disc in the drive.
class Owner : public test::LauncherOwner {
 public:
  using LauncherOwner::LauncherOwner;
  DatabaseActions DatabaseSheetActions() override {
    DatabaseActions actions;
    actions.db_path = PlayerFolder().database_path();
    actions.current_disc = [] { return CurrentDisc{"0c01a202", -1}; };
    return actions;
  }
};

TEST(DatabaseLauncherTest, OpensTheSheetOnceAndOneExtendedInfoWindowThatKeepsItsPlace) {
  test::TempDir dir;
  Owner owner(dir);
  owner.PlayerSettings().ExtFollow = 1;
  QWidget parent;
  QtDialogLauncher launcher(owner, &parent);
  launcher.Open(Dialog::kDatabase, DatabaseSheet::kEditorPage);
  launcher.Open(Dialog::kDatabase, DatabaseSheet::kEditorPage);
  ASSERT_EQ(parent.findChildren<DatabaseSheet*>().size(), 1u);
  EXPECT_EQ(parent.findChild<DatabaseSheet*>()->findChild<QTabWidget*>()->currentIndex(),
            DatabaseSheet::kEditorPage);

  launcher.Open(Dialog::kExtendedInfo);
  auto* first = parent.findChild<ExtendedInfoWindow*>();
  ASSERT_NE(first, nullptr);
  first->move(123, 45);
  launcher.Open(Dialog::kExtendedInfo);  // the first closes and keeps its place
  QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  ASSERT_EQ(parent.findChildren<ExtendedInfoWindow*>().size(), 1u);
  EXPECT_EQ(owner.PlayerSettings().xExtWinPos, 123);
  EXPECT_EQ(owner.PlayerSettings().yExtWinPos, 45);
  EXPECT_EQ(owner.PlayerSettings().ExtFollow, 1);  // it showed the disc in the drive
  EXPECT_EQ(parent.findChild<ExtendedInfoWindow*>()->pos(), QPoint(123, 45));
}

}  // namespace
}  // namespace zcd
