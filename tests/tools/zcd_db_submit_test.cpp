#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/settings_file.h"
#include "cddb/scripted_submit_servers.h"
#include "cddb/server_list.h"
#include "cddb/submit_fixture.h"
#include "discdb/database.h"
#include "support/temp_dir.h"
#include "support/wait.h"
#include "tools/zcd_db_run.h"

namespace zcd::test {
namespace {

using namespace std::chrono_literals;

const MailScript kAccepting{"220 ready\r\n",
                            {"250 hi\r\n", "250 ok\r\n", "250 ok\r\n", "354 go\r\n", "250 ok\r\n"}};

// A data folder holding a rock entry of disc 0c01a202 and an electronic one
// of the same disc, and the player's settings: mail set up but for the
// server, which each test names.
class ZcdDbSubmitTest : public ::testing::Test {
 protected:
  ZcdDbSubmitTest() {
    std::filesystem::create_directories(dir_.File("home"));
    EXPECT_EQ(DbAddEntry(db(), "rock/0c01a202", SubmitEntry()), 1);
    EXPECT_EQ(DbAddEntry(db(), "electronic/0c01a202", SubmitEntry("electronic")), 1);
    settings_.UserEmail = "me@example.org";
  }

  ToolRun Submit(const std::string& id) {
    EXPECT_EQ(WriteSettings(settings_, ini(), dir_.File("home")), "");
    return RunZcdDb(dir_, {"submit", id}, "y\n");
  }
  std::string db() const { return dir_.File("home/ZCD.zdb"); }
  std::string ini() const { return dir_.File("home/ZCD.ini"); }
  static std::string At(const LoopbackServer& server) {
    return "127.0.0.1:" + std::to_string(server.port());
  }

  TempDir dir_;
  Settings settings_;
};

TEST_F(ZcdDbSubmitTest, MailsTheEntryWithItsRevisionRaisedAndLeavesTheDatabaseAlone) {
  std::vector<std::string> received;
  LoopbackServer server([&](ServerPeer& peer) { received = ServeMail(peer, kAccepting, 5s); });
  settings_.SmtpServer = At(server);
  const std::string stored = dir_.Read("home/ZCD.zdb");
  const ToolRun run = Submit("0c01a202");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Submitted rock/0c01a202 by mail to submit@gnudb.org through " + At(server) + "\n");
  ASSERT_TRUE(WaitUntil([&] { return server.finished() == 1; }));
  ASSERT_EQ(received.size(), 6u);
  const std::string& mail = received[4];
  EXPECT_TRUE(
      mail.starts_with("From: me@example.org\r\nTo: submit@gnudb.org\r\n"
                       "Subject: cddb rock 0c01a202\r\n\r\n# xmcd"))
      << mail;
  EXPECT_NE(mail.find("\r\n# Revision: 3\r\n"), std::string::npos) << mail;
  EXPECT_NE(mail.find("\r\nPLAYORDER=\r\n.\r\n"), std::string::npos) << mail;
  EXPECT_EQ(dir_.Read("home/ZCD.zdb"), stored);
}

// Standard input holds "y", which must not be taken for a yes to setting
// up: the tool says what is missing and sends nothing.
TEST_F(ZcdDbSubmitTest, NotSetUpNamesWhatIsMissing) {
  LoopbackServer server([](ServerPeer& peer) { ServeMail(peer, kAccepting, 5s); });
  settings_.SmtpServer = At(server);
  settings_.UserEmail.reset();
  ToolRun run = Submit("0c01a202");
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.err,
            "zcd-db: submitting by mail is not set up, UserEmail is missing: set it on "
            "the Submitting page of the player's CDDB settings, or in [SubmitInfo] of " +
                ini() + "\n");
  EXPECT_EQ(server.accepted(), 0);

  settings_.SubmitMethod = kSubmitByHttp;
  run = Submit("0c01a202");
  EXPECT_EQ(run.status, 1);
  EXPECT_TRUE(
      run.err.starts_with("zcd-db: submitting over HTTP is not set up, UserEmail and a "
                          "CDDB server are missing: set UserEmail on "))
      << run.err;
  EXPECT_TRUE(
      run.err.ends_with("; add a server on the Servers page of the CDDB settings, or in "
                        "[Servers] of " +
                        ini() + "\n"))
      << run.err;
}

TEST_F(ZcdDbSubmitTest, RefusalsSayWhyAndExitWithTheirStatus) {
  struct Case {
    std::string id;
    MailScript script;  // no greeting: the server hangs up at once
    int status;         // 3: the server was reached
    std::string err;    // how standard error begins
  };
  const Case cases[] = {
      {"electronic/0c01a202", kAccepting, 1, "In order to submit a CD to the CD database"},
      {"99999999", kAccepting, 1, "zcd-db: no entry matches '99999999'\n"},
      {"rock/",
       {"220 hi\r\n", {"250 hi\r\n", "550 no\r\n"}},
       3,
       "zcd-db: the server refused the submission\n"},
      {"0c01a202", {}, 3, "zcd-db: could not reach the server, or it did not answer in time\n"},
  };
  for (const Case& c : cases) {
    LoopbackServer server([&](ServerPeer& peer) {
      if (!c.script.greeting.empty())
        ServeMail(peer, c.script, 5s);
    });
    settings_.SmtpServer = At(server);
    const ToolRun run = Submit(c.id);
    EXPECT_EQ(run.status, c.status) << c.id;
    EXPECT_TRUE(run.err.starts_with(c.err)) << c.id << ": " << run.err;
    EXPECT_EQ(run.out, "") << c.id;
    const int connections = c.status == 3 ? 1 : 0;
    EXPECT_TRUE(WaitUntil([&] { return server.finished() == connections; })) << c.id;
    EXPECT_EQ(server.accepted(), connections) << c.id;
  }
}

TEST_F(ZcdDbSubmitTest, OverHttpPostsToTheDefaultServer) {
  std::string request;
  LoopbackServer server([&](ServerPeer& peer) {
    request = ServeHttpPost(peer, "HTTP/1.0 200 OK\r\n\r\n200 OK, submission has been sent.\r\n");
  });
  settings_.SubmitMethod = kSubmitByHttp;
  settings_.NumServers = 1;
  settings_.Server = {
      FormatServerLine({"127.0.0.1", server.port(), 1, "Here", "HTTP", "/~cddb/cddb.cgi"})};
  const ToolRun run = Submit("rock/0c01a202");
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(run.out,
            "Submitted rock/0c01a202 over HTTP to http://" + At(server) + "/~cddb/submit.cgi\n");
  ASSERT_TRUE(WaitUntil([&] { return server.finished() == 1; }));
  EXPECT_TRUE(request.starts_with("POST /~cddb/submit.cgi HTTP/1.0\r\n")) << request;
  EXPECT_NE(request.find("\r\nCategory: rock\r\nDiscid: 0c01a202\r\n"), std::string::npos);
  EXPECT_NE(request.find("\r\n# Revision: 3\r\n"), std::string::npos) << request;
}

}  // namespace
}  // namespace zcd::test
