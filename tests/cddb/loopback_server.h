#pragma once

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <thread>

#include "base/unique_fd.h"

namespace zcd::test {

// The server's end of one accepted connection. Every wait also ends when
// the server is torn down.
class ServerPeer {
 public:
  ServerPeer(int fd, int stop_fd) : fd_(fd), stop_fd_(stop_fd) {}

  void Send(std::string_view bytes) {
    while (!bytes.empty()) {
      const ssize_t sent = send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL);
      if (sent <= 0)
        return;
      bytes.remove_prefix(static_cast<size_t>(sent));
    }
  }

  // Everything the client sends until it closes; false in closed_in_time
  // when patience ran out first.
  std::string ReadUntilClosed(std::chrono::milliseconds patience, bool* closed_in_time = nullptr) {
    std::string data;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    bool closed = false;
    while (!closed && Readable(deadline)) {
      char buffer[4096];
      const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
      closed = got <= 0;
      if (got > 0)
        data.append(buffer, static_cast<size_t>(got));
    }
    if (closed_in_time)
      *closed_in_time = closed;
    return data;
  }

  // Reads `count` bytes, fewer when the client closes or patience runs out.
  std::string ReadCount(size_t count, std::chrono::milliseconds patience) {
    std::string data;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (data.size() < count && Readable(deadline)) {
      char buffer[4096];
      const ssize_t got = recv(fd_, buffer, std::min(sizeof buffer, count - data.size()), 0);
      if (got <= 0)
        break;
      data.append(buffer, static_cast<size_t>(got));
    }
    return data;
  }

  // Reads until the data received ends with `end`.
  std::string ReadUntil(std::string_view end, std::chrono::milliseconds patience) {
    std::string data;
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!data.ends_with(end) && Readable(deadline)) {
      char c;
      if (recv(fd_, &c, 1, 0) != 1)
        break;
      data += c;
    }
    return data;
  }

 private:
  bool Readable(std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd items[2] = {{fd_, POLLIN, 0}, {stop_fd_, POLLIN, 0}};
    return left.count() > 0 && poll(items, 2, static_cast<int>(left.count())) > 0 &&
           items[1].revents == 0;
  }

  int fd_;
  int stop_fd_;
};

// A TCP server on the loopback address at a free port. It serves the
// connections one after another on a thread of its own, running the script
// on each; the connection closes when the script returns.
class LoopbackServer {
 public:
  using Script = std::function<void(ServerPeer&)>;

  explicit LoopbackServer(Script script, bool ipv6 = false)
      : script_(std::move(script)), stop_(eventfd(0, EFD_CLOEXEC)) {
    listen_ = UniqueFd(socket(ipv6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_storage address{};
    socklen_t size = 0;
    if (ipv6) {
      auto& in6 = reinterpret_cast<sockaddr_in6&>(address);
      in6.sin6_family = AF_INET6;
      in6.sin6_addr = in6addr_loopback;
      size = sizeof in6;
    } else {
      auto& in4 = reinterpret_cast<sockaddr_in&>(address);
      in4.sin_family = AF_INET;
      in4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
      size = sizeof in4;
    }
    auto* raw = reinterpret_cast<sockaddr*>(&address);
    if (bind(listen_.get(), raw, size) != 0 || listen(listen_.get(), 8) != 0 ||
        getsockname(listen_.get(), raw, &size) != 0) {
      listen_.Close();
      return;
    }
    port_ = ntohs(ipv6 ? reinterpret_cast<sockaddr_in6&>(address).sin6_port
                       : reinterpret_cast<sockaddr_in&>(address).sin_port);
    thread_ = std::thread([this] { Run(); });
  }

  ~LoopbackServer() {
    const uint64_t one = 1;
    [[maybe_unused]] ssize_t written = write(stop_.get(), &one, sizeof one);
    if (thread_.joinable())
      thread_.join();
  }

  bool ok() const { return listen_.valid(); }
  int port() const { return port_; }
  // Any thread: connections whose script has started.
  int accepted() const { return accepted_; }
  // Any thread: connections whose script has returned.
  int finished() const { return finished_; }

 private:
  void Run() {
    while (true) {
      pollfd items[2] = {{listen_.get(), POLLIN, 0}, {stop_.get(), POLLIN, 0}};
      if (poll(items, 2, -1) <= 0 || items[1].revents != 0)
        return;
      UniqueFd client(accept4(listen_.get(), nullptr, nullptr, SOCK_CLOEXEC));
      if (!client.valid())
        continue;
      const int on = 1;
      setsockopt(client.get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
      ++accepted_;
      ServerPeer peer(client.get(), stop_.get());
      script_(peer);
      ++finished_;
    }
  }

  Script script_;
  UniqueFd stop_;
  UniqueFd listen_;
  int port_ = 0;
  std::atomic<int> accepted_ = 0;
  std::atomic<int> finished_ = 0;
  std::thread thread_;
};

}  // namespace zcd::test
