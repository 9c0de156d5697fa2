#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/settings.h"

// What a submission by mail checks and sends, apart from the connection.
namespace zcd {

inline constexpr const char* kOfficialCategories[] = {"blues",  "classical", "country",   "data",
                                                      "folk",   "jazz",      "misc",      "newage",
                                                      "reggae", "rock",      "soundtrack"};

// Letter case ignored.
bool IsOfficialCategory(std::string_view category);

enum class SubmitCheck {
  kReady,
  kNotSetUp,       // no mail server or no address
  kUnsafeAddress,  // a line break in the address would forge mail commands
  kNoInformation,  // no category or no disc id
  kUnofficialCategory,
};
SubmitCheck CheckSubmission(const Settings& settings, const std::optional<std::string>& category,
                            const std::optional<std::string>& disc_id);

// The mail data after DATA: the header block, then the entry without its
// head line and with an empty play order. Lines that begin with "." are
// doubled so that none ends the data early; the entry's own closing "."
// line ends it (one is added when the entry lacks it).
std::string SubmissionMail(std::string entry, std::string_view sender, std::string_view recipient,
                           std::string_view category, std::string_view disc_id);

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
