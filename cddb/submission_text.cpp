#include "cddb/submission_text.h"

#include <cctype>

#include "base/text.h"
#include "discdb/entry_text.h"

namespace zcd {

bool IsOfficialCategory(std::string_view category) {
  for (const char* official : kOfficialCategories) {
    if (EqualsIgnoringCase(category, official))
      return true;
  }
  return false;
}

SubmitCheck CheckSubmission(const Settings& settings, const std::optional<std::string>& category,
                            const std::optional<std::string>& disc_id) {
  if (!settings.SmtpServer || settings.SmtpServer->empty() || !settings.UserEmail ||
      settings.UserEmail->empty()) {
    return SubmitCheck::kNotSetUp;
  }
  if (settings.UserEmail->find_first_of("\r\n") != std::string::npos)
    return SubmitCheck::kUnsafeAddress;
  if (!category || !disc_id)
    return SubmitCheck::kNoInformation;
  if (!IsOfficialCategory(*category))
    return SubmitCheck::kUnofficialCategory;
  return SubmitCheck::kReady;
}

std::string SubmissionMail(std::string entry, std::string_view sender, std::string_view recipient,
                           std::string_view category, std::string_view disc_id) {
  // The play order is this player's own business.
  SetEntryValue("PLAYORDER=", std::string(), entry);
  std::string mail = "From: " + std::string(sender) + "\r\nTo: " + std::string(recipient) +
                     "\r\nSubject: cddb " + std::string(category) + " " + std::string(disc_id) +
                     "\r\n\r\n";
  const size_t head_end = entry.find('\n');
  std::string_view body = head_end == std::string::npos
                              ? std::string_view()
                              : std::string_view(entry).substr(head_end + 1);
  bool closed = false;
  while (!body.empty()) {
    const size_t end = body.find('\n');
    const std::string_view line =
        body.substr(0, end == std::string_view::npos ? body.size() : end + 1);
    body.remove_prefix(line.size());
    const bool last_line = body.empty();
    std::string_view bare = line;
    while (!bare.empty() && (bare.back() == '\n' || bare.back() == '\r'))
      bare.remove_suffix(1);
    if (last_line && bare == ".") {
      closed = true;
      mail += ".\r\n";
      break;
    }
    if (bare.starts_with('.'))
      mail += '.';
    mail += bare;
    mail += "\r\n";
  }
  if (!closed)
    mail += ".\r\n";
  return mail;
}

std::vector<SmtpStep> SmtpSteps(std::string_view host_name, std::string_view sender,
                                std::string_view recipient) {
  return {{"HELO " + std::string(host_name) + "\r\n", 250},
          {"MAIL FROM:<" + std::string(sender) + ">\r\n", 250},
          {"RCPT TO:<" + std::string(recipient) + ">\r\n", 250},
          {"DATA\r\n", 354}};
}

std::optional<int> SmtpReplyCode(std::string_view received) {
  while (!received.empty()) {
    const size_t end = received.find('\n');
    if (end == std::string_view::npos)
      return std::nullopt;
    const std::string_view line = received.substr(0, end);
    received.remove_prefix(end + 1);
    if (line.size() >= 4 && line[3] == '-')
      continue;
    if (line.size() < 3 || !std::isdigit(static_cast<unsigned char>(line[0])) ||
        !std::isdigit(static_cast<unsigned char>(line[1])) ||
        !std::isdigit(static_cast<unsigned char>(line[2]))) {
      return 0;
    }
    return (line[0] - '0') * 100 + (line[1] - '0') * 10 + (line[2] - '0');
  }
  return std::nullopt;
}

}  // namespace zcd
