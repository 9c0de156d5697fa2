#include "cddb/cddb_connection.h"

#include <netdb.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <memory>

#include "cddb/host_lookup.h"
#include "cddb/net_log.h"

namespace zcd {
CddbConnection::CddbConnection(TransportSettings settings, NetLog& log)
    : settings_(std::move(settings)), log_(log), stop_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

CddbConnection::~CddbConnection() = default;

void CddbConnection::Stop() {
  const uint64_t one = 1;
  // The counter stays above zero, so every later wait sees the stop too.
  [[maybe_unused]] ssize_t written = write(stop_.get(), &one, sizeof one);
}

bool CddbConnection::stopped() const {
  pollfd item{stop_.get(), POLLIN, 0};
  return poll(&item, 1, 0) > 0;
}

CddbConnection::WaitResult CddbConnection::Wait(short events) const {
  return WaitOn(socket_.get(), events, true);
}

CddbConnection::WaitResult CddbConnection::WaitOn(int fd, short events, bool timed) const {
  using Clock = std::chrono::steady_clock;
  const auto deadline = Clock::now() + std::chrono::seconds(std::max(settings_.NetTimeout, 0));
  while (true) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    pollfd items[2] = {{fd, events, 0}, {stop_.get(), POLLIN, 0}};
    const int ready = poll(items, 2, timed ? static_cast<int>(std::max<int64_t>(left, 0)) : -1);
    if (ready < 0 && errno == EINTR)
      continue;
    if (ready < 0 || items[1].revents != 0)
      return WaitResult::kFailed;
    if (ready == 0)
      return WaitResult::kTimedOut;
    return WaitResult::kReady;
  }
}

void CddbConnection::Close() {
  socket_.Close();
}

bool CddbConnection::TryConnect(const addrinfo& address) {
  socket_ =
      UniqueFd(socket(address.ai_family, address.ai_socktype | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!socket_.valid())
    return false;
  if (connect(socket_.get(), address.ai_addr, address.ai_addrlen) == 0)
    return true;
  if (errno != EINPROGRESS || Wait(POLLOUT) != WaitResult::kReady) {
    socket_.Close();
    return false;
  }
  int error = 0;
  socklen_t size = sizeof error;
  if (getsockopt(socket_.get(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0) {
    socket_.Close();
    return false;
  }
  return true;
}

ConnectResult CddbConnection::Connect(const std::string& host, int port) {
  const bool proxy = settings_.UseProxy != 0;
  const std::string target = proxy ? settings_.HostName.value_or("") : host;
  const int target_port = proxy ? settings_.Port : port;
  const ConnectResult result = Open(target, target_port);
  if (result == ConnectResult::kNoAddress) {
    char line[400];
    std::snprintf(line, sizeof line, "GetHostName failed for %s: \"%s:%d\"\r\n",
                  proxy ? "proxy" : "host", target.c_str(), target_port);
    log_.Write(LogInfo, line);
  }
  return result;
}

ConnectResult CddbConnection::ConnectDirect(const std::string& host, int port) {
  return Open(host, port);
}

ConnectResult CddbConnection::Open(const std::string& target, int target_port) {
  Close();
  const std::string port_text = std::to_string(target_port);
  log_.Write(LogInfo, "Connecting To: ");
  log_.Write(LogInfo, target);
  log_.Write(LogInfo, ":");
  log_.Write(LogInfo, port_text);
  log_.Write(LogInfo, "\r\n");

  if (target_port <= 0 || target_port > 65535)
    return ConnectResult::kNoAddress;
  // The system's resolver has time-outs of its own; what it cannot do is
  // give up when the player ends.
  HostLookup lookup(target, target_port);
  if (WaitOn(lookup.ready_fd(), POLLIN, false) != WaitResult::kReady)
    return ConnectResult::kStopped;
  const AddressList addresses = lookup.Take();
  if (!addresses)
    return ConnectResult::kNoAddress;
  for (const addrinfo* address = addresses.get(); address; address = address->ai_next) {
    if (stopped())
      return ConnectResult::kStopped;
    if (TryConnect(*address))
      return ConnectResult::kConnected;
  }
  return stopped() ? ConnectResult::kStopped : ConnectResult::kNoConnection;
}

bool CddbConnection::Send(std::string_view bytes) {
  while (!bytes.empty()) {
    const ssize_t sent = send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
    if (sent > 0) {
      bytes.remove_prefix(static_cast<size_t>(sent));
    } else if (sent < 0 && errno == EINTR) {
      continue;
    } else if (sent < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
      if (Wait(POLLOUT) != WaitResult::kReady)
        return false;
    } else {
      return false;
    }
  }
  return !stopped();
}

std::optional<std::string> CddbConnection::ReadReply(ReplyMode mode) {
  std::string data;
  for (int chunks = 0; chunks < kMaxChunks;) {
    if (Wait(POLLIN) != WaitResult::kReady)
      break;
    char chunk[kChunkBytes];
    const ssize_t received = recv(socket_.get(), chunk, sizeof chunk, 0);
    if (received < 0 && (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK))
      continue;
    if (received <= 0)
      break;
    ++chunks;
    // Replies are texts: a zero byte ends what its read adds.
    const std::string_view bytes(chunk, static_cast<size_t>(received));
    data.append(bytes.substr(0, bytes.find('\0')));
    if (mode == ReplyMode::AutoReply && data.size() >= 3)
      mode = SettleAutoMode(data);
    if (ReplyComplete(data, mode))
      break;
  }
  if (data.empty() || stopped())
    return std::nullopt;
  return data;
}

}  // namespace zcd
