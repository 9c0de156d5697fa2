#pragma once

#include <chrono>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "cddb/loopback_server.h"
#include "discdb/disc_id.h"
#include "discdb/disc_record.h"

// In-process CDDB servers on the loopback address, shared by the query
// tests and the query benchmark.
namespace zcd::test {

// A two-track disc: frames 150 and 9000, 180 seconds.
inline DiscTiming TwoTracks() {
  DiscTiming timing;
  timing.track_count = 2;
  timing.toc[0] = TrackTocEntry::FromFrames(150);
  timing.toc[1] = TrackTocEntry::FromFrames(9000);
  timing.toc[2] = TrackTocEntry::FromFrames(180 * kFramesPerSecond + 150);
  timing.disc_seconds = 180;
  return timing;
}

inline const std::string kTwoTracksId = DiscIdText(ComputeCddbDiscId(TwoTracks()));

// The entry lines of the two-track disc after its comment block, without the
// final "." line.
inline std::string EntryLines(const std::string& title, const std::string& last_track = "Two") {
  return "DISCID=" + kTwoTracksId + "\r\nDTITLE=" + title +
         "\r\nTTITLE0=One\r\nEXTD=\r\nEXTT0=\r\nEXTT1=\r\nPLAYORDER=\r\nTTITLE1=" + last_track +
         "\r\n";
}

// A read reply as a server sends it; the title in Latin-1 as older entries
// are. The second track's title is the last line before the ".".
inline std::string ReadReply(const std::string& category,
                             const std::string& title = "Caf\xe9 / Vol.",
                             const std::string& last_track = "Two") {
  return "210 " + category + " " + kTwoTracksId +
         " CD database entry follows\r\n# xmcd\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n"
         "#\t9000\r\n#\r\n# Disc length: 182 seconds\r\n#\r\n# Revision: 2\r\n#\r\n" +
         EntryLines(title, last_track) + ".\r\n";
}

// How a server hands its replies to TCP.
enum class Segments {
  kWhole,  // one send per reply
  // Cut after an HTTP status line and after every "." that ends a line, so
  // the status line, the terminator's "." and its CR LF (and a title's
  // closing "Vol." and its line end) reach the client in separate reads.
  kSplit,
};

// The reply in the pieces `segments` asks for.
inline std::vector<std::string> ReplyPieces(const std::string& reply, Segments segments) {
  std::vector<size_t> cuts;
  if (segments == Segments::kSplit) {
    if (reply.starts_with("HTTP/"))
      cuts.push_back(reply.find('\n') + 1);
    for (size_t dot = reply.find(".\r\n"); dot != std::string::npos;
         dot = reply.find(".\r\n", dot + 1))
      cuts.push_back(dot + 1);
  }
  cuts.push_back(reply.size());
  std::vector<std::string> pieces;
  size_t start = 0;
  for (const size_t cut : cuts) {
    pieces.push_back(reply.substr(start, cut - start));
    start = cut;
  }
  return pieces;
}

// Sends the pieces with a pause between them; the server's sockets do not
// delay small sends, so each piece leaves as a segment of its own and the
// pause lets the client read it before the next arrives.
inline void SendReply(ServerPeer& peer, const std::string& reply, Segments segments) {
  const std::vector<std::string> pieces = ReplyPieces(reply, segments);
  for (size_t i = 0; i < pieces.size(); ++i) {
    if (i > 0)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    peer.Send(pieces[i]);
  }
}

// Greets, answers the hello, then answers each command line in turn; keeps
// everything the client sent. Every connection gets the same script.
class CddbpServer {
 public:
  explicit CddbpServer(std::vector<std::string> replies, Segments segments = Segments::kWhole,
                       bool ipv6 = false)
      : replies_(std::move(replies)), segments_(segments), ipv6_(ipv6) {}
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

  std::vector<std::string> replies_;
  Segments segments_;
  bool ipv6_;
  mutable std::mutex lock_;
  std::string received_;
  LoopbackServer server_{[this](ServerPeer& peer) {
                           using namespace std::chrono_literals;
                           peer.Send("201 test server ready\r\n");
                           Keep(peer.ReadUntil("\n", 5s));
                           peer.Send("200 Hello and welcome\r\n");
                           for (const std::string& reply : replies_) {
                             const std::string line = peer.ReadUntil("\r\n", 5s);
                             Keep(line);
                             if (line.empty())
                               return;
                             SendReply(peer, reply, segments_);
                           }
                           Keep(peer.ReadUntilClosed(5s));
                         },
                         ipv6_};
};

// An HTTP/1.0 server: one request per connection, answered with the next
// body (after the last, the first again) under `status`, then closed. Keeps
// each request's line and head.
class HttpServer {
 public:
  explicit HttpServer(std::vector<std::string> bodies, std::string status = "200 OK",
                      Segments segments = Segments::kWhole)
      : bodies_(std::move(bodies)), status_(std::move(status)), segments_(segments) {}
  std::vector<std::string> requests() const {
    std::lock_guard hold(lock_);
    return requests_;
  }
  LoopbackServer& server() { return server_; }

 private:
  std::vector<std::string> bodies_;
  std::string status_;
  Segments segments_;
  mutable std::mutex lock_;
  std::vector<std::string> requests_;
  size_t answered_ = 0;  // the server's thread only
  LoopbackServer server_{[this](ServerPeer& peer) {
    using namespace std::chrono_literals;
    const std::string request = peer.ReadUntil("\r\n\r\n", 5s);
    {
      std::lock_guard hold(lock_);
      requests_.push_back(request);
    }
    const std::string& body = bodies_[answered_++ % bodies_.size()];
    SendReply(peer, "HTTP/1.0 " + status_ + "\r\nContent-Type: text/plain\r\n\r\n" + body,
              segments_);
  }};
};

}  // namespace zcd::test
