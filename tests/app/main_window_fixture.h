#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "app/main_window.h"
#include "base/command_ids.h"
#include "cd/virtual_cd_fixture.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"
#include "platform/headless_window_host.h"
#include "support/temp_dir.h"

namespace zcd::test {

inline VirtualDisc ThreeTracks() {
  return MakeAudioDisc({200, 180, 240});
}

// The main window on the headless host, with virtual drives on a manual clock.
class MainWindowTest : public ::testing::Test {
 protected:
  // A new disc starts no CDDB worker unless a test asks for one.
  MainWindowTest() : cd_(ThreeTracks()) { settings_.AutoInfo = 0; }

  void Start(const std::string& command_line = "") {
    window_ = std::make_unique<MainWindow>(MainWindow::Services{
        settings_, DataFolder{home_.path(), home_.path()}, cd_.table, queue_, {}, route_sound_});
    if (open_mixer_)
      window_->SetMixerOpener(open_mixer_);
    host_ = std::make_unique<HeadlessWindowHost>(window_.get());
    host_->set_work_area({0, 30, 1280, 770});
    window_->Start(*host_, command_line);
    Drain();
  }
  void Drain() {
    queue_.Drain([this](const Message& m) {
      if (m.id == kMsgDeviceNotice)
        ++notices_;
      window_->HandleMessage(m);
    });
  }
  void Post(int64_t command) {
    queue_.Post(CommandMessage(command));
    Drain();
  }
  void Fire(PlayerTimer timer) {
    const TimerSpec spec = SpecOf(timer);
    HeadlessWindowHost* host = spec.on_track_box ? Tracks() : host_.get();
    host->FireTimer(spec.id);
    Drain();
  }
  void Poll() { Fire(PlayerTimer::kDrivePoll); }
  void Tick() { Fire(PlayerTimer::kPlaybackTick); }
  // Moves the drive's clock on and waits until the end-of-play notice this
  // causes has been handled: the watcher thread posts it.
  ::testing::AssertionResult PlayToEnd(int seconds) {
    const int before = notices_;
    cd_.Advance(seconds);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (notices_ == before) {
      if (std::chrono::steady_clock::now() > deadline)
        return ::testing::AssertionFailure() << "no end-of-play notice";
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
      Drain();
    }
    return ::testing::AssertionSuccess();
  }
  // Stores the disc in the drive as "rock/<id>" with a title, the first
  // track's title and a saved play order.
  void StoreEntry(const std::string& play_order) {
    CdState probe(cd_.table, cd_.index, true);
    ASSERT_EQ(probe.OpenDisc(), kResultOk);
    probe.disc().SetCategory("rock");
    probe.disc().SetDiscTitle("Some Artist / Some Album");
    probe.disc().SetTrackTitle(0, "Opening");
    std::string text = BuildNewEntryText(probe.disc(), false);
    ASSERT_TRUE(SetEntryValue("PLAYORDER=", play_order, text));
    const std::string id = DiscIdText(ComputeCddbDiscId(probe.disc().Timing()));
    ASSERT_EQ(DbAddEntry(home_.File("ZCD.zdb"), EntryKey("rock", id), text), 1);
  }
  std::optional<std::string> StoredPlayOrder() {
    const auto stored = DbFindEntry(home_.File("ZCD.zdb"), "rock/");
    return stored ? GetEntryValue("PLAYORDER=", *stored) : std::nullopt;
  }
  // Starts the drive playing from track as another program would have.
  void PlayElsewhere(int track, int seconds_in) {
    cd_.drive->Open(true)->Play(track, std::nullopt, false);
    cd_.Advance(seconds_in);
  }
  // Whether `rect` of the window shows nothing but the layout's background.
  bool ShowsBody(const Rect& rect, SkinFile background = SkinFile::kBody) {
    const Surface& surface = window_->surface();
    const Bitmap& body = window_->skin()[background];
    std::lock_guard lock(surface.lock());
    for (int y = rect.y; y < rect.y + rect.h; ++y)
      for (int x = rect.x; x < rect.x + rect.w; ++x)
        if (surface.At(x, y) != body.At(x, y))
          return false;
    return true;
  }
  CdState& Cd() { return *window_->cd_state(); }
  PlayOrderList& Order() { return *window_->play_order(); }
  HeadlessWindowHost* Tracks() { return host_->children()[1]; }
  HeadlessWindowHost* Child(WindowId id) {
    return static_cast<HeadlessWindowHost*>(window_->child_host(id));
  }
  int Current() { return window_->monitor().current_entry().value_or(-1); }

  test::TempDir home_;
  Settings settings_;
  test::VirtualCdFixture cd_;
  MessageQueue queue_;
  int notices_ = 0;
  // The host outlives the window and the child hosts it made.
  std::unique_ptr<HeadlessWindowHost> host_;
  std::unique_ptr<MainWindow> window_;
  std::function<void(bool)> route_sound_;
  MainWindow::MixerOpener open_mixer_;
};

}  // namespace zcd::test
