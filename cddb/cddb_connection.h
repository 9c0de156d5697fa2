#pragma once

#include <netdb.h>

#include <optional>
#include <string>
#include <string_view>

#include "base/unique_fd.h"
#include "cddb/reply_mode.h"
#include "cddb/transport_settings.h"

namespace zcd {

class NetLog;

enum class ConnectResult {
  kConnected,
  kNoAddress,     // the name did not resolve (logged)
  kNoConnection,  // no address took the connection in time
  kStopped,
};

// One worker's connection to a CDDB server or the proxy in front of it. The
// socket is closed on every way out; a stop event lives as long as the
// object, so a worker can connect several times (an HTTP query and its read)
// and still be ended at once from the window thread at any point.
class CddbConnection {
 public:
  CddbConnection(TransportSettings settings, NetLog& log);
  ~CddbConnection();
  CddbConnection(const CddbConnection&) = delete;
  CddbConnection& operator=(const CddbConnection&) = delete;

  // Any thread. Ends the wait under way and makes every later one fail at
  // once, so a worker blocked on a silent server returns promptly.
  void Stop();
  // Any thread.
  bool stopped() const;

  // Worker thread (this and the rest). Connects to the proxy when UseProxy
  // is on, else to host:port, trying each address the name resolves to
  // (IPv4 and IPv6); each attempt waits at most NetTimeout seconds. Logs the
  // target and a failed resolve. Closes any earlier connection first.
  ConnectResult Connect(const std::string& host, int port);
  // Connects to host:port itself whatever the proxy settings say, as mail
  // never goes through an HTTP proxy. Logs the target only: the caller
  // words a failed resolve its own way.
  ConnectResult ConnectDirect(const std::string& host, int port);
  void Close();
  bool connected() const { return socket_.valid(); }

  // Sends every byte; false on an error, NetTimeout without progress, or a
  // stop.
  bool Send(std::string_view bytes);

  // Gathers a reply in reads of at most 1023 bytes, at most 100 of them,
  // until it is complete (ReplyComplete), the server closes, or no data comes
  // for NetTimeout seconds. None when nothing arrived, or on a stop.
  std::optional<std::string> ReadReply(ReplyMode mode);

  const TransportSettings& settings() const { return settings_; }
  NetLog& log() const { return log_; }

  static constexpr size_t kChunkBytes = 1023;
  static constexpr int kMaxChunks = 100;

 private:
  enum class WaitResult { kReady, kTimedOut, kFailed };
  // Waits for events on the socket, watching the stop event too.
  WaitResult Wait(short events) const;
  // The same for any descriptor, within NetTimeout when timed.
  WaitResult WaitOn(int fd, short events, bool timed) const;
  bool TryConnect(const addrinfo& address);
  // Logs the target, then resolves and connects; kNoAddress unlogged.
  ConnectResult Open(const std::string& host, int port);

  TransportSettings settings_;
  NetLog& log_;
  UniqueFd stop_;
  UniqueFd socket_;
};

}  // namespace zcd
