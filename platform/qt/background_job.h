#pragma once

#include <QObject>
#include <atomic>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

namespace zcd {

// Work that would stall the window (a walk over a million discs, a file
// rewrite) runs on a thread of its own; what it reports comes back on the
// window thread. One piece of work at a time. Destroying the job asks the
// work to stop, answers its pending question with the "stopped" answer and
// joins it, so a window may go while its work runs.
//
// Start, Stop and running: window thread. stop_requested, Post and Ask: the
// work's thread.
class BackgroundJob : public QObject {
 public:
  explicit BackgroundJob(QObject* parent = nullptr) : QObject(parent) {}
  ~BackgroundJob() override { Stop(); }
  BackgroundJob(const BackgroundJob&) = delete;
  BackgroundJob& operator=(const BackgroundJob&) = delete;

  // Runs work on its thread, then done on the window thread; a job started
  // while another runs stops that one first (its done is not called).
  void Start(std::function<void(BackgroundJob& job)> work, std::function<void()> done);
  // Asks the work to stop and waits for it; its done is not called.
  void Stop();
  bool running() const { return thread_.joinable(); }

  const std::atomic<bool>& stop_requested() const { return stop_; }
  // Runs call on the window thread later, unless the job is stopped first.
  void Post(std::function<void()> call);
  // Runs ask on the window thread and waits for its answer; if_stopped when
  // the job is stopped before the window thread answers.
  template <typename T>
  T Ask(std::function<T()> ask, T if_stopped) {
    std::optional<T> answer;
    const bool answered = AskAndWait([&] { answer = ask(); });
    return answered && answer ? *answer : if_stopped;
  }

 private:
  bool AskAndWait(std::function<void()> call);

  std::thread thread_;
  std::atomic<bool> stop_{false};
  // Bumped by every Start and Stop, so a finished work's done that arrives
  // after a later Start is dropped.
  std::atomic<int> generation_{0};
  std::mutex mutex_;
  std::condition_variable answered_;
  int pending_answers_ = 0;
};

}  // namespace zcd
