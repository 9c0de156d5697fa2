#include "skin/scroll_thread.h"

namespace zcd {

ScrollThread::ScrollThread(TextDisplay& display, TextLine line)
    : display_(display), line_(line), thread_([this] { Run(); }) {}

ScrollThread::~ScrollThread() {
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
    // The tick takes the line's guard; holding our own mutex across it would
    // only delay the destructor's stop request.
    lock.unlock();
    display_.Tick(line_);
    lock.lock();
    wake_.wait_for(lock, kTickInterval, [this] { return stopping_; });
  }
}

}  // namespace zcd
