#include "audio/wake_fd.h"

#include <poll.h>
#include <sys/eventfd.h>

#include <cstdint>

namespace zcd {

WakeFd::WakeFd() : fd_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

void WakeFd::Signal() {
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(fd_.get(), &one, sizeof one);
}

void WakeFd::Drain() {
  uint64_t count = 0;
  [[maybe_unused]] const ssize_t got = read(fd_.get(), &count, sizeof count);
}

void WakeFd::Wait(int timeout_ms) {
  pollfd entry{fd_.get(), POLLIN, 0};
  poll(&entry, 1, timeout_ms);
}

}  // namespace zcd
