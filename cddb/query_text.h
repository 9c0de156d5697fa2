#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cddb/server_list.h"
#include "discdb/disc_timing.h"

// The texts of a CDDB query and read, apart from how they travel.
namespace zcd {

// "cddb query <id> <n> <frames>... <seconds>" with CR LF, as CDDBP sends it.
std::string QueryCommand(const DiscTiming& timing);
// "cddb read <category> <id>" with CR LF.
std::string ReadCommand(std::string_view category, std::string_view disc_id);
// The same command as the "cmd=" value of an HTTP request: blanks become
// "+" and the line end goes.
std::string HttpCommand(std::string_view command);

// One close match of a 211 reply, as the match dialog lists it.
struct CddbMatch {
  std::string category;
  std::string disc_id;
  std::string title;
  bool operator==(const CddbMatch&) const = default;
};
// The match lines after the status line, up to the first incomplete one
// (so the closing "." adds none).
std::vector<CddbMatch> ParseMatches(std::string_view body);

// What a query reply asks for next: the entry to read, or nothing (a
// 202, an error, or no match chosen).
struct ReadTarget {
  std::string category;
  std::string disc_id;
  bool operator==(const ReadTarget&) const = default;
};
// `body` is the reply without an HTTP head. For a 211 reply `choose` picks
// a match (-1 for none); it is not called for other codes.
std::optional<ReadTarget> JudgeQueryReply(std::string_view body,
                                          const std::function<int(std::string_view)>& choose);

// The server a query talks to: the first default entry, or else the first
// entry, which then becomes the default. None for an empty list.
std::optional<ServerEntry> ChooseServer(std::vector<ServerEntry>& list);

}  // namespace zcd
