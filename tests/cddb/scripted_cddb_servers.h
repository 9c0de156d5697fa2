#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <vector>

#include "cddb/loopback_server.h"

namespace zcd::test {

// A CDDBP server that greets, answers the hello, then answers each command
// line in turn with the next reply; keeps everything the client sent.
class ScriptedCddbpServer {
 public:
  explicit ScriptedCddbpServer(std::vector<std::string> replies, bool ipv6 = false)
      : replies_(std::move(replies)), ipv6_(ipv6) {}
  std::string received() const {
    std::lock_guard hold(lock_);
    return received_;
  }
  LoopbackServer& server() { return server_; }

 private:
  void Keep(const std::string& bytes) {
    std::lock_guard hold(lock_);
    received_ += bytes;
  }
  void Serve(ServerPeer& peer) {
    using namespace std::chrono_literals;
    peer.Send("201 test server ready\r\n");
    Keep(peer.ReadUntil("\n", 5s));
    peer.Send("200 Hello and welcome\r\n");
    for (const std::string& reply : replies_) {
      const std::string line = peer.ReadUntil("\r\n", 5s);
      Keep(line);
      if (line.empty())
        return;
      peer.Send(reply);
    }
    Keep(peer.ReadUntilClosed(5s));
  }

  std::vector<std::string> replies_;
  bool ipv6_;
  mutable std::mutex lock_;
  std::string received_;
  LoopbackServer server_{[this](ServerPeer& peer) { Serve(peer); }, ipv6_};
};

// An HTTP server (or a proxy in front of one) that answers the request of
// each connection with the next body, and keeps the requests.
class ScriptedHttpServer {
 public:
  explicit ScriptedHttpServer(std::vector<std::string> bodies) : bodies_(std::move(bodies)) {}
  std::vector<std::string> requests() const {
    std::lock_guard hold(lock_);
    return requests_;
  }
  LoopbackServer& server() { return server_; }

 private:
  std::vector<std::string> bodies_;
  mutable std::mutex lock_;
  std::vector<std::string> requests_;
  LoopbackServer server_{[this](ServerPeer& peer) {
    using namespace std::chrono_literals;
    const std::string request = peer.ReadUntil("\r\n\r\n", 5s);
    size_t index = 0;
    {
      std::lock_guard hold(lock_);
      requests_.push_back(request);
      index = requests_.size() - 1;
    }
    if (index < bodies_.size())
      peer.Send("HTTP/1.0 200 OK\r\nContent-Type: text/plain\r\n\r\n" + bodies_[index]);
  }};
};

}  // namespace zcd::test
