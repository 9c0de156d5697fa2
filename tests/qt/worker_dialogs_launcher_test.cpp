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
  // Each answer comes from a click in the dialog the worker needs.
  std::vector<std::pair<const QWidget*, bool>> shown;
  WhenModal([&](QDialog& d) {
    shown.emplace_back(d.parentWidget(), d.isModal());
    QTreeWidget* list = d.findChild<QTreeWidget*>();
    test::ClickAt(list->viewport(), QRectF(list->visualItemRect(list->topLevelItem(2))).center());
    ClickButton(d, "OK");
  });
  EXPECT_EQ(launcher.PickInexactMatch(kReply), 2);
  WhenModal([&](QDialog& d) {
    shown.emplace_back(d.parentWidget(), d.isModal());
    test::ClickRadio(d, "Remove current CD from database");
    ClickButton(d, "OK");
  });
  EXPECT_EQ(launcher.AskCachedQueryFailure(), CachedQueryChoice::kRemove);
  const std::pair<const QWidget*, bool> on_main{&main_window, true};
  EXPECT_EQ(shown, (std::vector{on_main, on_main}));
}

}  // namespace
}  // namespace zcd
