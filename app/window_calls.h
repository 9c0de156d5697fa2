#pragma once

#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "app/message_queue.h"

namespace zcd {

// Workers' calls into the window thread: each is posted as a numbered
// message and run when the window thread drains it. A worker waiting for an
// answer is let go at once when the player ends, so the window thread can
// join it without ever waiting for itself.
class WindowCalls {
 public:
  explicit WindowCalls(MessageQueue& queue) : queue_(queue) {}

  // Worker thread. Runs `ask` on the window thread and waits for its
  // answer; none once Cancel was called, waiting or not.
  template <typename T>
  std::optional<T> Ask(std::function<T()> ask) {
    // Shared with the call: the window thread may still be inside it after
    // the worker was let go.
    auto answer = std::make_shared<std::optional<T>>();
    if (!Wait([answer, ask = std::move(ask)] { *answer = ask(); }))
      return std::nullopt;
    return *answer;
  }

  // Any thread. Runs `call` on the window thread later, unless cancelled.
  void Post(std::function<void()> call);

  // Window thread: the call posted under this number, if it is still wanted.
  void Run(int64_t id);

  // Any thread. Lets every waiting worker go and refuses later calls.
  void Cancel();

 private:
  struct Pending {
    std::function<void()> call;
    bool done = false;
  };

  // False when cancelled before the call finished.
  bool Wait(std::function<void()> call);
  std::shared_ptr<Pending> Enqueue(std::function<void()> call);

  MessageQueue& queue_;
  std::mutex lock_;
  std::condition_variable finished_;
  std::map<int64_t, std::shared_ptr<Pending>> pending_;
  int64_t next_id_ = 0;
  bool cancelled_ = false;
};

}  // namespace zcd
