#include <gtest/gtest.h>

#include <QDialog>
#include <QTreeWidget>
#include <string>

#include "app/ui/qt_dialog_launcher.h"
#include "qt/modal_dialog.h"
#include "qt/user_input.h"

namespace zcd {
namespace {

using test::ClickButton;
using test::WhenModal;

const std::string kReply =
    "211 Found inexact matches\r\n"
    "rock 0c01a202 First\r\n"
    "blues 0d01a203 Second\r\n"
    "misc 0e01a204 Third\r\n"
    ".\r\n";

// The launcher never opens these itself: it runs them for the CDDB workers.
class NoOwner : public DialogOwner {
 public:
  Settings& PlayerSettings() override { return settings_; }
  void SelectSkin(const std::string&) override {}
  void ApplyPreferences(const Settings&) override {}
  void SaveSettings() override {}
  int CdDriveCount() const override { return 0; }
  const DataFolder& PlayerFolder() const override { return folder_; }

 private:
  Settings settings_;
  DataFolder folder_;
};

TEST(WorkerDialogsLauncherTest, AsksModallyOnTheMainWindow) {
  NoOwner owner;
  QWidget main_window;
  QtDialogLauncher launcher(owner, &main_window);
  const QWidget* parent = nullptr;
  bool modal = false;
  QString title;
  const auto look = [&](QDialog& d) {
    parent = d.parentWidget();
    modal = d.isModal();
    title = d.windowTitle();
  };

  WhenModal([&](QDialog& d) {
    look(d);
    QTreeWidget* list = d.findChild<QTreeWidget*>();
    test::ClickAt(list->viewport(), QRectF(list->visualItemRect(list->topLevelItem(2))).center());
    ClickButton(d, "OK");
  });
  EXPECT_EQ(launcher.PickInexactMatch(kReply), 2);
  EXPECT_EQ(parent, &main_window);
  EXPECT_TRUE(modal);
  EXPECT_EQ(title, "Zentaro CD Inexact Match");

  parent = nullptr;
  modal = false;
  WhenModal([&](QDialog& d) {
    look(d);
    test::ClickRadio(d, "Remove current CD from database");
    ClickButton(d, "OK");
  });
  EXPECT_EQ(launcher.AskCachedQueryFailure(), CachedQueryChoice::kRemove);
  EXPECT_EQ(parent, &main_window);
  EXPECT_TRUE(modal);
  EXPECT_EQ(title, "Zentaro CD - Cached CD Query");
}

}  // namespace
}  // namespace zcd
