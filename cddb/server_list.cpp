#include "cddb/server_list.h"

#include <algorithm>
#include <cctype>

#include "base/text.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

constexpr char kHttp[] = "HTTP";
constexpr char kSiteListFollows[] = "210";
constexpr size_t kMaxSiteProtocol = 6;
constexpr size_t kMaxSitePort = 6;
constexpr size_t kMaxSiteDescription = 100;

// The next blank-delimited word from `at` on; empty when none is left.
std::string_view NextWord(std::string_view text, size_t& at) {
  while (at < text.size() && text[at] == ' ')
    ++at;
  const size_t start = at;
  while (at < text.size() && text[at] != ' ')
    ++at;
  return text.substr(start, at - start);
}

// Leading decimal digits, with a sign; 0 when there are none.
int32_t LeadingNumber(std::string_view word) {
  size_t i = 0;
  const bool negative = !word.empty() && word[0] == '-';
  if (negative || (!word.empty() && word[0] == '+'))
    i = 1;
  int64_t value = 0;
  for (; i < word.size() && std::isdigit(static_cast<unsigned char>(word[i])); ++i)
    value = std::min<int64_t>(value * 10 + (word[i] - '0'), INT32_MAX);
  return static_cast<int32_t>(negative ? -value : value);
}

bool IsHttp(std::string_view protocol) {
  return protocol == kHttp;
}

}  // namespace

ServerEntry ParseServerLine(std::string_view line) {
  ServerEntry entry;
  size_t at = 0;
  entry.host = NextWord(line, at);
  entry.port = LeadingNumber(NextWord(line, at));
  entry.protocol = NextWord(line, at);
  entry.cgi_path = NextWord(line, at);
  entry.is_default = LeadingNumber(NextWord(line, at));
  while (at < line.size() && (line[at] == ' ' || line[at] == '.'))
    ++at;
  const std::string_view rest = line.substr(std::min(at, line.size()));
  entry.location = rest.substr(0, rest.find('.'));
  return entry;
}

std::string FormatServerLine(const ServerEntry& entry) {
  return entry.host + " " + std::to_string(entry.port) + " " + entry.protocol + " " +
         entry.cgi_path + " " + std::to_string(entry.is_default) + " " + entry.location + ".";
}

void MarkFirstServerDefault(Settings& settings) {
  std::vector<ServerEntry> list = ReadServerList(settings);
  if (list.empty() || settings.Server.empty() ||
      std::ranges::any_of(list, [](const ServerEntry& entry) { return entry.is_default != 0; })) {
    return;
  }
  list.front().is_default = 1;
  settings.Server.front() = FormatServerLine(list.front());
}

std::vector<ServerEntry> ReadServerList(const Settings& settings) {
  std::vector<ServerEntry> list;
  for (int i = 0; i < settings.NumServers; ++i) {
    const size_t index = static_cast<size_t>(i);
    if (index < settings.Server.size() && settings.Server[index])
      list.push_back(ParseServerLine(*settings.Server[index]));
    else
      list.push_back(ServerEntry{kMissingServerHost, 0, 0, "", "", ""});
  }
  return list;
}

std::vector<ServerRow> RowsOf(const std::vector<ServerEntry>& list) {
  std::vector<ServerRow> rows;
  for (const ServerEntry& entry : list) {
    if (entry.host == kMissingServerHost)
      continue;
    rows.push_back({IsHttp(entry.protocol) ? entry.host + entry.cgi_path : entry.host,
                    std::to_string(entry.port), entry.protocol, entry.is_default != 0,
                    entry.location});
  }
  return rows;
}

ServerEntry EntryOf(const ServerRow& row) {
  ServerEntry entry;
  entry.port = LeadingNumber(row.port);
  entry.protocol = row.protocol;
  if (IsHttp(row.protocol)) {
    // The name is host and path: "srvhost/~cddb/cddb.cgi".
    const size_t slash = row.name.find('/');
    entry.host = row.name.substr(0, slash);
    entry.cgi_path = slash == std::string::npos ? "/" : row.name.substr(slash);
  } else {
    entry.host = row.name;
    entry.cgi_path = "-";
  }
  entry.is_default = row.is_default ? 1 : 0;
  entry.location = row.location;
  return entry;
}

std::vector<ServerEntry> StoreServers(const std::vector<ServerRow>& rows, Settings& settings) {
  std::vector<ServerEntry> list;
  settings.Server.clear();
  for (const ServerRow& row : rows) {
    list.push_back(EntryOf(row));
    settings.Server.push_back(FormatServerLine(list.back()));
  }
  settings.NumServers = static_cast<int>(rows.size());
  return list;
}

void WriteServers(const Settings& settings, IniFile& file) {
  file.DeleteSection(kServersSection);
  file.SetInt(kServersSection, "NumServers", settings.NumServers);
  for (size_t i = 0; i < settings.Server.size(); ++i) {
    if (settings.Server[i])
      file.SetString(kServersSection, "Server" + std::to_string(i), *settings.Server[i]);
  }
}

bool SetDefaultServer(std::vector<ServerRow>& rows, std::optional<size_t> selected, bool automatic,
                      bool use_proxy) {
  std::optional<size_t> target;
  if (!automatic) {
    target = selected;
  } else if (use_proxy) {
    const auto http = std::find_if(rows.begin(), rows.end(),
                                   [](const ServerRow& row) { return IsHttp(row.protocol); });
    if (http != rows.end())
      target = static_cast<size_t>(http - rows.begin());
  } else if (!rows.empty()) {
    target = 0;
  }
  if (!target || *target >= rows.size())
    return false;
  for (size_t i = 0; i < rows.size(); ++i)
    rows[i].is_default = i == *target;
  return true;
}

void DeleteRows(std::vector<ServerRow>& rows, std::vector<size_t> selected) {
  std::sort(selected.begin(), selected.end());
  selected.erase(std::unique(selected.begin(), selected.end()), selected.end());
  // From the top, as the list deletes them: each later index moves up by one.
  for (size_t done = 0; done < selected.size(); ++done) {
    const size_t index = selected[done] - done;
    if (index >= rows.size())
      break;
    if (rows[index].is_default && index + 1 < rows.size())
      rows[index + 1].is_default = true;
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(index));
  }
}

namespace {

std::string_view SitesBody(std::string_view reply) {
  return reply.starts_with("HTTP") ? SkipReplyHead(reply) : reply;
}

}  // namespace

// Anything else (a proxy's or server's error page, "401 No site
// information") would read as rows of garbage.
bool IsSiteList(std::string_view reply) {
  return SitesBody(reply).starts_with(kSiteListFollows);
}

int AddSites(std::vector<ServerRow>& rows, std::string_view reply) {
  if (!IsSiteList(reply))
    return 0;
  reply = SitesBody(reply);
  int added = 0;
  size_t line_start = reply.find('\n');
  while (line_start != std::string_view::npos) {
    const size_t begin = line_start + 1;
    const size_t end = reply.find('\n', begin);
    line_start = end;
    std::string_view line = reply.substr(begin, end == std::string_view::npos ? end : end - begin);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    if (line == ".")
      break;
    size_t at = 0;
    const std::string_view host = NextWord(line, at);
    std::string protocol(NextWord(line, at).substr(0, kMaxSiteProtocol));
    const std::string_view port = NextWord(line, at).substr(0, kMaxSitePort);
    const std::string_view address = NextWord(line, at);
    const std::string_view latitude = NextWord(line, at);
    const std::string_view longitude = NextWord(line, at);
    if (longitude.empty())
      break;
    (void)latitude;
    while (at < line.size() && line[at] == ' ')
      ++at;
    const std::string_view description = line.substr(at, kMaxSiteDescription);
    protocol = UpperAscii(protocol);
    if (protocol == "SMTP")
      continue;
    const bool listed = std::any_of(rows.begin(), rows.end(), [&](const ServerRow& row) {
      return row.name.starts_with(host) && row.port == port && row.protocol == protocol;
    });
    if (listed)
      continue;
    const std::string name =
        IsHttp(protocol) ? std::string(host) + std::string(address) : std::string(host);
    rows.push_back({name, std::string(port), protocol, false, std::string(description)});
    ++added;
  }
  return added;
}

}  // namespace zcd
