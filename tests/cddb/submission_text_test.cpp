#include "cddb/submission_text.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

TEST(SubmissionTextTest, ChecksComeInOrderAndTheCategoryMustBeOfficial) {
  Settings settings;
  const std::optional<std::string> rock = "Rock";
  const std::optional<std::string> id = "0c01a202";
  settings.SmtpServer = "mail.example";
  EXPECT_EQ(CheckSubmission(settings, rock, id), SubmitCheck::kNotSetUp);
  settings.UserEmail = "me@example\r\nRCPT TO:<victim@example>";
  EXPECT_EQ(CheckSubmission(settings, rock, id), SubmitCheck::kUnsafeAddress);
  settings.UserEmail = "me@example";
  EXPECT_EQ(CheckSubmission(settings, std::nullopt, id), SubmitCheck::kNoInformation);
  EXPECT_EQ(CheckSubmission(settings, rock, id), SubmitCheck::kReady);
  for (const char* refused : {"Electronic", "nocategory", "cached"})
    EXPECT_EQ(CheckSubmission(settings, std::string(refused), id),
              SubmitCheck::kUnofficialCategory);
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

TEST(SubmissionTextTest, DialogueStepsAndRepliesOverSeveralLines) {
  const std::vector<SmtpStep> steps = SmtpSteps("box", "me@example", "submit@cddb.example");
  ASSERT_EQ(steps.size(), 4u);
  EXPECT_EQ(steps[0].command, "HELO box\r\n");
  EXPECT_EQ(steps[1].command, "MAIL FROM:<me@example>\r\n");
  EXPECT_EQ(steps[2].command, "RCPT TO:<submit@cddb.example>\r\n");
  EXPECT_EQ(steps[3].command, "DATA\r\n");
  EXPECT_EQ(steps[3].expected, 354);

  EXPECT_EQ(SmtpReplyCode("220-mail.example ESMTP\r\n"), std::nullopt);
  EXPECT_EQ(SmtpReplyCode("220-mail.example ESMTP\r\n220 ready\r\n"), 220);
  EXPECT_EQ(SmtpReplyCode("250 OK"), std::nullopt);  // the line is not finished
  EXPECT_EQ(SmtpReplyCode("garbage\r\n"), 0);
}

}  // namespace
}  // namespace zcd
