#pragma once

#include <functional>
#include <memory>
#include <mutex>
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

// A folder for runtime files that only this user may enter: runtime_dir
// ($XDG_RUNTIME_DIR) when it is one, else a folder of our own under /tmp,
// made when missing. Empty with error set when no safe place exists.
std::string PrivateRuntimeFolder(const std::optional<std::string>& runtime_dir, std::string* error);

// Where the socket lives, in the private runtime folder.
std::string InstanceSocketPath(const std::string& data_dir,
                               const std::optional<std::string>& runtime_dir, std::string* error);

class InstanceServer;

// What one start became. Starts claim under a lock kept beside the socket,
// so of any number of simultaneous starts exactly one becomes the player.
struct InstanceClaim {
  enum class Outcome {
    kForwarded,  // the running player took every message: this start is done
    kPlayer,     // nobody answered: this start is the player
    kFailed,     // a player is there but did not take the messages
  };
  Outcome outcome = Outcome::kPlayer;
  // The player's listening end; none when this start is the player but
  // others cannot reach it (error says why).
  std::unique_ptr<InstanceServer> server;
  std::string error;
};

// Hands messages to the player listening at socket_path, or, when nobody
// answers there, replaces whatever was left at the path and listens.
InstanceClaim ClaimInstance(const std::string& socket_path, const std::vector<Message>& messages);

// The running player's end. It serves from the moment it listens, before
// the player's window exists, and holds what arrives until DeliverTo.
class InstanceServer {
 public:
  ~InstanceServer();
  InstanceServer(const InstanceServer&) = delete;
  InstanceServer& operator=(const InstanceServer&) = delete;

  // Any thread. Hands over the messages held so far, then each later one on
  // the server's own thread. deliver must be thread-safe (posting to the
  // message queue is) and is called under the server's lock.
  void DeliverTo(std::function<void(const Message&)> deliver);

  // Only Listen, inside a claim, can make the key.
  class Key {
    friend class InstanceServer;
    Key() = default;
  };
  InstanceServer(Key, std::string path, UniqueFd listen_fd, UniqueFd stop_fd);

 private:
  friend InstanceClaim ClaimInstance(const std::string&, const std::vector<Message>&);
  // Only under the claim lock, after nobody answered at path.
  static std::unique_ptr<InstanceServer> Listen(const std::string& path, std::string* error);

  void Run();
  void Serve(int client_fd);
  void Take(const Message& message);

  std::string path_;
  UniqueFd listen_fd_;
  UniqueFd stop_fd_;
  std::mutex lock_;
  std::vector<Message> held_;
  std::function<void(const Message&)> deliver_;
  std::thread thread_;
};

// The wire form of a batch of messages, and its strict reading: anything the
// player would not accept from outside is dropped.
std::string EncodeMessages(const std::vector<Message>& messages);
std::vector<Message> DecodeMessages(const std::string& text);

}  // namespace zcd
