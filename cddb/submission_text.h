#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.h"
#include "cddb/cddb_requests.h"
#include "cddb/transport_settings.h"

// What a submission checks and sends, by mail or by HTTP, apart from the
// connection.
namespace zcd {

inline constexpr const char* kOfficialCategories[] = {"blues",  "classical", "country",   "data",
                                                      "folk",   "jazz",      "misc",      "newage",
                                                      "reggae", "rock",      "soundtrack"};

// Letter case ignored.
bool IsOfficialCategory(std::string_view category);

enum class SubmitCheck {
  kReady,
  kNotSetUp,       // no sender, or nowhere to send to (mail server, CDDB server)
  kUnsafeAddress,  // a line break in an address would forge commands or headers
  kNoInformation,  // no category or no disc id
  kUnofficialCategory,
};
// By mail: needs SmtpServer and UserEmail, neither address may hold a line
// break. By HTTP: needs UserEmail and a server in the list.
SubmitCheck CheckSubmission(const Settings& settings, const std::optional<std::string>& category,
                            const std::optional<std::string>& disc_id);

// SubmitAddress, or kDefaultSubmitAddress while it is unset or empty.
std::string SubmissionAddress(const Settings& settings);

// SmtpServer as host and port: "host:port" names the port (1 to 65535),
// anything else is a host name on port 25.
struct MailServer {
  std::string host;
  int port = 25;
  bool operator==(const MailServer&) const = default;
};
MailServer ParseMailServer(std::string_view text);

// The entry as CDDB takes it: without its head line and with an empty play
// order, which is this player's own business.
std::string SubmissionBody(std::string entry);

// The mail data after DATA: the header block, then SubmissionBody. Lines
// that begin with "." are doubled so that none ends the data early; the
// entry's own closing "." line ends it (one is added when the entry lacks
// it).
std::string SubmissionMail(std::string entry, std::string_view sender, std::string_view recipient,
                           std::string_view category, std::string_view disc_id);

// Where an HTTP submission goes: the host of the settings' default server
// (the first when none is marked) at "/~cddb/submit.cgi", on that server's
// port when it speaks HTTP, else on port 80. None without servers.
std::optional<HttpServer> HttpSubmitServer(const Settings& settings);

// The POST's request line and headers, each ending in CR LF, without the
// blank line that ends them (a proxy header may still follow). The category
// goes in lower case, as CDDB names its categories.
std::string HttpSubmitHead(const TransportSettings& settings, const HttpServer& server,
                           std::string_view category, std::string_view disc_id,
                           std::string_view sender, size_t body_size);

// HTTP status 200 and a CDDB reply code 200 after the head.
bool HttpSubmitAccepted(std::string_view reply);

// One step of the mail dialogue: the command and the reply code it needs.
struct SmtpStep {
  std::string command;
  int expected;
};
// HELO, MAIL FROM, RCPT TO and DATA; the mail data is the last step's
// answer, expected 250.
std::vector<SmtpStep> SmtpSteps(std::string_view host_name, std::string_view sender,
                                std::string_view recipient);

// The code of a complete SMTP reply: replies may span lines ("250-..."),
// the last one having a blank after its code. None while more is to come;
// 0 for a last line without a code.
std::optional<int> SmtpReplyCode(std::string_view received);

}  // namespace zcd
