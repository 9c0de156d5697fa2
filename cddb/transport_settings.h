#pragma once

#include <optional>
#include <string>

#include "base/settings.h"

namespace zcd {

// The settings a CDDB connection reads, copied when a worker starts.
struct TransportSettings {
  int NetTimeout = 20;  // seconds; 0 makes every wait a poll
  int UseProxy = 0;
  int useProxyAuth = 0;
  std::optional<std::string> HostName;  // the proxy
  int Port = 0;
  std::optional<std::string> Username;
  std::optional<std::string> Password;

  static TransportSettings From(const Settings& settings) {
    return {settings.NetTimeout, settings.UseProxy, settings.useProxyAuth, settings.HostName,
            settings.Port,       settings.Username, settings.Password};
  }
  // HTTP goes through the proxy only when it has a host to go to.
  bool ProxiedHttp() const { return UseProxy != 0 && HostName && !HostName->empty(); }
  bool SendsProxyAuth() const { return UseProxy != 0 && useProxyAuth != 0; }
};

}  // namespace zcd
