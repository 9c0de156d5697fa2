#include "app/ui/information_sheet.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <memory>
#include <set>
#include <string>

#include "app/accelerators.h"
#include "app/command_line.h"
#include "app/data_folder.h"
#include "app/ui/help_text.h"
#include "qt/user_input.h"

namespace zcd {
namespace {

using test::Click;
using test::PressKey;

const HelpSection& Section(const std::string& title) {
  for (const HelpSection& section : HelpSections()) {
    if (section.title == title)
      return section;
  }
  ADD_FAILURE() << "no help section " << title;
  return HelpSections().front();
}

// Counts whatever a command line makes the player do.
class CountingTarget : public CommandTarget {
 public:
  int CurrentDrive() const override { return 0; }
  void Post(const Message&) override { ++actions; }
  void Minimize() override { ++actions; }
  void Restore() override { ++actions; }
  void EnableNetLogging() override { ++actions; }
  int actions = 0;
};

class InformationSheetTest : public ::testing::Test {
 protected:
  std::unique_ptr<InformationSheet> Open() {
    auto sheet =
        std::make_unique<InformationSheet>(InformationSheet::Actions{[this] { ++closed_; }});
    sheet->show();
    QApplication::processEvents();
    return sheet;
  }

  static QTabWidget* Tabs(const QWidget& sheet) { return sheet.findChild<QTabWidget*>(); }

  int closed_ = 0;
};

TEST_F(InformationSheetTest, TitlePagesAndTheProgramsVersion) {
  const auto sheet = Open();
  EXPECT_EQ(sheet->windowTitle(), "Zentaro CD Information");
  EXPECT_FALSE(sheet->isModal());
  QTabWidget* tabs = Tabs(*sheet);
  ASSERT_EQ(tabs->count(), 2);
  EXPECT_EQ(tabs->tabText(0), "Creators");
  EXPECT_EQ(tabs->tabText(1), "Help && Tips");
  const QLabel* credits = tabs->widget(0)->findChild<QLabel*>();
  if (!credits)
    credits = qobject_cast<QLabel*>(tabs->widget(0));
  ASSERT_NE(credits, nullptr);
  EXPECT_TRUE(credits->text().contains("Zentaro CD"));
  EXPECT_TRUE(credits->text().contains(QString("Version ") + ZCD_VERSION));
}

TEST(HelpTextTest, KeysAreThePlayersKeys) {
  std::set<std::string> listed;
  for (const HelpItem& item : Section("Keys").items)
    listed.insert(item.what);
  std::set<std::string> accelerators;
  for (const Accelerator& accelerator : kAccelerators)
    accelerators.insert(accelerator.key);
  // Alt+Space opens the window menu, which is the window's own, not a command key.
  accelerators.insert("Alt+Space");
  EXPECT_EQ(listed, accelerators);
}

TEST(HelpTextTest, EveryCommandLineExampleDoesSomething) {
  for (const HelpItem& item : Section("Command line").items) {
    SCOPED_TRACE(item.what);
    std::string line = item.what;
    ASSERT_EQ(line.rfind("zcd ", 0), 0u);
    CountingTarget target;
    ParseCommandLine(target, line.substr(4), /*forwarding=*/false);
    EXPECT_GT(target.actions, 0);
  }
}

TEST(HelpTextTest, NamesTheFilesWhereThePlayerKeepsThem) {
  const DataFolder folder{"/c", "/d"};
  const std::string files[] = {folder.ini_path(), folder.database_path(), folder.skins_dir(),
                               folder.net_log_path()};
  std::string data_help;
  for (const HelpItem& item : Section("Where your data lives").items)
    data_help += std::string(item.what) + " " + item.does + "\n";
  for (const std::string& path : files) {
    const std::string name = path.substr(path.rfind('/') + 1);
    EXPECT_NE(data_help.find(name), std::string::npos) << name;
  }
}

TEST_F(InformationSheetTest, EveryWayOfClosingReportsOnce) {
  const std::vector<std::pair<const char*, std::function<void(InformationSheet&)>>> ways = {
      {"Close",
       [](InformationSheet& s) {
         Click(s.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Close));
       }},
      {"Escape", [](InformationSheet& s) { PressKey(&s, Qt::Key_Escape); }},
      {"close box", [](InformationSheet& s) { s.close(); }},
  };
  for (const auto& [name, close] : ways) {
    SCOPED_TRACE(name);
    closed_ = 0;
    const auto sheet = Open();
    Tabs(*sheet)->setCurrentIndex(1);
    sheet->ShowFirstPage();
    EXPECT_EQ(Tabs(*sheet)->currentIndex(), 0);
    close(*sheet);
    EXPECT_EQ(closed_, 1);
    EXPECT_FALSE(sheet->isVisible());
    sheet->close();
    sheet->reject();
    EXPECT_EQ(closed_, 1);
  }
}

}  // namespace
}  // namespace zcd
