#include "cddb/reply_mode.h"

#include <cctype>

namespace zcd {
namespace {

// CDDB status codes with a 1 in the middle ("210", "211") announce lines to
// follow; any other code ("401 No such entry") is the whole answer, which
// the server follows with nothing.
bool StatusLineOnly(std::string_view data) {
  return data.size() >= 3 && std::isdigit(static_cast<unsigned char>(data[0])) &&
         std::isdigit(static_cast<unsigned char>(data[1])) && data[1] != '1' &&
         data.find('\n') == data.size() - 1;
}

}  // namespace

bool ReplyComplete(std::string_view data, ReplyMode mode) {
  switch (mode) {
    case ReplyMode::MultiLineReply:
      return data == ".\r\n" || data.ends_with("\r\n.\r\n") || StatusLineOnly(data);
    case ReplyMode::LineReply:
      // An HTTP status line that came on its own is only the head's start.
      return !data.empty() && data.find('\n') == data.size() - 1 && !data.starts_with("HTTP/");
    case ReplyMode::SmtpReply: {
      if (!data.ends_with('\n'))
        return false;
      const size_t previous = data.rfind('\n', data.size() - 2);
      const std::string_view last =
          previous == std::string_view::npos ? data : data.substr(previous + 1);
      return last.size() < 4 || last[3] != '-';
    }
    case ReplyMode::AutoReply:
      break;
  }
  return false;
}

ReplyMode SettleAutoMode(std::string_view data) {
  return data.starts_with("211") ? ReplyMode::MultiLineReply : ReplyMode::LineReply;
}

}  // namespace zcd
