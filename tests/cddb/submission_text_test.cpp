#include "cddb/submission_text.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

// The checks by mail are shown through the worker's questions.
TEST(SubmissionTextTest, ByHttpTheSenderAndAServerAreNeededButNoMailServer) {
  Settings settings;
  const std::optional<std::string> rock = "rock";
  const std::optional<std::string> id = "0c01a202";
  settings.SubmitMethod = kSubmitByHttp;
  settings.UserEmail = "me@example";
  EXPECT_EQ(CheckSubmission(settings, rock, id), SubmitCheck::kNotSetUp);  // no server
  settings.NumServers = 1;
  settings.Server = {"cddb.example 80 HTTP /~cddb/cddb.cgi 1 Here."};
  EXPECT_EQ(CheckSubmission(settings, rock, id), SubmitCheck::kReady);
  // The mail's recipient plays no part over HTTP; the sender goes into a
  // header, where a line break would start another.
  settings.SubmitAddress = "a@example\r\nDATA";
  EXPECT_EQ(CheckSubmission(settings, rock, id), SubmitCheck::kReady);
  settings.UserEmail = "me@example\nCategory: misc";
  EXPECT_EQ(CheckSubmission(settings, rock, id), SubmitCheck::kUnsafeAddress);
  settings.UserEmail.reset();
  settings.SmtpServer = "mail.example";
  EXPECT_EQ(CheckSubmission(settings, rock, id), SubmitCheck::kNotSetUp);
}

TEST(SubmissionTextTest, MailServerNamesItsPortAfterAColonAndTheAddressHasADefault) {
  const std::pair<const char*, MailServer> cases[] = {
      {"mail.example", {"mail.example", 25}},
      {"mail.example:2525", {"mail.example", 2525}},
      {"127.0.0.1:65535", {"127.0.0.1", 65535}},
      {"mail.example:0", {"mail.example:0", 25}},
      {"mail.example:65536", {"mail.example:65536", 25}},
      {"mail.example:25x", {"mail.example:25x", 25}},
      {"mail.example:", {"mail.example:", 25}},
      {"::1", {"::1", 25}},
  };
  for (const auto& [text, want] : cases)
    EXPECT_EQ(ParseMailServer(text), want) << text;

  Settings settings;
  EXPECT_EQ(SubmissionAddress(settings), "submit@gnudb.org");
  settings.SubmitAddress = "";
  EXPECT_EQ(SubmissionAddress(settings), "submit@gnudb.org");
  settings.SubmitAddress = "entries@cddb.example";
  EXPECT_EQ(SubmissionAddress(settings), "entries@cddb.example");
}

TEST(SubmissionTextTest, TheMailLeavesOutTheHeadAndPlayOrderAndEscapesDotLines) {
  const std::string entry =
      "200 rock 0c01a202\r\n"
      "# xmcd CD database file\r\n"
      "DTITLE=Artist / Album\r\n"
      "EXTD=\r\n"
      ".\r\n"  // a line of the user's liner notes, not the end
      "..hidden\r\n"
      "PLAYORDER=2,1\r\n"
      ".\r\n";
  EXPECT_EQ(SubmissionMail(entry, "me@example", "submit@cddb.example", "rock", "0c01a202"),
            "From: me@example\r\nTo: submit@cddb.example\r\nSubject: cddb rock 0c01a202\r\n\r\n"
            "# xmcd CD database file\r\n"
            "DTITLE=Artist / Album\r\n"
            "EXTD=\r\n"
            "..\r\n"
            "...hidden\r\n"
            "PLAYORDER=\r\n"
            ".\r\n");
  // Without its closing line the data is closed all the same.
  const std::string mail =
      SubmissionMail("200 rock 0c01a202\n# xmcd\nPLAYORDER=\n", "a", "b", "rock", "0c01a202");
  EXPECT_TRUE(mail.ends_with("# xmcd\r\nPLAYORDER=\r\n.\r\n")) << mail;
}

// The commands are shown on the wire by the worker's dialogue.
TEST(SubmissionTextTest, RepliesOverSeveralLinesEndWithTheirCodedLine) {
  EXPECT_EQ(SmtpReplyCode("220-mail.example ESMTP\r\n"), std::nullopt);
  EXPECT_EQ(SmtpReplyCode("220-mail.example ESMTP\r\n220 ready\r\n"), 220);
  EXPECT_EQ(SmtpReplyCode("250 OK"), std::nullopt);  // the line is not finished
  EXPECT_EQ(SmtpReplyCode("garbage\r\n"), 0);
}

}  // namespace
}  // namespace zcd
