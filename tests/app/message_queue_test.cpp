#include "app/message_queue.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace zcd {
namespace {

TEST(MessageQueueTest, PostsFromManyThreadsArriveOnceAndInTheirOrder) {
  MessageQueue queue;
  std::atomic<int> wakeups = 0;
  queue.SetWakeup([&] { ++wakeups; });
  constexpr int kThreads = 4;
  constexpr int kEach = 2000;
  std::vector<std::thread> posters;
  for (int t = 0; t < kThreads; ++t) {
    posters.emplace_back([&queue, t] {
      for (int i = 0; i < kEach; ++i)
        queue.Post({WindowId::kMain, kMsgCommand, t, i});
    });
  }
  std::vector<int> next(kThreads, 0);
  int out_of_order = 0;
  int handled = 0;
  auto check = [&](const Message& m) {
    if (m.lparam != next[m.wparam])
      ++out_of_order;
    next[m.wparam] = static_cast<int>(m.lparam) + 1;
    ++handled;
  };
  while (handled < kThreads * kEach)
    queue.Drain(check);
  for (auto& poster : posters)
    poster.join();
  EXPECT_EQ(out_of_order, 0);
  EXPECT_EQ(handled, kThreads * kEach);
  EXPECT_EQ(wakeups, kThreads * kEach);
  EXPECT_TRUE(queue.Empty());
}

TEST(MessageQueueTest, MessagesPostedWhileDrainingAreHandledInTheSameDrain) {
  MessageQueue queue;
  queue.Post(CommandMessage(1));
  std::vector<int64_t> seen;
  const int handled = queue.Drain([&](const Message& m) {
    seen.push_back(m.wparam);
    if (m.wparam < 3)
      queue.Post(CommandMessage(m.wparam + 1));
  });
  EXPECT_EQ(handled, 3);
  EXPECT_EQ(seen, (std::vector<int64_t>{1, 2, 3}));
}

}  // namespace
}  // namespace zcd
