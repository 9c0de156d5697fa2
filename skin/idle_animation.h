#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "base/surface.h"
#include "base/window_host.h"

namespace zcd {

// The sprite of "zgraphic.bmp" bouncing through the empty track-box area
// while no disc is in the drive, drawn by a thread of its own.
class IdleAnimation {
 public:
  static constexpr std::chrono::milliseconds kFrameInterval{50};

  // Draws into `surface` (the main window's, full mode) and asks `host` to
  // present it. Both must outlive this object.
  IdleAnimation(Surface& surface, WindowHost& host) : surface_(surface), host_(host) {}
  ~IdleAnimation() { Stop(); }
  IdleAnimation(const IdleAnimation&) = delete;
  IdleAnimation& operator=(const IdleAnimation&) = delete;

  // Window thread. Starts the animation unless it runs; the thread loads the
  // sprite and its background from the skin itself.
  void Start(const std::string& skin_folder, const std::string& skin_name);
  // Window thread. Ends the animation and waits for its thread, so nothing
  // is drawn once this returns.
  void Stop();
  bool running() const { return running_.load(); }
  // Frames drawn since construction; tests watch it.
  long frames() const { return frames_.load(); }

 private:
  void Run(std::string skin_folder, std::string skin_name);

  Surface& surface_;
  WindowHost& host_;
  std::atomic<bool> running_ = false;
  std::atomic<long> frames_ = 0;
  std::mutex mutex_;
  std::condition_variable wake_;
  std::thread thread_;
};

}  // namespace zcd
