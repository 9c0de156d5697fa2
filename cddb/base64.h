#pragma once

#include <string>
#include <string_view>

namespace zcd {

// MIME Base64 with "=" padding. A line break "\r\n" follows every 72 output
// characters, never at the very end.
std::string EncodeBase64(std::string_view input);

// The same characters in one line, for a header that must not break.
std::string EncodeBase64Unbroken(std::string_view input);

}  // namespace zcd
