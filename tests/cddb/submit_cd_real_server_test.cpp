#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "base/cddb_status.h"
#include "cddb/real_smtp_server.h"
#include "cddb/submit_fixture.h"

namespace zcd {
namespace {

// CI sets ZCD_REQUIRE_REAL_SERVERS=1, where a missing server is a failure.
bool RealServersRequired() {
  const char* value = std::getenv("ZCD_REQUIRE_REAL_SERVERS");
  return value && std::string(value) == "1";
}

TEST(SubmitCdRealServerTest, AMailServerReceivesTheEntryWhole) {
  std::string reason;
  if (!test::RealSmtpServer::Available(&reason)) {
    if (RealServersRequired())
      FAIL() << reason;
    GTEST_SKIP() << reason;
  }
  test::RealSmtpServer server;
  ASSERT_NE(server.port(), 0) << server.server_log();

  // Once to the default address, once to one of the user's choosing.
  for (const char* address : {"", "entries@cddb.test"}) {
    test::SubmitWorker worker;
    worker.settings.SmtpServer = "127.0.0.1:" + std::to_string(server.port());
    if (*address)
      worker.settings.SubmitAddress = address;
    worker.Submit(test::SubmitEntry("rock"));
    EXPECT_EQ(
        worker.host.statuses(),
        (std::vector<int>{kCddbStatusConnecting, kCddbStatusMailAnswered, kCddbStatusSubmitted}))
        << worker.Log();
  }

  // The server takes the doubled dots off again, so the notes' "." line
  // arrives as it was, and the data ends with the entry's own "." line.
  const std::string entry =
      "# xmcd CD database file\r\n#\r\n# Track frame offsets:\r\n#\t150\r\n#\t14250\r\n#\r\n"
      "# Disc length: 420 seconds\r\n#\r\n# Revision: 2\r\n#\r\nDISCID=0c01a202\r\n"
      "DTITLE=Artist / Album\r\nTTITLE0=One\r\nTTITLE1=Two\r\nEXTD=Notes\r\n.\r\n..x\r\n"
      "EXTT0=\r\nEXTT1=\r\nPLAYORDER=\r\n";
  EXPECT_EQ(server.Message(1),
            "MAIL FROM: me@example.org\nRCPT TO: submit@gnudb.org\nDATA\n"
            "From: me@example.org\r\nTo: submit@gnudb.org\r\nSubject: cddb rock 0c01a202\r\n\r\n" +
                entry);
  EXPECT_EQ(server.Message(2),
            "MAIL FROM: me@example.org\nRCPT TO: entries@cddb.test\nDATA\n"
            "From: me@example.org\r\nTo: entries@cddb.test\r\nSubject: cddb rock 0c01a202\r\n\r\n" +
                entry);
}

}  // namespace
}  // namespace zcd
