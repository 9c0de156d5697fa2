#pragma once

#include <string_view>

namespace zcd {

enum class ReplyMode {
  LineReply,       // one line
  MultiLineReply,  // lines up to one holding only ".", or a lone status line
                   // that announces none (a code without 1 in the middle)
  AutoReply,       // multi-line when the reply starts with "211", else one line
  SmtpReply,       // lines up to one whose code is not followed by "-"
};

// Whether the data received so far is a whole reply. Judged on all of it, so
// a terminator split over two reads or a line ending in "." before it
// changes nothing. A one-line reply holds one line feed, at its end: an
// HTTP reply (head and all) is only ever ended by the server closing.
bool ReplyComplete(std::string_view data, ReplyMode mode);

// The mode an AutoReply read settles on once three bytes have arrived.
ReplyMode SettleAutoMode(std::string_view data);

}  // namespace zcd
