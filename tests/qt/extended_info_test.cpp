#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPointer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "discdb/database.h"
#include "discdb/ui/extended_info_editor.h"
#include "discdb/ui/extended_info_window.h"
#include "qt/modal_dialog.h"
#include "qt/process_until.h"
#include "qt/user_input.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::ClickButton;
using test::ProcessUntil;
using test::WhenModal;

// ---- the edit dialog ----

// Three tracks: the disc's text has an escaped line break, track 1 has no
// title and no text, track 3 holds bytes a careless round trip would change
// (a no-break space, an "e" acute, a doubled backslash before "n", a bare
// carriage return).
void FillRecord(DiscRecord& record) {
  DiscTiming timing;
  timing.track_count = 3;
  record.SetTiming(timing);
  record.SetDiscTitle("Artist / Album");
  record.SetDiscExtended("Liner\\nnotes");
  record.SetTrackTitle(0, "One");
  record.SetTrackExtended(0, "first");
  record.SetTrackTitle(2, "Three");
  record.SetTrackExtended(2, "caf\xe9\xa0\\\\n\tend\r ");
}

struct DialogRun {
  bool result = false;
  QStringList items;
  std::vector<QString> shown;  // the field's text at each look
};

// Runs the dialog with `act` given the combo and the field; act ends with
// the button to press.
DialogRun RunDialog(const DiscRecord& record, DiscEdit& edit,
                    const std::function<QString(QComboBox&, QPlainTextEdit&, DialogRun&)>& act) {
  DialogRun run;
  WhenModal([&](QDialog& dialog) {
    auto* items = dialog.findChild<QComboBox*>();
    auto* field = dialog.findChild<QPlainTextEdit*>();
    for (int i = 0; i < items->count(); ++i)
      run.items << items->itemText(i);
    ClickButton(dialog, act(*items, *field, run));
  });
  run.result = RunExtendedInfoEditor(nullptr, record, edit);
  return run;
}

void Retype(QPlainTextEdit& field, const QString& text) {
  field.selectAll();
  test::PressKey(&field, Qt::Key_Delete);
  field.insertPlainText(text);  // as a paste delivers it, line ends and all
}

TEST(ExtendedInfoEditorTest, SwitchingKeepsEachTextAndOkWritesOnlyChangedOnes) {
  DiscRecord record;
  FillRecord(record);
  DiscEdit edit;
  edit.titles[0] = "Edited";
  edit.track_extended[2] = "from an earlier run";
  const DialogRun run =
      RunDialog(record, edit, [](QComboBox& items, QPlainTextEdit& field, DialogRun& r) {
        r.shown.push_back(field.toPlainText());
        items.setCurrentIndex(2);
        Retype(field, "typed for two");
        items.setCurrentIndex(1);
        r.shown.push_back(field.toPlainText());
        Retype(field, "");
        items.setCurrentIndex(3);
        r.shown.push_back(field.toPlainText());
        items.setCurrentIndex(2);
        r.shown.push_back(field.toPlainText());
        return "OK";
      });
  EXPECT_TRUE(run.result);
  EXPECT_EQ(run.items, (QStringList{"Artist / Album", "1.   Edited", "2.", "3.   Three"}));
  EXPECT_EQ(run.shown, (std::vector<QString>{"Liner\nnotes", "first", "from an earlier run",
                                             "typed for two"}));
  EXPECT_FALSE(edit.disc_extended);
  EXPECT_EQ(edit.track_extended, (std::map<int, std::string>{
                                     {0, ""}, {1, "typed for two"}, {2, "from an earlier run"}}));
}

TEST(ExtendedInfoEditorTest, UntouchedTextsAndCancelLeaveTheEditAlone) {
  for (const char* button : {"OK", "Cancel"}) {
    DiscRecord record;
    FillRecord(record);
    DiscEdit edit;
    const DialogRun run =
        RunDialog(record, edit, [button](QComboBox& items, QPlainTextEdit& field, DialogRun&) {
          for (int i : {3, 1, 0, 2})
            items.setCurrentIndex(i);
          if (std::string(button) == "Cancel")
            Retype(field, "dropped");
          return button;
        });
    EXPECT_FALSE(run.result) << button;
    EXPECT_TRUE(edit.empty()) << button;
  }
}

TEST(ExtendedInfoEditorTest, LineBreaksAreStoredAsEscapesAndATypedBackslashNStays) {
  struct Case {
    QString typed;
    std::string stored;
  };
  const Case cases[] = {
      {"line one\nline two", "line one\\nline two"},
      {"line one\r\nline two\r\n", "line one\\nline two\\n"},
      {"bare\rcarriage", "bare\\ncarriage"},
      {"C:\\new", "C:\\new"},
      {"caf\u00e9 \u20ac\u00a0", "caf\xe9 \x80\xa0"},
  };
  for (const Case& c : cases) {
    DiscRecord record;
    FillRecord(record);
    DiscEdit edit;
    RunDialog(record, edit, [&c](QComboBox&, QPlainTextEdit& field, DialogRun&) {
      Retype(field, c.typed);
      return "OK";
    });
    ASSERT_TRUE(edit.disc_extended) << c.stored;
    EXPECT_EQ(*edit.disc_extended, c.stored);
    EXPECT_EQ(edit.disc_extended->find_first_of("\r\n"), std::string::npos) << c.stored;
  }
  // Enter pressed in the field, as a user makes a new line.
  DiscRecord record;
  FillRecord(record);
  DiscEdit edit;
  RunDialog(record, edit, [](QComboBox& items, QPlainTextEdit& field, DialogRun&) {
    items.setCurrentIndex(2);
    test::Type(&field, "up");
    test::PressKey(&field, Qt::Key_Return, "\r");
    test::Type(&field, "down");
    return "OK";
  });
  EXPECT_EQ(edit.track_extended, (std::map<int, std::string>{{1, "up\\ndown"}}));
}

// ---- the window ----

const std::string kEntryA =
    "200 rock 0a0b0c03\r\n# xmcd\r\n#\r\n# Disc length: 245 seconds\r\n#\r\n# Revision: 3\r\n"
    "# Submitted via: SomeTool 2.0\r\n#\r\nDISCID=0a0b0c03\r\nDTITLE=Band / Record\r\n"
    "TTITLE0=Intro\r\nTTITLE1=Caf\xe9\r\nTTITLE2=Outro\r\nEXTD=Recorded\\nlive\r\n"
    "EXTT0=\r\nEXTT1=Second\\ntrack\r\nPLAYORDER=\r\n.\r\n";
const std::string kEntryB =
    "200 jazz 1b2c3d02\r\n#\r\n# Disc length: 99 seconds\r\n#\r\n# Revision: 0\r\n#\r\n"
    "DISCID=1b2c3d02\r\nDTITLE=Other / Disc\r\nTTITLE0=Only\r\nEXTD=\r\n.\r\n";

class ExtendedInfoWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DbAddEntry(db_, "rock/0a0b0c03", kEntryA), 1);
    ASSERT_EQ(DbAddEntry(db_, "jazz/1b2c3d02", kEntryB), 1);
  }

  std::unique_ptr<ExtendedInfoWindow> Open(const std::string& id, bool follow) {
    ExtendedInfoWindow::Context context{db_, [this] { return current_; },
                                        [this](QPoint position, bool on) {
                                          closed_.push_back({position, on});
                                        }};
    auto window =
        std::make_unique<ExtendedInfoWindow>(id, follow, QPoint(120, 80), std::move(context));
    window->show();
    return window;
  }

  static QString Label(const QWidget& window, const char* name) {
    return window.findChild<QLabel*>(name)->text();
  }
  static QComboBox& Items(const QWidget& window) { return *window.findChild<QComboBox*>(); }
  static QString Text(const QWidget& window) {
    return window.findChild<QPlainTextEdit*>()->toPlainText();
  }
  static QCheckBox& Follow(const QWidget& window) { return *window.findChild<QCheckBox*>(); }

  test::TempDir dir_;
  std::string db_ = dir_.File("ZCD.zdb");
  std::optional<CurrentDisc> current_;
  std::vector<std::pair<QPoint, bool>> closed_;
};

TEST_F(ExtendedInfoWindowTest, ShowsTheEntrysFieldsAndTexts) {
  const auto window = Open("0a0b0c03", true);
  ASSERT_TRUE(ProcessUntil([&] { return Items(*window).count() == 4; }));
  EXPECT_EQ(window->windowTitle(), "Zentaro CD Extended Info");
  EXPECT_FALSE(Follow(*window).isChecked());  // no disc in the drive
  EXPECT_EQ(Label(*window, "length"), "Disc length: 245 Seconds");
  EXPECT_EQ(Label(*window, "revision"), "Entry Revision: 3");
  EXPECT_EQ(Label(*window, "submitter"), "Submitted to CDDB via:\nSomeTool 2.0");
  EXPECT_EQ(Label(*window, "disc_id"), "Disc ID: 0a0b0c03");
  QStringList items;
  QStringList texts;
  for (int i = 0; i < Items(*window).count(); ++i) {
    items << Items(*window).itemText(i);
    Items(*window).setCurrentIndex(i);
    texts << Text(*window);
  }
  EXPECT_EQ(items, (QStringList{"Band / Record", "1.   Intro", "2.   Caf\u00e9", "3.   Outro"}));
  EXPECT_EQ(texts, (QStringList{"Recorded\nlive", "", "Second\ntrack", ""}));

  const auto missing = Open("deadbeef", false);
  ASSERT_TRUE(ProcessUntil([&] { return Items(*missing).count() == 1; }));
  EXPECT_EQ(Label(*missing, "disc_id"), "Disc ID: deadbeef");
  EXPECT_EQ(Label(*missing, "length"), "Disc length:");
  EXPECT_EQ(Text(*missing), "");
}

TEST_F(ExtendedInfoWindowTest, FollowsTheDiscAndTrackAndClearsWithoutADisc) {
  current_ = CurrentDisc{"0a0b0c03", 1};
  const auto window = Open("0a0b0c03", true);
  EXPECT_TRUE(Follow(*window).isChecked());
  ASSERT_TRUE(ProcessUntil([&] { return Items(*window).currentIndex() == 2; }));
  EXPECT_EQ(Text(*window), "Second\ntrack");

  current_->track = 2;
  ASSERT_TRUE(ProcessUntil([&] { return Items(*window).currentIndex() == 3; }));

  current_ = CurrentDisc{"1b2c3d02", -1};
  ASSERT_TRUE(ProcessUntil([&] { return Items(*window).itemText(0) == "Other / Disc"; }));
  EXPECT_EQ(Label(*window, "disc_id"), "Disc ID: 1b2c3d02");
  EXPECT_EQ(Label(*window, "length"), "Disc length: 99 Seconds");

  current_.reset();
  ASSERT_TRUE(ProcessUntil([&] { return Label(*window, "disc_id") == "Disc ID:"; }));
  EXPECT_EQ(Label(*window, "length"), "Disc length:");
  EXPECT_EQ(Label(*window, "revision"), "Entry Revision:");
  EXPECT_EQ(Label(*window, "submitter"), "Submitted to CDDB via:");
  EXPECT_EQ(Items(*window).count(), 0);
  EXPECT_EQ(Text(*window), "");
}

TEST_F(ExtendedInfoWindowTest, OpenedForAnotherDiscFollowIsOffUntilTurnedOn) {
  current_ = CurrentDisc{"1b2c3d02", 0};
  const auto window = Open("0a0b0c03", true);
  EXPECT_FALSE(Follow(*window).isChecked());
  ASSERT_TRUE(ProcessUntil([&] { return Items(*window).count() == 4; }));
  test::ClickBox(&Follow(*window));
  ASSERT_TRUE(ProcessUntil([&] { return Items(*window).itemText(0) == "Other / Disc"; }));
  EXPECT_EQ(Items(*window).currentIndex(), 1);
}

TEST_F(ExtendedInfoWindowTest, EveryWayOfClosingReportsPositionAndFollowOnce) {
  current_ = CurrentDisc{"0a0b0c03", -1};
  const std::vector<std::function<void(ExtendedInfoWindow&)>> closers = {
      [](ExtendedInfoWindow& w) { test::Click(test::Showing<QPushButton>(w, "Close")); },
      [](ExtendedInfoWindow& w) { w.close(); },
      [](ExtendedInfoWindow& w) { test::PressKey(&w, Qt::Key_Escape); },
  };
  for (const auto& close : closers) {
    closed_.clear();
    auto window = Open("0a0b0c03", true);
    QPointer<ExtendedInfoWindow> alive(window.get());
    close(*window);
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    // The desktop may still send a close to a closed window.
    QCloseEvent again;
    QApplication::sendEvent(window.get(), &again);
    window->close();
    QApplication::processEvents();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(alive) << "the owner deletes the window";
    ASSERT_EQ(closed_.size(), 1u);
    EXPECT_EQ(closed_[0].first, QPoint(120, 80));
    EXPECT_TRUE(closed_[0].second);
  }
}

}  // namespace
}  // namespace zcd
