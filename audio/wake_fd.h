#pragma once

#include "base/unique_fd.h"

namespace zcd {

// A descriptor that turns readable when signalled, so a thread waiting in
// poll for a device can be woken by another. Any thread.
class WakeFd {
 public:
  WakeFd();
  int fd() const { return fd_.get(); }
  void Signal();
  // Makes it unreadable again; the waiting thread calls it before it looks
  // at what changed, so no signal is lost.
  void Drain();
  // Waits until signalled or timeout_ms pass (-1: no limit).
  void Wait(int timeout_ms);

 private:
  UniqueFd fd_;
};

}  // namespace zcd
