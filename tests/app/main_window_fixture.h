#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "app/main_window.h"
#include "base/command_ids.h"
#include "cd/virtual_cd_fixture.h"
#include "platform/headless_window_host.h"
#include "support/temp_dir.h"

namespace zcd::test {

inline VirtualDisc ThreeTracks() {
  return MakeAudioDisc({200, 180, 240});
}

// The main window on the headless host, with virtual drives on a manual clock.
class MainWindowTest : public ::testing::Test {
 protected:
  MainWindowTest() : cd_(ThreeTracks()) {}

  void Start(const std::string& command_line = "") {
    window_ = std::make_unique<MainWindow>(MainWindow::Services{
        settings_, DataFolder{home_.path(), home_.path()}, cd_.table, queue_, {}, {}});
    host_ = std::make_unique<HeadlessWindowHost>(window_.get());
    host_->set_work_area({0, 30, 1280, 770});
    window_->Start(*host_, command_line);
    Drain();
  }
  void Drain() {
    queue_.Drain([this](const Message& m) { window_->HandleMessage(m); });
  }
  void Post(int64_t command) {
    queue_.Post(CommandMessage(command));
    Drain();
  }
  void Poll() {
    host_->FireTimer(kTimerDrivePoll);
    Drain();
  }
  CdState& Cd() { return *window_->cd_state(); }

  test::TempDir home_;
  Settings settings_;
  test::VirtualCdFixture cd_;
  MessageQueue queue_;
  // The host outlives the window and the child hosts it made.
  std::unique_ptr<HeadlessWindowHost> host_;
  std::unique_ptr<MainWindow> window_;
};

}  // namespace zcd::test
