#include "cddb/cddb_requests.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "cddb/base64.h"
#include "cddb/cddb_connection.h"
#include "cddb/loopback_server.h"
#include "cddb/net_log.h"
#include "support/temp_dir.h"
#include "support/wait.h"

namespace zcd {
namespace {

using namespace std::chrono_literals;
using test::LoopbackServer;
using test::ServerPeer;

// The log without its start and stop lines.
std::string LoggedBetween(const std::string& text) {
  const size_t begin = text.find('\n') + 1;
  return text.substr(begin, text.rfind("***Stopped") - begin);
}

TEST(CddbRequestsTest, HandshakeSendsTheHelloWithOneLineFeedAndLogsBothWays) {
  test::TempDir dir;
  NetLog log(true, dir.File("net.txt"), dir.path());
  std::string wire;
  auto server = std::make_unique<LoopbackServer>([&](ServerPeer& peer) {
    peer.Send("201 cddb.example CDDBP server v1 ready\r\n");
    wire = peer.ReadUntil("\n", 10s);
    peer.Send("500 Hello a bit odd\r\n");
    wire += peer.ReadUntilClosed(10s);
  });
  TransportSettings settings;
  CddbConnection connection(settings, log);
  ASSERT_EQ(connection.Connect("127.0.0.1", server->port()), ConnectResult::kConnected);
  log.Write(LogStart);
  EXPECT_TRUE(CddbpHandshake(connection, MakeClientIdentity("John Smith", "b")));
  log.Write(LogStop);
  connection.Close();
  ASSERT_TRUE(test::WaitUntil([&] { return server->finished() == 1; }));
  server.reset();
  EXPECT_EQ(wire, "cddb hello John_Smith unknown ZentaroCD 1.25\n");
  EXPECT_EQ(LoggedBetween(dir.Read("net.txt")),
            "201 cddb.example CDDBP server v1 ready\r\n"
            "cddb hello John_Smith unknown ZentaroCD 1.25\n500 Hello a bit odd\r\n");
}

TEST(CddbRequestsTest, AHandshakeWithoutGreetingOrHelloReplyFails) {
  for (bool greet : {false, true}) {
    LoopbackServer server([&](ServerPeer& peer) {
      if (greet)
        peer.Send("201 ready\r\n");
      peer.ReadUntilClosed(10s);
    });
    NetLog log(false, "", "");
    TransportSettings settings;
    settings.NetTimeout = 1;
    CddbConnection connection(settings, log);
    ASSERT_EQ(connection.Connect("127.0.0.1", server.port()), ConnectResult::kConnected);
    EXPECT_FALSE(CddbpHandshake(connection, MakeClientIdentity("jo", "box"))) << greet;
  }
}

TEST(CddbRequestsTest, HttpRequestsOnTheWireDirectAndThroughTheProxy) {
  const std::string long_user(80, 'u');
  const std::string long_pass(90, 'p');
  struct Case {
    const char* name;
    bool proxy, auth;
    int server_port;
    std::string user, pass;
    HttpRequestKind kind;
    std::string want;
  };
  const std::string query = "cddb+query+0c01a202+2+150+9000+180";
  const std::string hello = "&hello=jo+box+ZentaroCD+1.25&proto=";
  const std::string header = "Proxy-Authorization: Basic ";
  const Case cases[] = {
      {"direct", false, false, 80, "", "", HttpRequestKind::kQueryOrRead,
       "GET /~cddb/cddb.cgi?cmd=" + query + hello + "1 HTTP/1.0\n\r\n\r\n"},
      {"proxy", true, false, 80, "", "", HttpRequestKind::kQueryOrRead,
       "GET http://cddb.example/~cddb/cddb.cgi?cmd=" + query + hello + "1 HTTP/1.0\n\r\n\r\n"},
      {"proxy, auth, port", true, true, 8880, "jo", "pw", HttpRequestKind::kQueryOrRead,
       "GET http://cddb.example:8880/~cddb/cddb.cgi?cmd=" + query + hello + "1 HTTP/1.0\n" +
           header + "am86cHc=\r\n\r\n"},
      {"long credentials", true, true, 80, long_user, long_pass, HttpRequestKind::kQueryOrRead,
       "GET http://cddb.example/~cddb/cddb.cgi?cmd=" + query + hello + "1 HTTP/1.0\n" + header +
           EncodeBase64Unbroken(long_user + ":" + long_pass) + "\r\n\r\n"},
      {"direct port", false, false, 8880, "", "", HttpRequestKind::kQueryOrRead,
       "GET /~cddb/cddb.cgi?cmd=" + query + hello + "1 HTTP/1.0\n\r\n\r\n"},
      {"sites", false, false, 80, "", "", HttpRequestKind::kSites,
       "GET /~cddb/cddb.cgi?cmd=sites" + hello + "3 HTTP/1.0\r\n\r\n"},
      {"sites, auth", true, true, 80, "jo", "pw", HttpRequestKind::kSites,
       "GET http://cddb.example/~cddb/cddb.cgi?cmd=sites" + hello + "3 HTTP/1.0\r\n" + header +
           "am86cHc=\r\n\r\n"},
  };
  for (const Case& c : cases) {
    test::TempDir dir;
    NetLog log(true, dir.File("net.txt"), dir.path());
    std::string wire;
    auto server = std::make_unique<LoopbackServer>(
        [&](ServerPeer& peer) { wire = peer.ReadUntilClosed(10s); });
    TransportSettings settings;
    if (c.proxy) {
      settings.UseProxy = 1;
      settings.HostName = "127.0.0.1";
      settings.Port = server->port();
    }
    if (c.auth) {
      settings.useProxyAuth = 1;
      settings.Username = c.user;
      settings.Password = c.pass;
    }
    const HttpServer target{"cddb.example", c.server_port, "/~cddb/cddb.cgi"};
    const std::string line =
        HttpRequestLine(settings, target, c.kind == HttpRequestKind::kSites ? "sites" : query,
                        MakeClientIdentity("jo", "box"), c.kind);
    CddbConnection connection(settings, log);
    ASSERT_EQ(connection.Connect("127.0.0.1", c.proxy ? 1 : server->port()),
              ConnectResult::kConnected);
    log.Write(LogStart);
    EXPECT_TRUE(SendHttpRequest(connection, line, c.kind));
    log.Write(LogStop);
    connection.Close();
    ASSERT_TRUE(test::WaitUntil([&] { return server->finished() == 1; }));
    server.reset();
    EXPECT_EQ(wire, c.want) << c.name;
    // The header never reaches the log.
    const std::string closing = c.kind == HttpRequestKind::kSites ? "" : "\r\n\r\n";
    EXPECT_EQ(LoggedBetween(dir.Read("net.txt")), line + closing) << c.name;
  }
}

TEST(CddbRequestsTest, TheProxyHeaderNeedsAUserOrAPassword) {
  TransportSettings settings;
  EXPECT_EQ(ProxyAuthHeader(settings), "");
  settings.Password = "pw";
  EXPECT_EQ(ProxyAuthHeader(settings), "Proxy-Authorization: Basic OnB3");
}

}  // namespace
}  // namespace zcd
