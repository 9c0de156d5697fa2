#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "skin/text_display.h"

namespace zcd {

// Ticks one text line of the display until destroyed: every 40 ms while
// the line scrolls, and not at all while a tick would draw nothing, until
// the display reports a change. The display must outlive it.
class ScrollThread {
 public:
  static constexpr std::chrono::milliseconds kTickInterval{40};

  ScrollThread(TextDisplay& display, TextLine line);
  // Wakes the thread from its sleep and joins it.
  ~ScrollThread();
  ScrollThread(const ScrollThread&) = delete;
  ScrollThread& operator=(const ScrollThread&) = delete;

  // Ticks run so far; tests watch it.
  long ticks() const { return ticks_.load(); }

 private:
  void Run();

  TextDisplay& display_;
  const TextLine line_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  bool woken_ = false;
  std::atomic<long> ticks_ = 0;
  std::thread thread_;
};

}  // namespace zcd
