#pragma once

#include <chrono>
#include <string>
#include <vector>

#include "cddb/loopback_server.h"

namespace zcd::test {

// A mail server's part of one dialogue: its greeting, then one reply per
// command received.
struct MailScript {
  std::string greeting;
  std::vector<std::string> replies;
};

// Plays `script` to one client: greets, then answers each command with the
// next reply; after a 354 it takes the mail data up to its "." line as one
// command. Returns what the client sent, command by command, then whatever
// came until it hung up. Gives up on a client that keeps it waiting longer
// than `patience`.
inline std::vector<std::string> ServeMail(ServerPeer& peer, const MailScript& script,
                                          std::chrono::milliseconds patience) {
  std::vector<std::string> received;
  peer.Send(script.greeting);
  bool data = false;
  for (const std::string& reply : script.replies) {
    const std::string end = data ? "\r\n.\r\n" : "\r\n";
    received.push_back(peer.ReadUntil(end, patience));
    if (!received.back().ends_with(end))
      return received;
    peer.Send(reply);
    data = reply.starts_with("354");
  }
  received.push_back(peer.ReadUntilClosed(patience));
  return received;
}

// An HTTP server (or proxy) that takes one request with its body and
// answers with `reply`; returns the request.
inline std::string ServeHttpPost(ServerPeer& peer, const std::string& reply) {
  using namespace std::chrono_literals;
  std::string request = peer.ReadUntil("\r\n\r\n", 5s);
  const size_t length = request.find("Content-Length: ");
  if (length != std::string::npos)
    request += peer.ReadCount(std::stoul(request.substr(length + 16)), 5s);
  peer.Send(reply);
  return request;
}

}  // namespace zcd::test
