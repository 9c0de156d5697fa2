#pragma once

#include <netdb.h>

#include <memory>
#include <string>

namespace zcd {

struct AddressListFree {
  void operator()(addrinfo* list) const { freeaddrinfo(list); }
};
using AddressList = std::unique_ptr<addrinfo, AddressListFree>;

// A name lookup (IPv4 and IPv6, numeric port) on a thread of its own, so
// that the worker waiting for it can give up at once on a stop or a
// time-out. getaddrinfo cannot be interrupted: a lookup given up on
// finishes by itself, touching nothing but its own state.
class HostLookup {
 public:
  HostLookup(const std::string& host, int port);
  ~HostLookup();
  HostLookup(const HostLookup&) = delete;
  HostLookup& operator=(const HostLookup&) = delete;

  // Readable once the lookup is done.
  int ready_fd() const;
  // Once ready: the addresses, null when the name did not resolve.
  AddressList Take();

 private:
  struct State;
  std::shared_ptr<State> state_;
};

}  // namespace zcd
