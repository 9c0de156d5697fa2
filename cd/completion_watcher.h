#pragma once

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

#include "cd/cd_device.h"

namespace zcd {

// Polls a device for the end of a notifying play and calls back from its own
// thread. The device must outlive the watcher; destroying the watcher stops
// the thread without waiting out the interval.
class CompletionWatcher {
 public:
  static constexpr std::chrono::milliseconds kDefaultInterval{100};

  CompletionWatcher(CdDevice& device, std::function<void()> on_complete,
                    std::chrono::milliseconds interval = kDefaultInterval);
  ~CompletionWatcher();
  CompletionWatcher(const CompletionWatcher&) = delete;
  CompletionWatcher& operator=(const CompletionWatcher&) = delete;

 private:
  void Run(std::stop_token stop);

  CdDevice& device_;
  std::function<void()> on_complete_;
  std::chrono::milliseconds interval_;
  std::mutex lock_;
  std::condition_variable_any wake_;
  std::jthread thread_;  // last: starts after everything it uses exists
};

}  // namespace zcd
