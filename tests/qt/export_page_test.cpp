#include "discdb/ui/export_page.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>

#include "discdb/database.h"
#include "discdb/exporter_plain_text.h"
#include "discdb/sample_disc.h"
#include "qt/modal_dialog.h"
#include "qt/process_until.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

using test::Click;
using test::ClickBox;
using test::Showing;

// The texts of the option controls of one kind the page shows, and which are ticked.
template <typename T>
QStringList Shown(const QWidget& page, bool checked_only = false) {
  QStringList texts;
  for (T* button : page.findChildren<T*>()) {
    if (!button->isHidden() && button->parentWidget() != &page &&
        (!checked_only || button->isChecked()))
      texts << button->text();
  }
  return texts;
}

class ExportPageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(DbAddEntry(db_, "rock/0c01a202", rock_), 1);
    ASSERT_EQ(
        DbAddEntry(db_, "jazz/22222222", test::SampleEntryText("jazz", "22222222", "Cool / Blue")),
        1);
    ASSERT_EQ(DbAddEntry(db_, "rock/33333333", rock2_), 1);
    page_.SetFileDialog(
        [this](QWidget*, const FileDialogRequest& request) -> std::optional<QString> {
          requests_.push_back(request);
          if (chosen_.empty())
            return std::nullopt;
          return QString::fromStdString(chosen_);
        });
  }
  QComboBox* Format() { return page_.findChild<QComboBox*>(); }
  QLabel* Status() { return page_.findChild<QLabel*>("status"); }
  QLabel* Section() { return page_.findChild<QLabel*>("section"); }
  // Clicks "Export" and waits for the run to end.
  void Export() {
    int busy_changed = 0;
    const QMetaObject::Connection counting =
        QObject::connect(&page_, &DatabasePage::BusyChanged, [&] { ++busy_changed; });
    Click(Showing(page_, "Export"));
    if (page_.Busy()) {
      EXPECT_FALSE(Showing(page_, "Export")->isEnabled());
      EXPECT_EQ(busy_changed, 1);
      EXPECT_TRUE(test::ProcessUntil([&] { return !page_.Busy(); }));
      EXPECT_TRUE(Showing(page_, "Export")->isEnabled());
      EXPECT_EQ(busy_changed, 2);
    }
    QObject::disconnect(counting);
  }

  test::TempDir dir_;
  const std::string db_ = dir_.File("ZCD.zdb");
  const std::string rock_ = test::SampleEntryText("rock", "0c01a202", "Loud / First");
  const std::string rock2_ = test::SampleEntryText("rock", "33333333", "Louder / Second");
  ExportPage page_{db_, dir_.path()};
  std::vector<FileDialogRequest> requests_;
  std::string chosen_;
};

TEST_F(ExportPageTest, EachFormatShowsItsOwnOptions) {
  ASSERT_EQ(Format()->count(), 3);
  const struct {
    QString format;
    QStringList boxes, radios, ticked;  // ticked besides the boxes, which all are
  } cases[] = {
      {"Raw CDDB Format",
       {"Include CDDB Entry Header", "Include Extended Info", "Include Playlist (if exists)"},
       {},
       {}},
      {"CDPlayer.ini Format",
       {},
       {"Export into cdplayer.ini", "Export to different filename", "Overwrite cdplayer.ini"},
       {"Export into cdplayer.ini"}},
      {"Plain Text",
       {"Include Artist", "Include CD Title", "Include Category", "Include Track Titles",
        "Include Track Times", "Include Extended Info"},
       {},
       {}},
  };
  // Starts on plain text; a box cleared there is ticked again when the format comes back.
  EXPECT_EQ(Format()->currentText(), "Plain Text");
  ClickBox(Showing(page_, "Include Category"));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format.toStdString());
    Format()->setCurrentText(c.format);
    EXPECT_EQ(Shown<QCheckBox>(page_), c.boxes);
    EXPECT_EQ(Shown<QRadioButton>(page_), c.radios);
    EXPECT_EQ(Shown<QCheckBox>(page_, true) + Shown<QRadioButton>(page_, true), c.boxes + c.ticked);
  }
}

TEST_F(ExportPageTest, ASectionIsOfferedUntilTheSheetIsApplied) {
  QAbstractButton* specific = Showing(page_, "Export Specific");
  QAbstractButton* all = Showing(page_, "Export All CD's");
  EXPECT_FALSE(specific->isEnabled());
  EXPECT_TRUE(all->isChecked());
  const QString initial = Section()->text();
  EXPECT_TRUE(initial.startsWith("All CD's")) << initial.toStdString();
  const struct {
    std::string section;
    QString button, text;
  } cases[] = {
      {"CAT rock\n", "Export Category", "Category:\nrock\n\n"},
      {"ART Caf\xe9 Band\n", "Export Artist", "Artist:\nCaf\u00e9 Band\n\n"},
      {"CDS Loud / First\n0c01a202\n", "Export Album", "Album:\nLoud / First\n\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    page_.ShowSection(c.section);
    EXPECT_EQ(specific->text(), c.button);
    EXPECT_TRUE(specific->isEnabled());
    EXPECT_TRUE(specific->isChecked());
    EXPECT_EQ(Section()->text(),
              c.text +
                  "You may choose between exporting this section of the CD Library or the entire "
                  "collection.");
    Settings settings;
    page_.Apply(settings);
    EXPECT_TRUE(all->isChecked());
    EXPECT_FALSE(specific->isEnabled());
    EXPECT_EQ(specific->text(), "Export Specific");
    EXPECT_EQ(Section()->text(), initial);
  }
}

TEST_F(ExportPageTest, ACategoryFromTheLibraryExportsOnlyItsEntries) {
  chosen_ = dir_.File("rock.txt");
  page_.ShowSection("CAT rock\n");
  // Only the track titles: the output stays short and shows what was chosen.
  for (const char* label : {"Include Artist", "Include CD Title", "Include Category",
                            "Include Track Times", "Include Extended Info"})
    ClickBox(Showing(page_, label));
  Export();
  ASSERT_EQ(requests_.size(), 1u);
  EXPECT_EQ(requests_[0].mode, FileDialogRequest::Mode::kSave);
  EXPECT_EQ(requests_[0].filters, (QStringList{"Text Files (*.txt)", "All Files (*.*)"}));
  EXPECT_EQ(requests_[0].default_suffix, "txt");
  EXPECT_EQ(requests_[0].preset, "zcd_category.txt");
  const std::string separator(79, '-');
  const std::string disc = separator + "\r\n1:  One\r\n2:  Two\r\n\r\n\r\n";
  EXPECT_EQ(dir_.Read("rock.txt"), disc + disc);
  EXPECT_EQ(Status()->text(), "Exported 2 entries to " + QString::fromStdString(chosen_));

  // Back to everything, into a file that now exists: replaced, jazz included.
  Showing(page_, "Export All CD's")->click();
  Export();
  EXPECT_EQ(requests_.back().preset, "zcd_export.txt");
  EXPECT_EQ(dir_.Read("rock.txt"), disc + disc + disc);
  EXPECT_EQ(Status()->text(), "Exported 3 entries to " + QString::fromStdString(chosen_));
}

TEST_F(ExportPageTest, IntoCdPlayerIniAppendsInTheDataFolderWithoutAsking) {
  dir_.Write("cdplayer.ini", "[Settings]\r\n");
  // A page left and shown again makes its formats anew.
  page_.Deactivated();
  page_.Activated();
  Format()->setCurrentText("CDPlayer.ini Format");
  page_.ShowSection("CDS Louder / Second\n33333333\n");
  Export();
  Export();
  EXPECT_TRUE(requests_.empty());
  const std::string ini = dir_.Read("cdplayer.ini");
  EXPECT_TRUE(ini.starts_with("[Settings]\r\n")) << ini;
  size_t sections = 0;
  for (size_t at = ini.find("artist=Louder"); at != std::string::npos;
       at = ini.find("artist=Louder", at + 1))
    ++sections;
  EXPECT_EQ(sections, 2u) << ini;
  EXPECT_EQ(ini.find("artist=Loud\r\n"), std::string::npos) << ini;
}

TEST_F(ExportPageTest, CancellingTheFileDialogExportsNothingAndAFailureIsShown) {
  Export();
  EXPECT_EQ(requests_.size(), 1u);
  EXPECT_FALSE(page_.Busy());
  EXPECT_EQ(Status()->text(), "");

  // The output folder does not exist.
  chosen_ = dir_.File("missing/out.txt");
  test::SeenBox seen;
  test::AnswerNextBox(seen);
  Export();
  ASSERT_TRUE(test::ProcessUntil([&] { return !seen.caption.isEmpty(); }));
  EXPECT_EQ(seen.caption, "Zentaro CD");
  EXPECT_EQ(seen.icon, QMessageBox::Warning);
  EXPECT_TRUE(seen.text.contains("missing/out.txt")) << seen.text.toStdString();
  EXPECT_EQ(Status()->text(), "");
}

}  // namespace
}  // namespace zcd
