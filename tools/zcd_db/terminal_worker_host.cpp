#include "tools/zcd_db/terminal_worker_host.h"

#include <charconv>
#include <cstdio>
#include <vector>

#include "base/cddb_status.h"
#include "base/windows1252.h"
#include "cddb/query_text.h"
#include "discdb/entry_text_encoding.h"
#include "tools/zcd_db/commands.h"

namespace zcd::tool {
namespace {

// One line of standard input without its line end; none at the end of input.
std::optional<std::string> ReadAnswer() {
  std::string line;
  int c = 0;
  while ((c = std::fgetc(stdin)) != EOF && c != '\n')
    line += static_cast<char>(c);
  if (c == EOF && line.empty())
    return std::nullopt;
  while (!line.empty() && (line.back() == '\r' || line.back() == ' '))
    line.pop_back();
  return line;
}

void Prompt(const std::string& text) {
  std::fputs(text.c_str(), stderr);
  std::fflush(stderr);
}

// Server texts come in UTF-8 or Latin-1; the terminal wants UTF-8.
std::string ForTerminal(const std::string& server_text) {
  return Windows1252ToUtf8(EntryBytesToStored(server_text));
}

void ListMatches(const std::vector<CddbMatch>& matches, const std::string& disc_id) {
  std::string list = "Close matches for disc " + disc_id + ":\n";
  for (size_t i = 0; i < matches.size(); ++i) {
    list += "  " + std::to_string(i + 1) + ") " + matches[i].category + " " + matches[i].disc_id +
            "  " + ForTerminal(matches[i].title) + "\n";
  }
  Prompt(list);
}

}  // namespace

void TerminalWorkerHost::PostStatus(int code) {
  last_status_ = code;
  switch (code) {
    case kCddbStatusNoSockets:
      Report("the network cannot be used");
      break;
    case kCddbStatusUnreachable:
      Report("could not reach the server, or it did not answer in time");
      break;
    case kCddbStatusNoMatch:
      if (choice_ == Choice::kNone)
        Report("no match chosen");
      else if (choice_ == Choice::kNoneOffered)
        Report("the server listed close matches for disc " + disc_id_ + " but named none");
      else if (choice_ != Choice::kOutOfRange)
        Report("the server has no entry for disc " + disc_id_);
      break;
    case kCddbStatusClear:
      Report("the query was cut short");
      break;
    case kCddbStatusMailRefused:
      Report("the server refused the submission");
      break;
    default:
      break;  // progress, and the end of a filing, need no words
  }
}

MessageBoxAnswer TerminalWorkerHost::Ask(const std::string& text, MessageBoxStyle /*style*/,
                                         MessageBoxButtons buttons) {
  if (buttons == MessageBoxButtons::kOk || buttons == MessageBoxButtons::kOkCancel) {
    warned_ = true;
    Prompt(text + "\n");
    return MessageBoxAnswer::kOk;
  }
  if (yes_no_ == YesNo::kAnswerNo) {
    declined_ = true;
    return MessageBoxAnswer::kNo;
  }
  Prompt(text + " [y/N] ");
  const std::optional<std::string> answer = ReadAnswer();
  if (!answer)
    Prompt("\n");
  if (answer && (answer->starts_with('y') || answer->starts_with('Y')))
    return MessageBoxAnswer::kYes;
  declined_ = true;
  return MessageBoxAnswer::kNo;
}

int TerminalWorkerHost::ChooseMatch(const std::string& reply) {
  const std::vector<CddbMatch> matches = ParseMatches(reply);
  const int count = static_cast<int>(matches.size());
  if (count == 0) {
    choice_ = Choice::kNoneOffered;
    return -1;
  }
  if (pick_) {
    if (*pick_ <= count) {
      choice_ = Choice::kTaken;
      return *pick_ - 1;
    }
    ListMatches(matches, disc_id_);
    Report("--pick " + std::to_string(*pick_) + " is more than the " + std::to_string(count) +
           " matches offered");
    choice_ = Choice::kOutOfRange;
    return -1;
  }
  ListMatches(matches, disc_id_);
  while (true) {
    Prompt("Take which (1-" + std::to_string(count) + ", Enter for none)? ");
    const std::optional<std::string> answer = ReadAnswer();
    if (!answer)
      Prompt("\n");
    if (!answer || answer->empty() || *answer == "0") {
      choice_ = Choice::kNone;
      return -1;
    }
    int number = 0;
    const auto [end, error] =
        std::from_chars(answer->data(), answer->data() + answer->size(), number);
    if (error == std::errc() && end == answer->data() + answer->size() && number >= 1 &&
        number <= count) {
      choice_ = Choice::kTaken;
      return number - 1;
    }
  }
}

}  // namespace zcd::tool
