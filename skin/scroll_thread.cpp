#include "skin/scroll_thread.h"

namespace zcd {

ScrollThread::ScrollThread(TextDisplay& display, TextLine line) : display_(display), line_(line) {
  // Listening before the first tick, so no change can slip in between.
  display_.SetWaker(line_, [this] {
    {
      std::lock_guard lock(mutex_);
      woken_ = true;
    }
    wake_.notify_all();
  });
  thread_ = std::thread([this] { Run(); });
}

ScrollThread::~ScrollThread() {
  display_.SetWaker(line_, nullptr);
  {
    std::lock_guard lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  thread_.join();
}

void ScrollThread::Run() {
  std::unique_lock lock(mutex_);
  while (!stopping_) {
    // A change during the tick sets woken_ again, so it is never missed.
    woken_ = false;
    // The tick takes the line's guard; holding our own mutex across it would
    // only delay the destructor's stop request.
    lock.unlock();
    const bool drew = display_.Tick(line_);
    ticks_.fetch_add(1);
    lock.lock();
    if (drew) {
      wake_.wait_for(lock, kTickInterval, [this] { return stopping_; });
    } else {
      wake_.wait(lock, [this] { return stopping_ || woken_; });
    }
  }
}

}  // namespace zcd
