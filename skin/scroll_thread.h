#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "skin/text_display.h"

namespace zcd {

// Ticks one text line of the display until destroyed. The display must
// outlive it.
class ScrollThread {
 public:
  static constexpr std::chrono::milliseconds kTickInterval{40};

  ScrollThread(TextDisplay& display, TextLine line);
  // Wakes the thread from its sleep and joins it.
  ~ScrollThread();
  ScrollThread(const ScrollThread&) = delete;
  ScrollThread& operator=(const ScrollThread&) = delete;

 private:
  void Run();

  TextDisplay& display_;
  const TextLine line_;
  std::mutex mutex_;
  std::condition_variable wake_;
  bool stopping_ = false;
  std::thread thread_;  // last: starts after the members it uses exist
};

}  // namespace zcd
