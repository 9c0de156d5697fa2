#include "cddb/query_text.h"

#include <algorithm>
#include <cstdio>

#include "discdb/disc_id.h"
#include "discdb/entry_text.h"

namespace zcd {

std::string QueryCommand(const DiscTiming& timing) {
  char id[16];
  std::snprintf(id, sizeof id, "%08x", ComputeCddbDiscId(timing));
  std::string command = "cddb query " + std::string(id) + " " + std::to_string(timing.track_count);
  for (int i = 0; i < timing.track_count; ++i)
    command += " " + std::to_string(timing.toc[static_cast<size_t>(i)].frame_address);
  return command + " " + std::to_string(timing.disc_seconds) + "\r\n";
}

std::string ReadCommand(std::string_view category, std::string_view disc_id) {
  return "cddb read " + std::string(category) + " " + std::string(disc_id) + "\r\n";
}

std::string HttpCommand(std::string_view command) {
  std::string cmd(command.substr(0, command.find_first_of("\r\n")));
  std::replace(cmd.begin(), cmd.end(), ' ', '+');
  return cmd;
}

std::vector<CddbMatch> ParseMatches(std::string_view body) {
  std::vector<CddbMatch> matches;
  size_t next = body.find('\n');
  while (next != std::string_view::npos) {
    const size_t begin = next + 1;
    next = body.find('\n', begin);
    std::string_view line =
        body.substr(begin, next == std::string_view::npos ? next : next - begin);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    const size_t first = line.find(' ');
    const size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos || first == 0 || second == first + 1)
      break;
    matches.push_back({std::string(line.substr(0, first)),
                       std::string(line.substr(first + 1, second - first - 1)),
                       std::string(line.substr(second + 1))});
  }
  return matches;
}

std::optional<ReadTarget> JudgeQueryReply(std::string_view body,
                                          const std::function<int(std::string_view)>& choose) {
  int line = 0;
  if (body.starts_with("200")) {
    line = 1;
  } else if (body.starts_with("211")) {
    const int index = choose(body);
    if (index < 0)
      return std::nullopt;
    line = index + 2;
  } else {
    return std::nullopt;
  }
  std::optional<std::string> category = HeadCategory(body, line);
  std::optional<std::string> disc_id = HeadDiscId(body, line);
  if (!category || !disc_id)
    return std::nullopt;
  return ReadTarget{std::move(*category), std::move(*disc_id)};
}

std::optional<ServerEntry> ChooseServer(std::vector<ServerEntry>& list) {
  if (list.empty())
    return std::nullopt;
  const auto marked = std::find_if(list.begin(), list.end(),
                                   [](const ServerEntry& entry) { return entry.is_default != 0; });
  if (marked != list.end())
    return *marked;
  list.front().is_default = 1;
  return list.front();
}

}  // namespace zcd
