#include "platform/qt/background_job.h"

#include <QMetaObject>

namespace zcd {

void BackgroundJob::Start(std::function<void(BackgroundJob& job)> work,
                          std::function<void()> done) {
  Stop();
  stop_ = false;
  const int generation = ++generation_;
  thread_ = std::thread([this, generation, work = std::move(work), done = std::move(done)] {
    work(*this);
    // Queued to this object: dropped by Qt if the job goes first.
    QMetaObject::invokeMethod(
        this,
        [this, generation, done] {
          if (generation != generation_)
            return;
          if (thread_.joinable())
            thread_.join();
          if (done)
            done();
        },
        Qt::QueuedConnection);
  });
}

void BackgroundJob::Stop() {
  ++generation_;
  {
    const std::lock_guard lock(mutex_);
    stop_ = true;
  }
  answered_.notify_all();
  if (thread_.joinable())
    thread_.join();
}

void BackgroundJob::Post(std::function<void()> call) {
  const int generation = generation_;
  QMetaObject::invokeMethod(
      this,
      [this, generation, call = std::move(call)] {
        if (generation == generation_)
          call();
      },
      Qt::QueuedConnection);
}

// The worker does not use a blocking queued call: the window thread may be
// joining it, and would then never answer.
bool BackgroundJob::AskAndWait(std::function<void()> call) {
  std::unique_lock lock(mutex_);
  if (stop_)
    return false;
  bool done = false;
  const int generation = generation_;
  QMetaObject::invokeMethod(
      this,
      [this, generation, &call, &done] {
        if (generation != generation_)
          return;
        call();
        const std::lock_guard answer_lock(mutex_);
        done = true;
        answered_.notify_all();
      },
      Qt::QueuedConnection);
  answered_.wait(lock, [&] { return done || stop_; });
  return done;
}

}  // namespace zcd
