#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "cddb/cddb_test_servers.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/sample_disc.h"
#include "support/temp_dir.h"
#include "support/wait.h"
#include "tools/zcd_db_run.h"

namespace zcd::test {
namespace {

// The disc of every run: tracks at frames 150 and 9000, the lead-out at
// 13650 (182 seconds).
const std::vector<std::string> kDisc = {"150", "9000", "13650"};

const std::string kId = DiscIdText(ComputeCddbDiscId(DiscTimingOf({150, 9000, 13650})));

// A read reply; the title in Latin-1, as older entries are, unless given.
std::string ReadReply(const std::string& category, const std::string& title = "Caf\xe9 / Live") {
  return "210 " + category + " " + kId + " CD database entry follows\r\n# xmcd\r\n#\r\n" +
         "# Track frame offsets:\r\n#\t150\r\n#\t9000\r\n#\r\n# Disc length: 182 seconds\r\n" +
         "#\r\n# Revision: 2\r\n#\r\nDISCID=" + kId + "\r\nDTITLE=" + title +
         "\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=\r\nEXTT0=\r\nEXTT1=\r\nPLAYORDER=\r\n.\r\n";
}
const std::string kExact = "200 rock " + kId + " Caf\xe9 / Live\r\n";
const std::string kClose = "211 close matches found\r\nrock " + kId +
                           " Caf\xe9 / Live\r\njazz 22222222 Trio / Second\r\n" +
                           "blues 33333333 Band / Third\r\n.\r\n";
// What the terminal shows of the Latin-1 reply.
const std::string kPrinted = [] {
  std::string text = ReadReply("rock");
  return text.replace(text.find("Caf\xe9"), 4, "Caf\xc3\xa9");
}();

class ZcdDbQueryTest : public ::testing::Test {
 protected:
  ZcdDbQueryTest() { std::filesystem::create_directories(dir_.File("home")); }

  ToolRun Query(std::vector<std::string> args, const std::string& input = "") const {
    args.insert(args.begin(), "query");
    args.insert(args.end(), kDisc.begin(), kDisc.end());
    return RunZcdDb(dir_, args, input);
  }
  // What a CDDBP server received once it has seen the client go.
  static std::string Received(CddbpServer& server) {
    EXPECT_TRUE(WaitUntil([&] { return server.server().finished() >= 1; }));
    return server.received();
  }
  static std::string At(LoopbackServer& server) {
    return "127.0.0.1:" + std::to_string(server.port());
  }
  std::string db() const { return dir_.File("home/ZCD.zdb"); }

  TempDir dir_;
};

TEST_F(ZcdDbQueryTest, PrintsTheEntryReadOverCddbpOrHttp) {
  for (const bool ipv6 : {false, true}) {
    CddbpServer cddbp({kExact, ReadReply("rock")}, Segments::kWhole, ipv6);
    const std::string at =
        ipv6 ? "[::1]:" + std::to_string(cddbp.server().port()) : At(cddbp.server());
    const ToolRun run = Query({"--server", at});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, kPrinted);
    EXPECT_EQ(run.err, "");
    const std::string received = Received(cddbp);
    EXPECT_NE(received.find("cddb query " + kId + " 2 150 9000 182\r\n"), std::string::npos);
    EXPECT_NE(received.find("cddb read rock " + kId + "\r\n"), std::string::npos);
  }

  HttpServer http({kExact, ReadReply("rock")});
  const ToolRun run = Query({"--server", At(http.server()), "--http", "/~cddb/cddb.cgi"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, kPrinted);
  const std::vector<std::string> requests = http.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_TRUE(requests[0].starts_with("GET /~cddb/cddb.cgi?cmd=cddb+query+" + kId +
                                      "+2+150+9000+182&hello="))
      << requests[0];
  EXPECT_TRUE(requests[1].starts_with("GET /~cddb/cddb.cgi?cmd=cddb+read+rock+" + kId + "&"));
  // Printing writes nothing.
  EXPECT_FALSE(std::filesystem::exists(db()));
}

// A list of close matches: --pick, or a number read from standard input,
// asked again until it is one of the list; empty or the end of input takes
// none.
TEST_F(ZcdDbQueryTest, CloseMatchesArePickedOrChosen) {
  const struct {
    std::vector<std::string> args;
    std::string input;
    int status;
    std::string read;  // the match read, empty for none
    std::string err;
  } cases[] = {
      {{"--pick", "2"}, "", 0, "jazz 22222222", ""},
      {{}, "3\n", 0, "blues 33333333", "  2) jazz 22222222  Trio / Second\n"},
      {{}, "x\n7\n1\n", 0, "rock " + kId, "  1) rock " + kId + "  Caf\xc3\xa9 / Live\n"},
      {{}, "\n", 1, "", "no match chosen"},
      {{}, "", 1, "", "no match chosen"},
      {{"--pick", "4"}, "", 1, "", "--pick 4 is more than the 3 matches offered"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.input + (c.args.empty() ? "" : c.args.back()));
    CddbpServer cddbp({kClose, ReadReply("jazz")});
    std::vector<std::string> args = {"--server", At(cddbp.server())};
    args.insert(args.end(), c.args.begin(), c.args.end());
    const ToolRun run = Query(args, c.input);
    EXPECT_EQ(run.status, c.status);
    EXPECT_NE(run.err.find(c.err), std::string::npos) << run.err;
    EXPECT_EQ(run.out.starts_with("210 jazz " + kId), c.status == 0) << run.out;
    const std::string received = Received(cddbp);
    if (c.read.empty())
      EXPECT_EQ(received.find("cddb read"), std::string::npos);
    else
      EXPECT_NE(received.find("cddb read " + c.read + "\r\n"), std::string::npos) << received;
  }
}

TEST_F(ZcdDbQueryTest, FailuresEndWithTheirStatus) {
  CddbpServer no_match({"202 No match for disc ID " + kId + ".\r\n"});
  ToolRun run = Query({"--server", At(no_match.server())});
  EXPECT_EQ(run.status, 1);
  EXPECT_NE(run.err.find("the server has no entry for disc " + kId), std::string::npos);

  int closed_port = 0;
  {
    LoopbackServer gone([](ServerPeer&) {});
    closed_port = gone.port();
  }
  run = Query({"--server", "127.0.0.1:" + std::to_string(closed_port)});
  EXPECT_EQ(run.status, 3);
  EXPECT_NE(run.err.find("could not reach the server"), std::string::npos) << run.err;

  // A server that never greets: --timeout ends the wait, far sooner than the
  // default 20 seconds.
  LoopbackServer silent([](ServerPeer& peer) { peer.ReadUntilClosed(std::chrono::seconds(30)); });
  const auto start = std::chrono::steady_clock::now();
  run = Query({"--server", At(silent), "--timeout", "1"});
  EXPECT_EQ(run.status, 3);
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
}

TEST_F(ZcdDbQueryTest, StoreFilesTheEntryAndAsksBeforeReplacingIt) {
  CddbpServer first({kExact, ReadReply("rock")});
  ToolRun run = Query({"--server", At(first.server()), "--store"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out, "Stored rock/" + kId + "\n");
  // Filed in our form, the Latin-1 title kept as Windows-1252.
  const std::optional<std::string> stored = DbFindEntry(db(), kId);
  ASSERT_TRUE(stored);
  EXPECT_TRUE(stored->starts_with("200 rock " + kId + "\r\n")) << *stored;
  EXPECT_NE(stored->find("DTITLE=Caf\xe9 / Live\r\n"), std::string::npos);

  // The disc is known now: "n", or no answer, keeps the stored entry.
  for (const std::string input : {"n\n", ""}) {
    CddbpServer again({kExact, ReadReply("jazz", "Caf\xc3\xa9 / Studio")});
    run = Query({"--server", At(again.server()), "--store"}, input);
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "Kept the stored entry of " + kId + "\n");
    EXPECT_NE(run.err.find("Replace database entry with this new information? [y/N]"),
              std::string::npos);
    EXPECT_EQ(DbFindEntry(db(), kId), stored);
  }

  // "y" replaces it; a UTF-8 entry is stored as Windows-1252.
  CddbpServer replace({kExact, ReadReply("jazz", "Caf\xc3\xa9 / Studio")});
  run = Query({"--server", At(replace.server()), "--store"}, "y\n");
  EXPECT_EQ(run.out, "Stored jazz/" + kId + "\n");
  EXPECT_FALSE(DbHasEntry(db(), "rock/"));
  EXPECT_NE(DbFindEntry(db(), "jazz/" + kId).value_or("").find("DTITLE=Caf\xe9 / Studio\r\n"),
            std::string::npos);

  // A file that is not a database is refused before the server is asked.
  dir_.Write("notes.txt", "just notes");
  CddbpServer unused({kExact, ReadReply("rock")});
  run = Query({"--db", dir_.File("notes.txt"), "--server", At(unused.server()), "--store"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(unused.server().accepted(), 0);
}

// Through a proxy the request names the server (an IPv6 address in
// brackets) and carries the credentials.
TEST_F(ZcdDbQueryTest, ProxyCarriesTheRequestsWithCredentials) {
  const struct {
    std::string server;
    std::string url;
  } cases[] = {{"cddb.example:8880", "http://cddb.example:8880/cgi"},
               {"[2001:db8::1]:80", "http://[2001:db8::1]/cgi"}};
  for (const auto& c : cases) {
    HttpServer proxy({kClose, ReadReply("jazz")});
    const ToolRun run =
        Query({"--server", c.server, "--http", "/cgi", "--proxy", At(proxy.server()),
               "--proxy-user", "jo", "--proxy-pass", "s3cret", "--pick", "2"});
    EXPECT_EQ(run.status, 0) << run.err;
    const std::vector<std::string> requests = proxy.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_TRUE(requests[0].starts_with("GET " + c.url + "?cmd=cddb+query+")) << requests[0];
    EXPECT_TRUE(requests[1].starts_with("GET " + c.url + "?cmd=cddb+read+jazz+22222222&"));
    for (const std::string& request : requests)
      EXPECT_NE(request.find("\nProxy-Authorization: Basic am86czNjcmV0\r\n"), std::string::npos);
  }
}

TEST_F(ZcdDbQueryTest, UnusableCommandLinesAskNoServer) {
  CddbpServer cddbp({kExact, ReadReply("rock")});
  const std::string at = At(cddbp.server());
  const std::vector<std::string> lines[] = {
      {},
      {"--server", "127.0.0.1"},
      {"--server", "127.0.0.1:0"},
      {"--server", "127.0.0.1:65536"},
      {"--server", "::1:" + std::to_string(cddbp.server().port())},
      {"--server", "[::1]"},
      {"--server", at, "--http", "cddb.cgi"},
      {"--server", at, "--proxy", at},
      {"--server", at, "--http", "/cgi", "--proxy", at, "--proxy-user", "jo"},
      {"--server", at, "--proxy-user", "jo", "--proxy-pass", "pw"},
      {"--server", at, "--pick", "0"},
      {"--server", at, "--timeout", "1000"},
      {"--server", at, "--category", "rock"},
  };
  for (const auto& line : lines) {
    SCOPED_TRACE(line.empty() ? "" : line.back());
    const ToolRun run = Query(line);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.err.starts_with("zcd-db: ")) << run.err;
  }
  EXPECT_EQ(RunZcdDb(dir_, {"query", "--server", at, "150"}).status, 2);
  EXPECT_EQ(cddbp.server().accepted(), 0);
}

}  // namespace
}  // namespace zcd::test
