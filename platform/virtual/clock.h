#pragma once

#include <chrono>
#include <mutex>

namespace zcd {

// The time source of the virtual drive, so tests can move playback forward
// without waiting.
class Clock {
 public:
  using Duration = std::chrono::steady_clock::duration;
  using TimePoint = std::chrono::steady_clock::time_point;

  virtual ~Clock() = default;
  // Any thread.
  virtual TimePoint Now() const = 0;
};

class SteadyClock : public Clock {
 public:
  TimePoint Now() const override { return std::chrono::steady_clock::now(); }
};

// Stands still until a test advances it. Any thread.
class ManualClock : public Clock {
 public:
  TimePoint Now() const override {
    std::lock_guard guard(lock_);
    return now_;
  }
  void Advance(Duration step) {
    std::lock_guard guard(lock_);
    now_ += step;
  }

 private:
  mutable std::mutex lock_;
  TimePoint now_{};
};

}  // namespace zcd
