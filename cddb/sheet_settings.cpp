#include "cddb/sheet_settings.h"

#include <optional>

namespace zcd {
namespace {

std::optional<std::string> NoneWhenEmpty(const std::string& text) {
  return text.empty() ? std::nullopt : std::optional<std::string>(text);
}

int PortNumber(const std::string& text) {
  if (text.empty() || text.size() > 5)
    return 0;
  int port = 0;
  for (char c : text) {
    if (c < '0' || c > '9')
      return 0;
    port = port * 10 + (c - '0');
  }
  return port <= 65535 ? port : 0;
}

}  // namespace

void CopyCddbSettings(const Settings& from, Settings& to) {
  to.NumServers = from.NumServers;
  to.Server = from.Server;
  to.HostName = from.HostName;
  to.Port = from.Port;
  to.Username = from.Username;
  to.Password = from.Password;
  to.UseProxy = from.UseProxy;
  to.useProxyAuth = from.useProxyAuth;
  to.AutoInfo = from.AutoInfo;
  to.NoQueryData = from.NoQueryData;
  to.NoFuzzyMatch = from.NoFuzzyMatch;
  to.CacheQuery = from.CacheQuery;
  to.NoCacheData = from.NoCacheData;
  to.SmtpServer = from.SmtpServer;
  to.UserEmail = from.UserEmail;
  to.SubmitAddress = from.SubmitAddress;
  to.SubmitMethod = from.SubmitMethod;
  to.NetTimeout = from.NetTimeout;
  to.NetLogging = from.NetLogging;
  to.EmailHello = from.EmailHello;
  to.LogFile = from.LogFile;
}

void StoreProxy(const ProxyInput& input, Settings& settings) {
  settings.HostName = NoneWhenEmpty(input.host);
  settings.Port = PortNumber(input.port);
  settings.UseProxy = input.use_proxy && settings.HostName && settings.Port != 0 ? 1 : 0;
  settings.Username = NoneWhenEmpty(input.user);
  settings.Password = NoneWhenEmpty(input.password);
  settings.useProxyAuth = input.use_auth && settings.Username && settings.Password ? 1 : 0;
}

std::string CachedCountText(int count) {
  if (count < 0)
    return {};
  return std::to_string(count) + (count == 1 ? " entry cached" : " entries cached");
}

}  // namespace zcd
