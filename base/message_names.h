#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/message.h"

namespace zcd {

// Words for the verbose trace, so a reader sees "main: command pause" where
// the protocol has 273 and 40056. The numbers stay in the text for grepping.

// "pause", "next track", "drive E:", "play entry 3"; none for an id the
// player has no command for.
std::optional<std::string> CommandName(int64_t command);

// "main: command pause (273 40056 0)": the target window, what the message
// asks in words, then its id, wparam and lparam.
std::string DescribeMessage(const Message& message);

}  // namespace zcd
