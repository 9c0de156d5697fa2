#include "cd/completion_watcher.h"

namespace zcd {

CompletionWatcher::CompletionWatcher(CdDevice& device, std::function<void()> on_complete,
                                     std::chrono::milliseconds interval)
    : device_(device),
      on_complete_(std::move(on_complete)),
      interval_(interval),
      thread_([this](std::stop_token stop) { Run(stop); }) {}

// The stop request wakes the wait at once, so the join below is quick.
CompletionWatcher::~CompletionWatcher() {
  thread_.request_stop();
  thread_.join();
}

void CompletionWatcher::Run(std::stop_token stop) {
  std::unique_lock lock(lock_);
  while (true) {
    wake_.wait_for(lock, stop, interval_, [] { return false; });
    if (stop.stop_requested())
      return;
    lock.unlock();
    if (device_.TakeCompletion() && on_complete_)
      on_complete_();
    lock.lock();
  }
}

}  // namespace zcd
