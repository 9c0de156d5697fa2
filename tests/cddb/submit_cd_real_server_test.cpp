#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/cddb_status.h"
#include "cddb/real_smtp_server.h"
#include "cddb/submit_fixture.h"
#include "support/basic_auth_proxy.h"

namespace zcd {
namespace {

TEST(SubmitCdRealServerTest, AMailServerReceivesTheEntryWhole) {
  std::string reason;
  if (!test::RealSmtpServer::Available(&reason)) {
    if (test::RealServersRequired())
      FAIL() << reason;
    GTEST_SKIP() << reason;
  }
  test::RealSmtpServer server;
  ASSERT_NE(server.port(), 0) << server.server_log();

  // Once to the default address, once to one of the user's choosing.
  int message = 0;
  for (const std::string address : {"submit@gnudb.org", "entries@cddb.test"}) {
    test::SubmitWorker worker;
    worker.settings.SmtpServer = "127.0.0.1:" + std::to_string(server.port());
    if (message > 0)
      worker.settings.SubmitAddress = address;
    worker.Submit(test::SubmitEntry("rock"));
    EXPECT_EQ(
        worker.host.statuses(),
        (std::vector<int>{kCddbStatusConnecting, kCddbStatusMailAnswered, kCddbStatusSubmitted}))
        << worker.Log();
    // The server takes the doubled dots off again, so the notes' "." line
    // arrives as it was, and the data ends with the entry's own "." line.
    EXPECT_EQ(server.Message(++message), "MAIL FROM: me@example.org\nRCPT TO: " + address +
                                             "\nDATA\nFrom: me@example.org\r\nTo: " + address +
                                             "\r\nSubject: cddb rock 0c01a202\r\n\r\n" +
                                             test::kSubmitEntryBody + "PLAYORDER=\r\n");
  }
}

}  // namespace
}  // namespace zcd
