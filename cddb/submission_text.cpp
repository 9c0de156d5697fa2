#include "cddb/submission_text.h"

#include <algorithm>
#include <cctype>

#include "base/text.h"
#include "cddb/query_text.h"
#include "cddb/server_list.h"
#include "discdb/entry_text.h"

namespace zcd {

bool IsOfficialCategory(std::string_view category) {
  for (const char* official : kOfficialCategories) {
    if (EqualsIgnoringCase(category, official))
      return true;
  }
  return false;
}

namespace {

bool Filled(const std::optional<std::string>& text) {
  return text && !text->empty();
}

bool HasLineBreak(const std::optional<std::string>& text) {
  return text && text->find_first_of("\r\n") != std::string::npos;
}

}  // namespace

SubmitCheck CheckSubmission(const Settings& settings, const std::optional<std::string>& category,
                            const std::optional<std::string>& disc_id) {
  const bool by_http = settings.SubmitMethod == kSubmitByHttp;
  const bool has_target = by_http ? !ReadServerList(settings).empty() : Filled(settings.SmtpServer);
  if (!has_target || !Filled(settings.UserEmail))
    return SubmitCheck::kNotSetUp;
  if (HasLineBreak(settings.UserEmail) || (!by_http && HasLineBreak(settings.SubmitAddress)))
    return SubmitCheck::kUnsafeAddress;
  if (!category || !disc_id)
    return SubmitCheck::kNoInformation;
  if (!IsOfficialCategory(*category))
    return SubmitCheck::kUnofficialCategory;
  return SubmitCheck::kReady;
}

std::string SubmissionAddress(const Settings& settings) {
  return Filled(settings.SubmitAddress) ? *settings.SubmitAddress : kDefaultSubmitAddress;
}

MailServer ParseMailServer(std::string_view text) {
  const size_t colon = text.find(':');
  // Several colons make an IPv6 address, not a port.
  if (colon == std::string_view::npos || text.find(':', colon + 1) != std::string_view::npos)
    return {std::string(text), 25};
  const std::string_view digits = text.substr(colon + 1);
  int port = 0;
  for (char c : digits) {
    if (c < '0' || c > '9' || port > 65535)
      return {std::string(text), 25};
    port = port * 10 + (c - '0');
  }
  if (port < 1 || port > 65535)
    return {std::string(text), 25};
  return {std::string(text.substr(0, colon)), port};
}

std::string SubmissionBody(std::string entry) {
  SetEntryValue("PLAYORDER=", std::string(), entry);
  const size_t head_end = entry.find('\n');
  return head_end == std::string::npos ? std::string() : entry.substr(head_end + 1);
}

std::string SubmissionMail(std::string entry, std::string_view sender, std::string_view recipient,
                           std::string_view category, std::string_view disc_id) {
  std::string mail = "From: " + std::string(sender) + "\r\nTo: " + std::string(recipient) +
                     "\r\nSubject: cddb " + std::string(category) + " " + std::string(disc_id) +
                     "\r\n\r\n";
  const std::string whole_body = SubmissionBody(std::move(entry));
  std::string_view body = whole_body;
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

std::optional<HttpServer> HttpSubmitServer(const Settings& settings) {
  std::vector<ServerEntry> list = ReadServerList(settings);
  const std::optional<ServerEntry> chosen = ChooseServer(list);
  if (!chosen)
    return std::nullopt;
  const int port = EqualsIgnoringCase(chosen->protocol, "HTTP") ? chosen->port : 80;
  return HttpServer{chosen->host, port, "/~cddb/submit.cgi"};
}

std::string HttpSubmitHead(const TransportSettings& settings, const HttpServer& server,
                           std::string_view category, std::string_view disc_id,
                           std::string_view sender, size_t body_size) {
  std::string lower_category(category);
  for (char& c : lower_category)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  const std::string port = server.port == 80 ? "" : ":" + std::to_string(server.port);
  return "POST " + HttpRequestTarget(settings, server) + " HTTP/1.0\r\n" + "Host: " + server.host +
         port + "\r\n" + "Category: " + lower_category + "\r\n" +
         "Discid: " + std::string(disc_id) + "\r\n" + "User-Email: " + std::string(sender) +
         "\r\n" + "Submit-Mode: submit\r\n" + "Content-Length: " + std::to_string(body_size) +
         "\r\n";
}

bool HttpSubmitAccepted(std::string_view reply) {
  // "HTTP/1.0 200 OK": the code is the status line's second word.
  std::string_view status = reply.substr(0, reply.find('\n'));
  if (!status.starts_with("HTTP/"))
    return false;
  status.remove_prefix(std::min(status.find(' '), status.size()));
  if (!status.starts_with(" 200") || (status.size() > 4 && status[4] != ' ' && status[4] != '\r'))
    return false;
  return SkipReplyHead(reply).starts_with("200");
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
