#include "cddb/submit_cd.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "base/cddb_status.h"
#include "base/command_ids.h"
#include "cddb/cddb_requests.h"
#include "cddb/client_identity.h"
#include "cddb/net_log.h"
#include "cddb/submission_text.h"
#include "discdb/disc_record.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

constexpr char kNotSetUpText[] =
    "You don't have CDDB submitting set up yet.\nDo you wish to set it up now?";
constexpr char kUnofficialCategoryText[] =
    "In order to submit a CD to the CD database, it must have\none of the following official "
    "CDDB categories:\n\nblues, classical, country, data, folk, jazz, misc, newage,\nreggae, "
    "rock, or soundtrack.\n\nPlease change the category and re-submit.";
constexpr char kUnsafeAddressText[] =
    "The email addresses for submitting must each be on one line.\nPlease remove the line break "
    "on the Submitting page of the CDDB settings.";
// The CDDB settings window's Submitting page.
constexpr int64_t kSubmittingPage = 11;
constexpr size_t kMaxHostName = 127;

// From the lock on: every way out closes the socket, gives the lock back and
// writes the log's stop line.
class SubmitStretch {
 public:
  SubmitStretch(const CddbWorkerContext& context, CddbConnection& connection)
      : context_(context), connection_(connection) {
    context_.log.Write(LogStart);
    context_.log.Write(LogInfo, "Submit initiated\r\n");
  }
  ~SubmitStretch() {
    connection_.Close();
    context_.query_lock.release();
    context_.log.Write(LogStop);
  }
  SubmitStretch(const SubmitStretch&) = delete;
  SubmitStretch& operator=(const SubmitStretch&) = delete;

 private:
  const CddbWorkerContext& context_;
  CddbConnection& connection_;
};

// HELO names the machine as it is, blanks and all.
std::string MailHostName() {
  const std::optional<std::string> host = SystemHostName();
  if (!host || host->size() < 2)
    return "unknown";
  return host->substr(0, kMaxHostName);
}

// One reply, over as many lines as it takes, logged; whether its code is
// the one expected.
bool Answered(CddbConnection& connection, int expected) {
  const std::optional<std::string> reply = connection.ReadReply(ReplyMode::SmtpReply);
  connection.log().Write(LogReceived, reply);
  return reply && SmtpReplyCode(*reply) == expected;
}

bool Sent(CddbConnection& connection, std::string_view bytes) {
  connection.log().Write(LogSent, bytes);
  return connection.Send(bytes);
}

void SubmitByMail(const CddbWorkerContext& context, CddbConnection& connection, std::string entry,
                  const std::string& category, const std::string& disc_id) {
  NetLog& log = context.log;
  const std::string server_text = context.settings.SmtpServer.value_or("");
  const MailServer server = ParseMailServer(server_text);
  context.host.PostStatus(kCddbStatusConnecting);
  switch (connection.ConnectDirect(server.host, server.port)) {
    case ConnectResult::kConnected:
      break;
    case ConnectResult::kNoAddress: {
      context.host.PostStatus(kCddbStatusUnreachable);
      char line[300];
      std::snprintf(line, sizeof line, "GetHostName failed for smtp server: \"%s\"\r\n",
                    server_text.c_str());
      log.Write(LogInfo, line);
      log.Write(LogInfo, "GetHostName failed\r\n");
      return;
    }
    case ConnectResult::kNoConnection:
    case ConnectResult::kStopped:
      context.host.PostStatus(kCddbStatusUnreachable);
      log.Write(LogInfo, "Connect failed\r\n");
      return;
  }
  const std::optional<std::string> greeting = connection.ReadReply(ReplyMode::SmtpReply);
  log.Write(LogReceived, greeting);
  if (!greeting) {
    context.host.PostStatus(kCddbStatusUnreachable);
    log.Write(LogInfo, "No connect message\r\n");
    return;
  }
  const std::string sender = *context.settings.UserEmail;
  const std::string recipient = SubmissionAddress(context.settings);
  context.host.PostStatus(kCddbStatusMailAnswered);
  for (const SmtpStep& step : SmtpSteps(MailHostName(), sender, recipient)) {
    if (!Sent(connection, step.command) || !Answered(connection, step.expected)) {
      context.host.PostStatus(kCddbStatusMailRefused);
      return;
    }
  }
  const std::string mail = SubmissionMail(std::move(entry), sender, recipient, category, disc_id);
  const size_t header_end = mail.find("\r\n\r\n") + 4;
  const std::string_view data = mail;
  if (!Sent(connection, data.substr(0, header_end)) || !Sent(connection, data.substr(header_end)) ||
      !Answered(connection, 250)) {
    context.host.PostStatus(kCddbStatusMailRefused);
    return;
  }
  // The mail is in; what the server says to QUIT changes nothing.
  log.Write(LogInfo, "QUIT\r\n");
  connection.Send("QUIT\r\n");
  context.host.PostStatus(kCddbStatusSubmitted);
}

void SubmitByHttp(const CddbWorkerContext& context, CddbConnection& connection, std::string entry,
                  const std::string& category, const std::string& disc_id) {
  NetLog& log = context.log;
  // CheckSubmission made sure there is a server.
  const HttpServer server = *HttpSubmitServer(context.settings);
  context.host.PostStatus(kCddbStatusConnecting);
  switch (connection.Connect(server.host, server.port)) {
    case ConnectResult::kConnected:
      break;
    case ConnectResult::kNoAddress:
      context.host.PostStatus(kCddbStatusUnreachable);
      return;
    case ConnectResult::kNoConnection:
    case ConnectResult::kStopped:
      context.host.PostStatus(kCddbStatusUnreachable);
      log.Write(LogInfo, "Connect failed\r\n");
      return;
  }
  context.host.PostStatus(kCddbStatusMailAnswered);
  const std::string body = SubmissionBody(std::move(entry));
  const std::string head = HttpSubmitHead(connection.settings(), server, category, disc_id,
                                          *context.settings.UserEmail, body.size());
  log.Write(LogSent, head + "\r\n");
  bool sent = connection.Send(head);
  if (sent && connection.settings().SendsProxyAuth()) {
    const std::string auth = ProxyAuthHeader(connection.settings());
    sent = auth.empty() || connection.Send(auth + "\r\n");
  }
  sent = sent && connection.Send("\r\n") && Sent(connection, body);
  // Read until the server closes (HTTP 1.0), as a query's reply is.
  const std::optional<std::string> reply =
      sent ? connection.ReadReply(ReplyMode::MultiLineReply) : std::nullopt;
  log.Write(LogReceived, reply);
  context.host.PostStatus(reply && HttpSubmitAccepted(*reply) ? kCddbStatusSubmitted
                                                              : kCddbStatusMailRefused);
}

}  // namespace

void SubmitCd(const CddbWorkerContext& context, CddbConnection& connection,
              std::string entry_text) {
  DiscRecord record;
  if (ReadTocFromEntry(record, entry_text))
    ReadEntryIntoRecord(record, entry_text, false);
  const std::optional<std::string> category = record.Category();
  const std::optional<std::string> disc_id = record.DiscIdText();
  CddbWorkerHost& host = context.host;
  switch (CheckSubmission(context.settings, category, disc_id)) {
    case SubmitCheck::kReady:
      break;
    case SubmitCheck::kNotSetUp:
      if (host.Ask(kNotSetUpText, MessageBoxStyle::kQuestion, MessageBoxButtons::kYesNo) ==
          MessageBoxAnswer::kYes) {
        host.PostCommand(kCmdCddbSettings, kSubmittingPage);
      }
      return;
    case SubmitCheck::kUnsafeAddress:
      host.Ask(kUnsafeAddressText, MessageBoxStyle::kExclamation, MessageBoxButtons::kOk);
      return;
    case SubmitCheck::kNoInformation:
      host.Ask(kNoInformationText, MessageBoxStyle::kInformation, MessageBoxButtons::kOk);
      return;
    case SubmitCheck::kUnofficialCategory:
      host.Ask(kUnofficialCategoryText, MessageBoxStyle::kExclamation, MessageBoxButtons::kOk);
      return;
  }
  if (!context.query_lock.try_acquire())
    return;
  const SubmitStretch stretch(context, connection);
  if (context.settings.SubmitMethod == kSubmitByHttp)
    SubmitByHttp(context, connection, std::move(entry_text), *category, *disc_id);
  else
    SubmitByMail(context, connection, std::move(entry_text), *category, *disc_id);
}

}  // namespace zcd
