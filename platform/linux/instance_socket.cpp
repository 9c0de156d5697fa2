#include "platform/linux/instance_socket.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "base/command_ids.h"
#include "base/text.h"
#include "base/unique_fd.h"

namespace zcd {
namespace {

constexpr const char* kGreeting = "ZCD1\n";
constexpr const char* kEnd = "END\n";
constexpr const char* kAnswer = "OK\n";
constexpr size_t kMaxRequest = 64 * 1024;
constexpr int kIoTimeoutMs = 5000;

bool FillAddress(const std::string& path, sockaddr_un& address) {
  std::memset(&address, 0, sizeof address);
  address.sun_family = AF_UNIX;
  if (path.size() >= sizeof address.sun_path)
    return false;
  std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
  return true;
}

// A folder only we may enter: ours, a real folder, no group or other bits.
bool IsPrivateFolder(const std::string& path) {
  struct stat info {};
  return lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) && info.st_uid == getuid() &&
         (info.st_mode & 077) == 0;
}

// Waits until fd is ready or, when stop_fd is given (not -1), until the stop
// event fires: a peer that goes quiet must not hold up a player's exit.
bool WaitFor(int fd, short events, int stop_fd) {
  pollfd items[2] = {{fd, events, 0}, {stop_fd, POLLIN, 0}};
  int ready;
  do {
    ready = poll(items, 2, kIoTimeoutMs);
  } while (ready < 0 && errno == EINTR);
  return ready > 0 && items[1].revents == 0 && items[0].revents != 0;
}

bool SendAll(int fd, const std::string& data, int stop_fd) {
  size_t sent = 0;
  while (sent < data.size()) {
    if (!WaitFor(fd, POLLOUT, stop_fd))
      return false;
    const ssize_t n = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    sent += static_cast<size_t>(n);
  }
  return true;
}

// Reads until the text ends with terminator, the peer closes, or a limit hits.
bool ReadUntil(int fd, const std::string& terminator, std::string& text, int stop_fd) {
  char buffer[4096];
  while (text.size() < kMaxRequest) {
    if (text.size() >= terminator.size() &&
        text.compare(text.size() - terminator.size(), terminator.size(), terminator) == 0) {
      return true;
    }
    if (!WaitFor(fd, POLLIN, stop_fd))
      return false;
    const ssize_t n = recv(fd, buffer, sizeof buffer, 0);
    if (n < 0 && errno == EINTR)
      continue;
    if (n <= 0)
      return false;
    text.append(buffer, static_cast<size_t>(n));
  }
  return false;
}

enum class Reached { kPlayer, kNobody, kError };

// Connects to the socket at address. A refused connection or a missing path
// means nobody listens; a player whose backlog stays full for the whole I/O
// time-out is still a player, so that is an error rather than nobody.
Reached Connect(const sockaddr_un& address, UniqueFd& fd, std::string* error) {
  fd = UniqueFd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) {
    *error = std::string("cannot create a socket: ") + std::strerror(errno);
    return Reached::kError;
  }
  const timeval limit{kIoTimeoutMs / 1000, 0};
  setsockopt(fd.get(), SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit);
  int result;
  do {
    result = connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
  } while (result != 0 && errno == EINTR);
  if (result == 0)
    return Reached::kPlayer;
  if (errno == ECONNREFUSED || errno == ENOENT)
    return Reached::kNobody;
  *error = std::string("cannot reach the running player: ") + std::strerror(errno);
  return Reached::kError;
}

// Taken around "is anybody there, else listen", so that two starts cannot
// both find nobody and both listen, the later unlinking the earlier's socket.
// Never removed: a lock file that vanishes under a waiter locks nothing.
UniqueFd LockClaim(const std::string& socket_path, std::string* error) {
  const std::string path = socket_path + ".lock";
  UniqueFd fd(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600));
  int locked = -1;
  if (fd.valid()) {
    do {
      locked = flock(fd.get(), LOCK_EX);
    } while (locked != 0 && errno == EINTR);
  }
  if (locked != 0) {
    *error = "cannot lock " + path + ": " + std::strerror(errno);
    return {};
  }
  return fd;
}

bool Acceptable(const Message& message) {
  const int target = static_cast<int>(message.target);
  if (target < 0 || target > static_cast<int>(WindowId::kVolume))
    return false;
  switch (message.id) {
    case kMsgCommand:
      return message.target == WindowId::kMain;
    case kMsgSysCommand:
      return message.target == WindowId::kMain &&
             (message.wparam == kSysMinimize || message.wparam == kSysRestore);
    case kMsgPlayTrack:
      return message.target == WindowId::kTracks;
    default:
      return false;
  }
}

}  // namespace

std::string PrivateRuntimeFolder(const std::optional<std::string>& runtime_dir,
                                 std::string* error) {
  if (runtime_dir && !runtime_dir->empty() && IsPrivateFolder(*runtime_dir))
    return *runtime_dir;
  const std::string folder = "/tmp/zcd-" + std::to_string(getuid());
  mkdir(folder.c_str(), 0700);
  if (!IsPrivateFolder(folder)) {
    if (error)
      *error = "the folder " + folder + " is not private to this user";
    return {};
  }
  return folder;
}

std::string InstanceSocketPath(const std::string& data_dir,
                               const std::optional<std::string>& runtime_dir, std::string* error) {
  const std::string folder = PrivateRuntimeFolder(runtime_dir, error);
  if (folder.empty())
    return {};
  char name[64];
  std::snprintf(name, sizeof name, "zcd-%016llx.sock",
                static_cast<unsigned long long>(Fnv1a64(data_dir)));
  return folder + "/" + name;
}

std::string EncodeMessages(const std::vector<Message>& messages) {
  std::string text = kGreeting;
  for (const auto& message : messages) {
    char line[96];
    std::snprintf(line, sizeof line, "M %d %u %lld %lld\n", static_cast<int>(message.target),
                  message.id, static_cast<long long>(message.wparam),
                  static_cast<long long>(message.lparam));
    text += line;
  }
  return text + kEnd;
}

std::vector<Message> DecodeMessages(const std::string& text) {
  std::vector<Message> messages;
  if (text.rfind(kGreeting, 0) != 0)
    return messages;
  std::istringstream lines(text.substr(std::strlen(kGreeting)));
  std::string line;
  while (std::getline(lines, line)) {
    if (line == "END")
      break;
    int target = -1;
    unsigned id = 0;
    long long wparam = 0;
    long long lparam = 0;
    char tail = 0;
    if (std::sscanf(line.c_str(), "M %d %u %lld %lld%c", &target, &id, &wparam, &lparam, &tail) !=
        4) {
      continue;
    }
    const Message message{static_cast<WindowId>(target), id, wparam, lparam};
    if (Acceptable(message))
      messages.push_back(message);
  }
  return messages;
}

InstanceClaim ClaimInstance(const std::string& socket_path, const std::vector<Message>& messages) {
  InstanceClaim claim;
  sockaddr_un address;
  if (!FillAddress(socket_path, address)) {
    claim.error = "the socket path " + socket_path + " is too long";
    return claim;
  }
  // Without the lock this start may still reach a running player; it only
  // must not listen.
  UniqueFd lock = LockClaim(socket_path, &claim.error);
  UniqueFd connection;
  std::string connect_error;
  switch (Connect(address, connection, &connect_error)) {
    case Reached::kPlayer: {
      // The player's backlog holds the connection now: let other starts on.
      lock.Close();
      std::string answer;
      if (SendAll(connection.get(), EncodeMessages(messages), -1) &&
          ReadUntil(connection.get(), kAnswer, answer, -1) && answer == kAnswer) {
        claim.outcome = InstanceClaim::Outcome::kForwarded;
      } else {
        claim.outcome = InstanceClaim::Outcome::kFailed;
        claim.error = "the running player did not take the command";
      }
      return claim;
    }
    case Reached::kNobody:
      if (lock.valid())
        claim.server = InstanceServer::Listen(socket_path, &claim.error);
      return claim;
    case Reached::kError:
      break;
  }
  claim.outcome = InstanceClaim::Outcome::kFailed;
  claim.error = connect_error;
  return claim;
}

std::unique_ptr<InstanceServer> InstanceServer::Listen(const std::string& path,
                                                       std::string* error) {
  sockaddr_un address;
  FillAddress(path, address);
  UniqueFd fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0));
  if (!fd.valid()) {
    *error = std::string("cannot create a socket: ") + std::strerror(errno);
    return nullptr;
  }
  // Nobody answered, and the claim lock keeps it so: whatever is at the path
  // was left by a player that is gone.
  unlink(path.c_str());
  const mode_t old_mask = umask(077);
  const int bound = bind(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
  umask(old_mask);
  // A burst of simultaneous starts waits in the backlog until served.
  if (bound != 0 || listen(fd.get(), SOMAXCONN) != 0) {
    *error = "cannot listen on " + path + ": " + std::strerror(errno);
    return nullptr;
  }
  chmod(path.c_str(), 0600);
  UniqueFd stop(eventfd(0, EFD_CLOEXEC));
  if (!stop.valid()) {
    *error = std::string("cannot create an event: ") + std::strerror(errno);
    unlink(path.c_str());
    return nullptr;
  }
  return std::make_unique<InstanceServer>(Key(), path, std::move(fd), std::move(stop));
}

InstanceServer::InstanceServer(Key, std::string path, UniqueFd listen_fd, UniqueFd stop_fd)
    : path_(std::move(path)),
      listen_fd_(std::move(listen_fd)),
      stop_fd_(std::move(stop_fd)),
      thread_([this] { Run(); }) {}

InstanceServer::~InstanceServer() {
  // First off the path, so a start from now on finds nobody and becomes the
  // player itself instead of queueing for one that is going.
  unlink(path_.c_str());
  const uint64_t one = 1;
  [[maybe_unused]] const ssize_t written = write(stop_fd_.get(), &one, sizeof one);
  thread_.join();
}

void InstanceServer::DeliverTo(std::function<void(const Message&)> deliver) {
  std::lock_guard guard(lock_);
  for (const Message& message : held_)
    deliver(message);
  held_.clear();
  deliver_ = std::move(deliver);
}

void InstanceServer::Take(const Message& message) {
  std::lock_guard guard(lock_);
  if (deliver_)
    deliver_(message);
  else
    held_.push_back(message);
}

void InstanceServer::Run() {
  for (;;) {
    pollfd items[2] = {{listen_fd_.get(), POLLIN, 0}, {stop_fd_.get(), POLLIN, 0}};
    if (poll(items, 2, -1) < 0) {
      if (errno == EINTR)
        continue;
      return;
    }
    if (items[1].revents != 0)
      return;
    if ((items[0].revents & POLLIN) == 0)
      continue;
    UniqueFd client(accept4(listen_fd_.get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (client.valid())
      Serve(client.get());
  }
}

void InstanceServer::Serve(int client_fd) {
  // The folder is private already; checking the peer keeps that true even if
  // the socket is reached some other way.
  ucred peer{};
  socklen_t size = sizeof peer;
  if (getsockopt(client_fd, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != getuid()) {
    return;
  }
  std::string request;
  if (!ReadUntil(client_fd, kEnd, request, stop_fd_.get()))
    return;
  for (const Message& message : DecodeMessages(request))
    Take(message);
  SendAll(client_fd, kAnswer, stop_fd_.get());
}

}  // namespace zcd
