#include <gtest/gtest.h>

#include <QApplication>
#include <QScreen>

#include "app/main_window.h"
#include "base/command_ids.h"
#include "platform/qt/qt_window_host.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

// A machine without CD drives.
class NoDrives : public CdDriveSource {
 public:
  std::vector<int> CdDriveIndices() const override { return {}; }
  std::unique_ptr<CdDevice> OpenDrive(int, bool) override { return nullptr; }
};

// In the main window's client coordinates, inside its border.
QRect ChildGeometry(const QWidget* main, int index) {
  const auto children = main->findChildren<SurfaceWidget*>(Qt::FindDirectChildrenOnly);
  return children.at(index)->geometry().translated(-kMainBorder, -kMainBorder);
}

class MainWindowQtTest : public ::testing::Test {
 protected:
  void Start(int start_state) {
    settings_.StartWinState = start_state;
    window_ = std::make_unique<MainWindow>(MainWindow::Services{
        settings_, DataFolder{home_.path(), home_.path()}, drives_, queue_, {}, {}});
    host_.set_client(window_.get());
    window_->Start(host_, "");
    queue_.Drain([this](const Message& m) { window_->HandleMessage(m); });
  }
  void TearDown() override { window_.reset(); }

  test::TempDir home_;
  Settings settings_;
  NoDrives drives_;
  MessageQueue queue_;
  QtWindowHost host_;
  std::unique_ptr<MainWindow> window_;
};

TEST_F(MainWindowQtTest, FramelessWindowWithFiveChildrenAtTheirPlaces) {
  Start(1);
  QWidget* main = host_.widget();
  EXPECT_TRUE(main->windowFlags().testFlag(Qt::FramelessWindowHint));
  EXPECT_EQ(main->size(), QSize(297, 162));
  EXPECT_EQ(main->pos(),
            QPoint(100, 100) + QGuiApplication::primaryScreen()->availableGeometry().topLeft());
  EXPECT_EQ(ChildGeometry(main, 0), QRect(9, 126, 163, 24));   // controls
  EXPECT_EQ(ChildGeometry(main, 1), QRect(218, 19, 70, 136));  // tracks
  EXPECT_EQ(ChildGeometry(main, 2), QRect(12, 112, 196, 10));  // slider
  EXPECT_EQ(ChildGeometry(main, 3), QRect(11, 55, 204, 56));   // mixer
  EXPECT_EQ(ChildGeometry(main, 4), QRect(178, 126, 33, 25));  // volume
  const auto children = main->findChildren<SurfaceWidget*>(Qt::FindDirectChildrenOnly);
  EXPECT_FALSE(children[1]->isVisibleTo(main));  // tracks wait for a disc
  EXPECT_FALSE(children[3]->isVisibleTo(main));  // mixer opens on demand
  EXPECT_TRUE(children[0]->isVisibleTo(main));
  // No drive at all: the load fails as an unopenable device.
  EXPECT_EQ(window_->cd_state()->disc().DiscTitle(), "can't open device");
  EXPECT_EQ(main->windowTitle(), "ZCD: can't open device");
}

TEST_F(MainWindowQtTest, SkinIsPresentedInsideAOnePixelBorder) {
  Start(1);
  QWidget* main = host_.widget();
  const QImage shown = main->grab().toImage();
  const Bitmap& body = window_->skin()[SkinFile::kBody];
  const auto skin_pixel = [&](int x, int y) { return QColor(QRgb(body.At(x, y))); };
  // The title strip, away from anything drawn over the body.
  EXPECT_EQ(shown.pixelColor(1 + 150, 1 + 2), skin_pixel(150, 2));
  EXPECT_EQ(shown.pixelColor(1 + 294, 1 + 159), skin_pixel(294, 159));
  EXPECT_EQ(shown.pixelColor(0, 80), shown.pixelColor(296, 161));  // the border
  EXPECT_NE(shown.pixelColor(0, 80), skin_pixel(0, 79));
}

TEST_F(MainWindowQtTest, ShadeModeBarAndBack) {
  Start(3);
  QWidget* main = host_.widget();
  EXPECT_EQ(main->size(), QSize(297, 19));
  EXPECT_EQ(ChildGeometry(main, 0), QRect(20, 3, 81, 12));
  EXPECT_EQ(ChildGeometry(main, 1), QRect(250, 2, 16, 13));
  const auto children = main->findChildren<SurfaceWidget*>(Qt::FindDirectChildrenOnly);
  EXPECT_FALSE(children[2]->isVisibleTo(main));  // no slider in the bar
  queue_.Post(CommandMessage(kCmdToggleLayoutKey));
  queue_.Drain([this](const Message& m) { window_->HandleMessage(m); });
  EXPECT_EQ(main->size(), QSize(297, 162));
  EXPECT_EQ(ChildGeometry(main, 0), QRect(9, 126, 163, 24));
  EXPECT_TRUE(children[2]->isVisibleTo(main));
}

TEST_F(MainWindowQtTest, AlwaysOnTopAndTaskbarFlags) {
  settings_.AlwaysOnTop = 8;
  settings_.IconType = 1;
  Start(1);
  QWidget* main = host_.widget();
  EXPECT_TRUE(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_TRUE(main->windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(main->isVisible());
  queue_.Post(CommandMessage(kCmdAlwaysOnTop));
  queue_.Drain([this](const Message& m) { window_->HandleMessage(m); });
  EXPECT_FALSE(main->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
  EXPECT_EQ(settings_.AlwaysOnTop, 0);
  EXPECT_TRUE(main->isVisible());
}

}  // namespace
}  // namespace zcd
