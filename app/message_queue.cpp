#include "app/message_queue.h"

namespace zcd {

void MessageQueue::SetWakeup(std::function<void()> wakeup) {
  std::lock_guard guard(lock_);
  wakeup_ = std::move(wakeup);
}

void MessageQueue::Post(const Message& message) {
  std::function<void()> wakeup;
  {
    std::lock_guard guard(lock_);
    messages_.push_back(message);
    wakeup = wakeup_;
  }
  // Outside the lock: the wakeup may run the drain right away.
  if (wakeup)
    wakeup();
}

int MessageQueue::Drain(const std::function<void(const Message&)>& handler) {
  int handled = 0;
  for (;;) {
    Message message;
    {
      std::lock_guard guard(lock_);
      if (messages_.empty())
        return handled;
      message = messages_.front();
      messages_.pop_front();
    }
    handler(message);
    ++handled;
  }
}

bool MessageQueue::Empty() const {
  std::lock_guard guard(lock_);
  return messages_.empty();
}

}  // namespace zcd
