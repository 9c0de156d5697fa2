#pragma once

#include <string>

#include "base/settings.h"

// The values behind the CDDB settings sheet, apart from its widgets.
namespace zcd {

// The longest log file path kept: longer ones are refused, not cut.
inline constexpr size_t kMaxLogFile = kMaxSettingText;

// Copies what the sheet edits (servers, proxy, querying, mail and network
// values), so that applying it leaves everything else as the player has it.
void CopyCddbSettings(const Settings& from, Settings& to);

// The Proxy page as the user left it.
struct ProxyInput {
  bool use_proxy = false;
  bool use_auth = false;
  std::string host;
  std::string port;
  std::string user;
  std::string password;
};
// Stores the page so that the proxy is on only with a host and a port, and
// authentication only with a user name and a password. Empty texts give
// none; a port that is no number from 1 to 65535 gives 0.
void StoreProxy(const ProxyInput& input, Settings& settings);

// "1 entry cached", "%i entries cached"; empty for a damaged database (-1).
std::string CachedCountText(int count);

}  // namespace zcd
