#pragma once

#include <deque>
#include <functional>
#include <mutex>

#include "base/message.h"

namespace zcd {

// The process's posted messages, drained in order on the window thread.
class MessageQueue {
 public:
  // Called after every post, from the posting thread, so the window thread's
  // event loop can be woken.
  void SetWakeup(std::function<void()> wakeup);

  // Any thread.
  void Post(const Message& message);

  // Window thread: hands every message queued so far to the handler,
  // including ones the handler posts itself. Returns how many were handled.
  int Drain(const std::function<void(const Message&)>& handler);

  // Any thread.
  bool Empty() const;

 private:
  mutable std::mutex lock_;
  std::deque<Message> messages_;
  std::function<void()> wakeup_;
};

}  // namespace zcd
