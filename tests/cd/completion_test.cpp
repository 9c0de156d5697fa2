#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <mutex>

#include "cd/cd_state.h"
#include "cd/completion_watcher.h"
#include "cd/vector_play_order.h"
#include "cd/virtual_cd_fixture.h"

namespace zcd {
namespace {

// Counts calls from the watcher thread and lets the test wait for one.
class CallCounter {
 public:
  void Call() {
    std::lock_guard guard(lock_);
    ++calls_;
    changed_.notify_all();
  }
  int Count() {
    std::lock_guard guard(lock_);
    return calls_;
  }
  bool WaitFor(int calls) {
    std::unique_lock lock(lock_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [&] { return calls_ >= calls; });
  }

 private:
  std::mutex lock_;
  std::condition_variable changed_;
  int calls_ = 0;
};

TEST(CompletionTest, ANotifyingPlayReportsItsEndOnce) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60, 60}));
  auto device = fixture.drive->Open(true);
  ASSERT_TRUE(device->Play(1, 2, true));
  fixture.Advance(59);
  EXPECT_FALSE(device->TakeCompletion());
  fixture.Advance(2);
  EXPECT_TRUE(device->TakeCompletion());
  EXPECT_FALSE(device->TakeCompletion());
  EXPECT_EQ(device->Mode(), DeviceMode::kStopped);
  EXPECT_EQ(device->Position(), (TrackPosition{2, 0, 0, 0}));
}

TEST(CompletionTest, PausingDelaysTheEnd) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60, 60}));
  auto device = fixture.drive->Open(true);
  ASSERT_TRUE(device->Play(2, std::nullopt, true));
  fixture.Advance(30);
  ASSERT_TRUE(device->Pause());
  fixture.Advance(100);
  EXPECT_FALSE(device->TakeCompletion());
  ASSERT_TRUE(device->Resume());
  fixture.Advance(31);
  EXPECT_TRUE(device->TakeCompletion());
}

TEST(CompletionTest, NoReportForPlaysThatDidNotRunToTheirEnd) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60, 60, 60}));
  auto device = fixture.drive->Open(true);

  ASSERT_TRUE(device->Play(1, std::nullopt, false));
  fixture.Advance(200);
  EXPECT_FALSE(device->TakeCompletion());

  ASSERT_TRUE(device->Play(1, 2, true));
  ASSERT_TRUE(device->Stop());
  fixture.Advance(100);
  EXPECT_FALSE(device->TakeCompletion());

  ASSERT_TRUE(device->Play(1, 2, true));
  ASSERT_TRUE(device->SetDoor(true));
  EXPECT_FALSE(device->TakeCompletion());
  ASSERT_TRUE(device->SetDoor(false));

  // The first play is superseded; only the second one reports.
  ASSERT_TRUE(device->Play(1, 2, true));
  fixture.Advance(10);
  ASSERT_TRUE(device->Play(3, std::nullopt, true));
  fixture.Advance(55);
  EXPECT_FALSE(device->TakeCompletion());
  fixture.Advance(5);
  EXPECT_TRUE(device->TakeCompletion());
}

TEST(CompletionTest, OnlyTheHandleThatPlayedIsTold) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60}));
  auto player = fixture.drive->Open(true);
  auto onlooker = fixture.drive->Open(true);
  ASSERT_TRUE(player->Play(1, std::nullopt, true));
  fixture.Advance(61);
  EXPECT_FALSE(onlooker->TakeCompletion());
  EXPECT_TRUE(player->TakeCompletion());

  ASSERT_TRUE(player->Play(1, std::nullopt, true));
  player.reset();
  fixture.Advance(61);
  EXPECT_FALSE(onlooker->TakeCompletion());
}

TEST(CompletionTest, CdStateWatcherDeliversTheEndOfARun) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60, 60, 60}));
  CallCounter ends;
  CdState state(fixture.table, fixture.index, true, [&] { ends.Call(); });
  ASSERT_EQ(state.OpenDisc(), kResultOk);
  test::VectorPlayOrder order({{1, false}, {2, false}, {3, false}}, 3);
  state.SetPlayOrder(&order);
  ASSERT_EQ(state.PlayFrom(1), kResultOk);
  fixture.Advance(121);
  EXPECT_TRUE(ends.WaitFor(1));
}

TEST(CompletionTest, WatcherStopsWithoutWaitingOutItsInterval) {
  test::VirtualCdFixture fixture(MakeAudioDisc({60}));
  auto device = fixture.drive->Open(true);
  ASSERT_TRUE(device->Play(1, std::nullopt, true));
  fixture.Advance(61);
  CallCounter ends;
  {
    // An hour-long interval would hold up the test if the stop did not wake it.
    CompletionWatcher watcher(
        *device, [&] { ends.Call(); }, std::chrono::hours(1));
  }
  EXPECT_EQ(ends.Count(), 0);
  EXPECT_TRUE(device->TakeCompletion());
}

}  // namespace
}  // namespace zcd
