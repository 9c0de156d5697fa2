#include "cddb/reply_mode.h"

namespace zcd {

bool ReplyComplete(std::string_view data, ReplyMode mode) {
  switch (mode) {
    case ReplyMode::MultiLineReply:
      return data == ".\r\n" || data.ends_with("\r\n.\r\n");
    case ReplyMode::LineReply:
      return !data.empty() && data.find('\n') == data.size() - 1;
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
