#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"
#include "base/settings.h"

namespace zcd {

// One configured CDDB server as the "Servers" section stores it.
struct ServerEntry {
  std::string host;
  int32_t port = 0;
  int32_t is_default = 0;
  std::string location;
  std::string protocol;  // "CDDBP" or "HTTP"
  std::string cgi_path;  // "-" for CDDBP servers
  bool operator==(const ServerEntry&) const = default;
};

// What a key "Server%d" that is missing altogether reads as.
inline constexpr char kMissingServerHost[] = "IniError";

// "host port protocol cgi-path default location." Missing words give empty
// texts and 0; the location ends at its first ".", so "St. Louis" reads as
// "St". The whole stored line is read, however long.
ServerEntry ParseServerLine(std::string_view line);
std::string FormatServerLine(const ServerEntry& entry);

// The entries in "Server%d" order; a missing key gives host "IniError".
std::vector<ServerEntry> ReadServerList(const Settings& settings);

// A row of the Servers page: the server name is the host, followed by the
// CGI path for HTTP servers; the port is the text the user typed.
struct ServerRow {
  std::string name;
  std::string port;
  std::string protocol;
  bool is_default = false;
  std::string location;
  bool operator==(const ServerRow&) const = default;
};

// The page's rows for a list; placeholders of missing keys are left out.
std::vector<ServerRow> RowsOf(const std::vector<ServerEntry>& list);
ServerEntry EntryOf(const ServerRow& row);

// The page applies: the settings' server lines become the rows, and the
// new list is returned.
std::vector<ServerEntry> StoreServers(const std::vector<ServerRow>& rows, Settings& settings);
// The "Servers" section written afresh from the settings.
void WriteServers(const Settings& settings, IniFile& file);

// A query is about to choose from the settings' servers: with none marked
// default the first becomes the default, as the query takes it.
void MarkFirstServerDefault(Settings& settings);

// Marks one row as the default: the selected one, or after a fetch into an
// empty list the first HTTP row when a proxy is used, else the first row.
// False when there is no such row.
bool SetDefaultServer(std::vector<ServerRow>& rows, std::optional<size_t> selected, bool automatic,
                      bool use_proxy);

// Deletes the rows at `selected` (any order); a default that goes passes to
// the row after it, none when it was the last.
void DeleteRows(std::vector<ServerRow>& rows, std::vector<size_t> selected);

// Adds the servers of a level-3 "sites" reply (an HTTP head is skipped) that
// are not listed yet; mail submission sites are left out. A reply that is
// not a site list (status 210) adds nothing. How many rows were added.
int AddSites(std::vector<ServerRow>& rows, std::string_view reply);
// Whether a "sites" reply (with or without its HTTP head) is a site list.
bool IsSiteList(std::string_view reply);

}  // namespace zcd
