#include "cddb/host_lookup.h"

#include <sys/eventfd.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <system_error>
#include <thread>
#include <utility>

#include "base/unique_fd.h"

namespace zcd {

struct HostLookup::State {
  UniqueFd ready{eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)};
  std::atomic<bool> done = false;
  addrinfo* found = nullptr;  // the resolver's until done

  ~State() {
    if (found != nullptr)
      freeaddrinfo(found);
  }
  void Finish() {
    done.store(true, std::memory_order_release);
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(ready.get(), &one, sizeof one);
  }
};

HostLookup::HostLookup(const std::string& host, int port) : state_(std::make_shared<State>()) {
  auto resolve = [state = state_, host, port = std::to_string(port)] {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    hints.ai_flags = AI_NUMERICSERV;
    if (getaddrinfo(host.c_str(), port.c_str(), &hints, &state->found) != 0)
      state->found = nullptr;
    state->Finish();
  };
  try {
    // Detached: it holds its own state, and a worker that gave up on it
    // must not wait for it.
    std::thread(std::move(resolve)).detach();
  } catch (const std::system_error&) {
    state_->Finish();  // no thread to be had: the name did not resolve
  }
}

HostLookup::~HostLookup() = default;

int HostLookup::ready_fd() const {
  return state_->ready.get();
}

AddressList HostLookup::Take() {
  if (!state_->done.load(std::memory_order_acquire))
    return nullptr;
  return AddressList(std::exchange(state_->found, nullptr));
}

}  // namespace zcd
