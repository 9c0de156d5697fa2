#include "platform/qt/key_commands.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>
#include <vector>

#include "base/command_ids.h"

namespace zcd {
namespace {

class KeyCommandsTest : public ::testing::Test {
 protected:
  KeyCommandsTest() {
    new KeyCommands(&window_, [this](const Message& message) {
      sent_.push_back(message.id == kMsgCommand ? message.wparam : -message.wparam);
    });
  }
  void Press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(&window_, &event);
  }

  QWidget window_;
  std::vector<int64_t> sent_;
};

TEST_F(KeyCommandsTest, TableKeysSendTheirCommands) {
  Press(Qt::Key_Y);
  Press(Qt::Key_R);
  Press(Qt::Key_W, Qt::ControlModifier);
  Press(Qt::Key_S, Qt::AltModifier);
  Press(Qt::Key_S, Qt::ControlModifier);
  Press(Qt::Key_Space, Qt::AltModifier);  // the window menu, a system command
  EXPECT_EQ(sent_, (std::vector<int64_t>{kCmdPlayKey, kCmdStopKey, kCmdToggleLayoutKey, kCmdSkins,
                                         kCmdCddbSettings, -kSysKeyMenu}));
}

TEST_F(KeyCommandsTest, OtherKeysAndOtherModifiersSendNothing) {
  Press(Qt::Key_Z);
  Press(Qt::Key_Y, Qt::ShiftModifier);
  Press(Qt::Key_A);  // only Ctrl+A is in the table
  Press(Qt::Key_W, Qt::ControlModifier | Qt::AltModifier);
  EXPECT_TRUE(sent_.empty());
}

}  // namespace
}  // namespace zcd
