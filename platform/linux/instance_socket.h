#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "base/message.h"
#include "base/unique_fd.h"

namespace zcd {

// The per-user socket through which a second start hands its command line
// to the running player. One socket per data folder, so players with
// different homes do not see each other. Qt-free, so a second start needs no
// display.

// Where the socket lives: $XDG_RUNTIME_DIR, else a folder of our own under
// /tmp that only this user may enter. Empty with error set when no safe
// place exists.
std::string InstanceSocketPath(const std::string& data_dir,
                               const std::optional<std::string>& runtime_dir, std::string* error);

enum class ForwardResult {
  kDelivered,   // the running player took every message
  kNoInstance,  // nobody listens: this start is the first
  kFailed,      // a player listens but did not take the messages
};

ForwardResult ForwardMessages(const std::string& socket_path, const std::vector<Message>& messages,
                              std::string* error);

// The running player's end. Messages are handed to deliver on the server's
// own thread; deliver must be thread-safe (posting to the message queue is).
class InstanceServer {
 public:
  static std::unique_ptr<InstanceServer> Listen(const std::string& socket_path,
                                                std::function<void(const Message&)> deliver,
                                                std::string* error);
  ~InstanceServer();
  InstanceServer(const InstanceServer&) = delete;
  InstanceServer& operator=(const InstanceServer&) = delete;

  // Only Listen can make the key.
  class Key {
    friend class InstanceServer;
    Key() = default;
  };
  InstanceServer(Key, std::string path, UniqueFd listen_fd, UniqueFd stop_fd,
                 std::function<void(const Message&)> deliver);

 private:
  void Run();
  void Serve(int client_fd);

  std::string path_;
  UniqueFd listen_fd_;
  UniqueFd stop_fd_;
  std::function<void(const Message&)> deliver_;
  std::thread thread_;
};

// The wire form of a batch of messages, and its strict reading: anything the
// player would not accept from outside is dropped.
std::string EncodeMessages(const std::vector<Message>& messages);
std::vector<Message> DecodeMessages(const std::string& text);

}  // namespace zcd
