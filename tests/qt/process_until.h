#pragma once

#include <QCoreApplication>
#include <chrono>
#include <functional>
#include <thread>

namespace zcd::test {

// Runs the event loop until `done` holds; false when it still does not at the deadline.
inline bool ProcessUntil(const std::function<bool()>& done,
                         std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline)
      return done();
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace zcd::test
