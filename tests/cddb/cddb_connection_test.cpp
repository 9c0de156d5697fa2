#include "cddb/cddb_connection.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "cddb/loopback_server.h"
#include "cddb/net_log.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerPeer;

TransportSettings Timeout(int seconds) {
  TransportSettings settings;
  settings.NetTimeout = seconds;
  return settings;
}

struct ReplyCase {
  const char* name;
  ReplyMode mode;
  bool server_closes;              // else it waits for the client to close
  std::vector<std::string> parts;  // sent with a pause between them
};

// With NetTimeout 20 every reply below must come back whole, and, where the
// server keeps the connection open, at once: the server waits only half of
// NetTimeout for the client to hang up.
TEST(CddbConnectionTest, ReadReplyEndsAtTheReplysEndWhereverTheReadsSplitIt) {
  constexpr ReplyMode kAuto = ReplyMode::AutoReply, kLine = ReplyMode::LineReply,
                      kMulti = ReplyMode::MultiLineReply, kSmtp = ReplyMode::SmtpReply;
  const std::string entry = "210 rock 0c01a202 CD database entry follows\r\n";
  const std::string http = "HTTP/1.0 200 OK\r\n", head = "Server: x\r\n\r\n200 rock 1 A / B\r\n";
  const ReplyCase cases[] = {
      {"line", kAuto, false, {"200 rock 0c01a202 Artist / Album\r\n"}},
      {"line in two", kLine, false, {"200 ok", "\r\n"}},
      {"inexact", kAuto, false, {"211 Found inexact matches\r\nrock 1 A\r\n", ".\r\n"}},
      {"211 split early", kAuto, false, {"2", "11 Found\r\nrock 1 A\r\n.\r\n"}},
      {"Vol.", kMulti, false, {entry + "DTITLE=A / Hits Vol.\r\n.\r\n"}},
      {"split dot", kMulti, false, {entry + "TTITLE0=a\r\n.", "\r\n"}},
      {"split CR", kMulti, false, {entry + "TTITLE0=a\r\n.\r", "\n"}},
      {"empty list", kMulti, false, {".\r\n"}},
      {"refused read", kMulti, false, {"401 rock 0c01a202 No such entry\r\n"}},
      // Not complete yet at the first part: the rest must not be lost.
      {"Vol. line first", kMulti, false, {entry + "DTITLE=Vol.\r\n", "TTITLE0=b\r\n.\r\n"}},
      {"HTTP head", kAuto, true, {http + head, "tail\r\n"}},
      // A proxy may send its status line on its own: one line, but not the
      // whole reply.
      {"HTTP status line apart", kAuto, true, {http, head}},
      {"closed early", kLine, true, {"200 no line end"}},
      {"smtp one line", kSmtp, false, {"220 ready\r\n"}},
      {"smtp lines at once", kSmtp, false, {"220-mail\r\n220-ESMTP\r\n220 ready\r\n"}},
      {"smtp lines apart", kSmtp, false, {"250-a\r\n", "250-b\r\n250", " ok\r\n"}},
  };
  for (const ReplyCase& c : cases) {
    std::atomic<bool> hung_up_in_time = false;
    LoopbackServer server([&](ServerPeer& peer) {
      for (const std::string& part : c.parts) {
        peer.Send(part);
        std::this_thread::sleep_for(30ms);
      }
      if (!c.server_closes) {
        bool closed = false;
        peer.ReadUntilClosed(10s, &closed);
        hung_up_in_time = closed;
      }
    });
    NetLog log(false, "", "");
    CddbConnection connection(Timeout(20), log);
    ASSERT_EQ(connection.Connect("127.0.0.1", server.port()), ConnectResult::kConnected);
    std::string all;
    for (const std::string& part : c.parts)
      all += part;
    EXPECT_EQ(connection.ReadReply(c.mode), all) << c.name;
    connection.Close();
    ASSERT_TRUE(test::WaitUntil([&] { return server.finished() == 1; }, 15s));
    EXPECT_TRUE(hung_up_in_time || c.server_closes) << c.name << " waited for the time-out";
  }
}

TEST(CddbConnectionTest, AReplyWithoutItsEndReturnsWhatCameAtTheTimeOut) {
  struct Case {
    int timeout;
    std::string sent;  // then silence
    std::optional<std::string> want;
  };
  const Case cases[] = {
      {1, "", std::nullopt},
      {1, "210 a\r\nDTITLE=Vol.\r\n", "210 a\r\nDTITLE=Vol.\r\n"},
  };
  for (const Case& c : cases) {
    LoopbackServer server([&](ServerPeer& peer) {
      peer.Send(c.sent);
      peer.ReadUntilClosed(30s);
    });
    NetLog log(false, "", "");
    CddbConnection connection(Timeout(c.timeout), log);
    ASSERT_EQ(connection.Connect("127.0.0.1", server.port()), ConnectResult::kConnected);
    EXPECT_EQ(connection.ReadReply(ReplyMode::MultiLineReply), c.want) << c.sent;
  }
}

TEST(CddbConnectionTest, NetTimeoutZeroTakesOnlyAReplyAlreadyWaiting) {
  std::atomic<bool> answer = false;
  LoopbackServer server([&](ServerPeer& peer) {
    ASSERT_TRUE(test::WaitUntil([&] { return answer.load(); }));
    peer.Send("200 here\r\n");
    peer.ReadUntilClosed(30s);
  });
  NetLog log(false, "", "");
  CddbConnection connection(Timeout(0), log);
  ASSERT_EQ(connection.Connect("127.0.0.1", server.port()), ConnectResult::kConnected);
  EXPECT_EQ(connection.ReadReply(ReplyMode::LineReply), std::nullopt);
  answer = true;
  std::optional<std::string> reply;
  EXPECT_TRUE(test::WaitUntil(
      [&] { return (reply = connection.ReadReply(ReplyMode::LineReply)).has_value(); }));
  EXPECT_EQ(reply, "200 here\r\n");
}

TEST(CddbConnectionTest, AHugeReplyIsCutAfterAHundredReads) {
  const std::string huge(300000, 'x');
  LoopbackServer server([&](ServerPeer& peer) {
    peer.Send(huge);
    peer.ReadUntilClosed(30s);
  });
  NetLog log(false, "", "");
  CddbConnection connection(Timeout(20), log);
  ASSERT_EQ(connection.Connect("127.0.0.1", server.port()), ConnectResult::kConnected);
  const std::optional<std::string> reply = connection.ReadReply(ReplyMode::LineReply);
  ASSERT_TRUE(reply);
  EXPECT_LE(reply->size(), CddbConnection::kChunkBytes * CddbConnection::kMaxChunks);
  EXPECT_EQ(*reply, huge.substr(0, reply->size()));
}

TEST(CddbConnectionTest, StopEndsAReadOnASilentServerAndEveryLaterWait) {
  LoopbackServer server([](ServerPeer& peer) { peer.ReadUntilClosed(30s); });
  NetLog log(false, "", "");
  CddbConnection connection(Timeout(20), log);
  ASSERT_EQ(connection.Connect("127.0.0.1", server.port()), ConnectResult::kConnected);
  std::atomic<bool> done = false;
  std::optional<std::string> reply = "untouched";
  std::thread worker([&] {
    reply = connection.ReadReply(ReplyMode::AutoReply);
    done = true;
  });
  ASSERT_TRUE(test::WaitUntil([&] { return server.accepted() == 1; }));
  connection.Stop();
  // Well inside NetTimeout; without the stop the read would wait 20 s.
  EXPECT_TRUE(test::WaitUntil([&] { return done.load(); }, 10s));
  worker.join();
  EXPECT_EQ(reply, std::nullopt);
  EXPECT_TRUE(connection.stopped());
  EXPECT_EQ(connection.Connect("127.0.0.1", server.port()), ConnectResult::kStopped);
}

TEST(CddbConnectionTest, ConnectsToTheProxyOrTheServerOverIpv4AndIpv6AndLogsTheTarget) {
  test::TempDir dir;
  NetLog log(true, dir.File("net.txt"), dir.path());
  log.Write(LogStart);
  auto greet = [](ServerPeer& peer) { peer.Send("201 hi\r\n"); };
  LoopbackServer server(greet);
  LoopbackServer server6(greet, true);
  {
    CddbConnection connection(Timeout(20), log);
    ASSERT_EQ(connection.Connect("127.0.0.1", server.port()), ConnectResult::kConnected);
    EXPECT_EQ(connection.ReadReply(ReplyMode::LineReply), "201 hi\r\n");
    if (server6.ok()) {
      ASSERT_EQ(connection.Connect("::1", server6.port()), ConnectResult::kConnected);
      EXPECT_EQ(connection.ReadReply(ReplyMode::LineReply), "201 hi\r\n");
    }
    EXPECT_EQ(connection.Connect("no-such-host.invalid", 8880), ConnectResult::kNoAddress);
  }
  TransportSettings proxied = Timeout(20);
  proxied.UseProxy = 1;
  proxied.HostName = "localhost";
  proxied.Port = server.port();
  {
    CddbConnection connection(proxied, log);
    ASSERT_EQ(connection.Connect("cddb.invalid", 8880), ConnectResult::kConnected);
    EXPECT_EQ(connection.ReadReply(ReplyMode::LineReply), "201 hi\r\n");
  }
  proxied.HostName = "no-such-host.invalid";
  proxied.Port = 3128;
  EXPECT_EQ(CddbConnection(proxied, log).Connect("cddb.invalid", 8880), ConnectResult::kNoAddress);
  log.Write(LogStop);

  const std::string port = std::to_string(server.port());
  std::string want = "Connecting To: 127.0.0.1:" + port + "\r\n";
  if (server6.ok())
    want += "Connecting To: ::1:" + std::to_string(server6.port()) + "\r\n";
  want +=
      "Connecting To: no-such-host.invalid:8880\r\n"
      "GetHostName failed for host: \"no-such-host.invalid:8880\"\r\n"
      "Connecting To: localhost:" +
      port +
      "\r\n"
      "Connecting To: no-such-host.invalid:3128\r\n"
      "GetHostName failed for proxy: \"no-such-host.invalid:3128\"\r\n";
  const std::string text = dir.Read("net.txt");
  EXPECT_EQ(text.substr(text.find('\n') + 1, want.size()), want);
}

TEST(CddbConnectionTest, ARefusedConnectionFails) {
  int port = 0;
  {
    LoopbackServer closed([](ServerPeer&) {});
    port = closed.port();
  }
  NetLog log(false, "", "");
  CddbConnection connection(Timeout(20), log);
  EXPECT_EQ(connection.Connect("127.0.0.1", port), ConnectResult::kNoConnection);
  EXPECT_FALSE(connection.connected());
}

}  // namespace
}  // namespace zcd
