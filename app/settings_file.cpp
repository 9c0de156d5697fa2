#include "app/settings_file.h"

#include <algorithm>
#include <string_view>

#include "base/ini_file.h"
#include "base/text.h"
#include "cddb/server_list.h"

namespace zcd {
namespace {

// The integer keys of the main section from AlwaysOnTop to DigitalPlayback, in
// the order they are read.
struct IntKey {
  const char* name;
  int Settings::*member;
};
constexpr IntKey kReadIntKeys[] = {
    {"AlwaysOnTop", &Settings::AlwaysOnTop},
    {"AutoInfo", &Settings::AutoInfo},
    {"CacheQuery", &Settings::CacheQuery},
    {"DoneEject", &Settings::DoneEject},
    {"DoNextCD", &Settings::DoNextCD},
    {"EdgeResist", &Settings::EdgeResist},
    {"EjectEmpty", &Settings::EjectEmpty},
    {"EjectQuit", &Settings::EjectQuit},
    {"ExtFollow", &Settings::ExtFollow},
    {"IconType", &Settings::IconType},
    {"IgnoreSec", &Settings::IgnoreSec},
    {"LibraryView", &Settings::LibraryView},
    {"LoadINI", &Settings::LoadINI},
    {"LoadPlay", &Settings::LoadPlay},
    {"NameScrolling", &Settings::NameScrolling},
    {"NetLogging", &Settings::NetLogging},
    {"NetTimeout", &Settings::NetTimeout},
    {"NoCacheData", &Settings::NoCacheData},
    {"NoFuzzyMatch", &Settings::NoFuzzyMatch},
    {"NoQueryData", &Settings::NoQueryData},
    {"OnStart", &Settings::OnStart},
    {"OnExit", &Settings::OnExit},
    {"PlayOrder", &Settings::PlayOrder},
    {"QTTimes", &Settings::QTTimes},
    {"ShareCD", &Settings::ShareCD},
    {"SliderType", &Settings::SliderType},
    {"StartWinState", &Settings::StartWinState},
    {"TrackClick", &Settings::TrackClick},
    {"UseDrive", &Settings::UseDrive},
    {"XData", &Settings::XData},
    {"WindowScale", &Settings::WindowScale},
    {"EmailHello", &Settings::EmailHello},
    {"DigitalPlayback", &Settings::DigitalPlayback},
};

constexpr IntKey kPositionKeys[] = {
    {"xWinPos", &Settings::xWinPos},         {"yWinPos", &Settings::yWinPos},
    {"xExtWinPos", &Settings::xExtWinPos},   {"yExtWinPos", &Settings::yExtWinPos},
    {"xSkinWinPos", &Settings::xSkinWinPos}, {"ySkinWinPos", &Settings::ySkinWinPos},
};

int Decode(char c) {
  if (c >= '0' && c <= '9')
    return c - '0';
  c = LowerAscii(c);
  return (c >= 'a' && c <= 'f') ? c - 'a' + 10 : -1;
}

std::string PercentDecode(std::string_view text) {
  std::string result;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && Decode(text[i + 1]) >= 0 &&
        Decode(text[i + 2]) >= 0) {
      result += static_cast<char>(Decode(text[i + 1]) * 16 + Decode(text[i + 2]));
      i += 2;
    } else {
      result += text[i];
    }
  }
  return result;
}

std::optional<std::string> Shortened(std::string text) {
  if (text.size() > kMaxShortText)
    text.resize(kMaxShortText);
  return text;
}

std::string TextOr(const IniFile& file, const char* key, size_t max_chars,
                   const std::string& default_when_empty) {
  std::string value = file.GetString(kMainSection, key, max_chars).value_or("");
  return value.empty() ? default_when_empty : value;
}

// The number in a key "Server%d" as the classic lookup would format it:
// no sign, no leading zeros.
std::optional<size_t> ServerIndex(std::string_view key) {
  constexpr std::string_view kPrefix = "server";
  if (key.size() <= kPrefix.size() || key.size() > kPrefix.size() + 4)
    return std::nullopt;
  if (!StartsWithIgnoringCase(key, kPrefix))
    return std::nullopt;
  std::string_view number = key.substr(kPrefix.size());
  if (number.size() > 1 && number.front() == '0')
    return std::nullopt;
  size_t index = 0;
  for (char c : number) {
    if (c < '0' || c > '9')
      return std::nullopt;
    index = index * 10 + static_cast<size_t>(c - '0');
  }
  return index;
}

// The "Servers" section is read by one pass over its keys: looking up each
// of up to kMaxServers keys separately would cost a scan of the section each.
void ReadServers(const IniFile& file, Settings& settings) {
  // A negative count means no servers; a huge one comes from a damaged file
  // and would only allocate placeholder lines.
  settings.NumServers = std::clamp(file.GetInt(kServersSection, "NumServers", 0), 0, kMaxServers);
  settings.Server.assign(static_cast<size_t>(settings.NumServers), std::nullopt);
  for (auto& [key, value] : file.Entries(kServersSection)) {
    std::optional<size_t> index = ServerIndex(key);
    if (!index)
      continue;
    if (*index < settings.Server.size() && !settings.Server[*index])
      settings.Server[*index] = value;
  }
}

void ReadProxySection(const IniFile& file, Settings& settings) {
  settings.HostName = file.GetString(kProxySection, "HostName", kMaxShortText);
  settings.Username = file.GetString(kProxySection, "Username", kMaxShortText);
  settings.Password = file.GetString(kProxySection, "Password", kMaxShortText);
  settings.Port = file.GetInt(kProxySection, "Port", 0);
  settings.UseProxy = file.GetInt(kProxySection, "UseProxy", 0);
  settings.useProxyAuth = file.GetInt(kProxySection, "useProxyAuth", 0);
}

void SetOrDelete(IniFile& file, const char* section, const char* key,
                 const std::optional<std::string>& value) {
  if (value)
    file.SetString(section, key, *value);
  else
    file.DeleteKey(section, key);
}

std::string DefaultSkinFolder(const std::string& data_dir) {
  return data_dir + "/skins";
}

}  // namespace

BrowserProxy ReadBrowserProxy(const std::optional<std::string>& http_proxy) {
  BrowserProxy proxy;
  if (!http_proxy)
    return proxy;
  std::string_view rest = *http_proxy;
  if (size_t scheme = rest.find("://"); scheme != std::string_view::npos)
    rest.remove_prefix(scheme + 3);
  rest = rest.substr(0, rest.find('/'));
  if (size_t at = rest.rfind('@'); at != std::string_view::npos) {
    std::string_view user_info = rest.substr(0, at);
    rest.remove_prefix(at + 1);
    size_t colon = user_info.find(':');
    proxy.Username = Shortened(PercentDecode(user_info.substr(0, colon)));
    if (colon != std::string_view::npos)
      proxy.Password = Shortened(PercentDecode(user_info.substr(colon + 1)));
  }
  std::string_view host = rest;
  proxy.Port = 80;
  size_t colon = rest.rfind(':');
  // A bracketed IPv6 address without a port has colons of its own.
  if (colon != std::string_view::npos && rest.back() != ']') {
    host = rest.substr(0, colon);
    std::string_view port = rest.substr(colon + 1);
    int number = port.empty() ? 80 : 0;
    for (char c : port) {
      if (c < '0' || c > '9' || number > 65535)
        break;
      number = number * 10 + (c - '0');
    }
    proxy.Port = number > 0 && number <= 65535 ? number : 0;
  }
  if (host.empty() || proxy.Port == 0)
    return BrowserProxy{};
  proxy.HostName = Shortened(std::string(host));
  proxy.UseProxy = 1;
  proxy.useProxyAuth =
      proxy.Username && !proxy.Username->empty() && proxy.Password && !proxy.Password->empty() ? 1
                                                                                               : 0;
  return proxy;
}

Settings ReadSettings(const std::string& ini_path, const std::string& data_dir,
                      const EnvLookup& env) {
  IniFile file = IniFile::Load(ini_path);
  Settings settings;
  for (const IntKey& key : kPositionKeys)
    settings.*key.member = file.GetInt(kMainSection, key.name, settings.*key.member);
  settings.PlayType = file.GetInt(kMainSection, "PlayType", settings.PlayType);
  settings.TimerType = file.GetInt(kMainSection, "TimerType", settings.TimerType);
  for (const IntKey& key : kReadIntKeys)
    settings.*key.member = file.GetInt(kMainSection, key.name, settings.*key.member);
  settings.LogFile = file.GetString(kMainSection, "LogFile", kMaxSettingText).value_or("");
  settings.SkinName = file.GetString(kMainSection, "SkinName", kMaxSettingText).value_or("");
  settings.TaskBarText = TextOr(file, "TaskBarText", kMaxSettingText, kDefaultTaskBarText);
  settings.SkinFolder = TextOr(file, "SkinFolder", kMaxSkinFolder, DefaultSkinFolder(data_dir));

  settings.browser_proxy = ReadBrowserProxy(env("http_proxy"));
  settings.HostName = settings.browser_proxy.HostName;
  settings.Port = settings.browser_proxy.Port;
  settings.Username = settings.browser_proxy.Username;
  settings.Password = settings.browser_proxy.Password;
  settings.UseProxy = settings.browser_proxy.UseProxy;
  settings.useProxyAuth = settings.browser_proxy.useProxyAuth;

  ReadServers(file, settings);
  settings.SmtpServer = file.GetString(kSubmitInfoSection, "SmtpServer", kMaxShortText);
  settings.UserEmail = file.GetString(kSubmitInfoSection, "UserEmail", kMaxShortText);
  settings.SubmitAddress = file.GetString(kSubmitInfoSection, "SubmitAddress", kMaxShortText);
  settings.SubmitMethod = file.GetInt(kSubmitInfoSection, "SubmitMethod", kSubmitByMail);
  ReadProxySection(file, settings);
  return settings;
}

std::string WriteSettings(const Settings& settings, const std::string& ini_path,
                          const std::string& data_dir) {
  IniFile file = IniFile::Load(ini_path);
  if (file.load_error())
    return *file.load_error() + " The settings were not saved.";

  for (const IntKey& key : kReadIntKeys) {
    if (key.member != &Settings::LibraryView)
      file.SetInt(kMainSection, key.name, settings.*key.member);
  }
  file.SetString(kMainSection, "LogFile", settings.LogFile);
  file.SetString(kMainSection, "SkinFolder",
                 settings.SkinFolder == DefaultSkinFolder(data_dir) ? "" : settings.SkinFolder);
  file.SetString(kMainSection, "SkinName", settings.SkinName);
  file.SetString(kMainSection, "TaskBarText", settings.TaskBarText);
  for (const IntKey& key : kPositionKeys)
    file.SetInt(kMainSection, key.name, settings.*key.member);
  file.SetInt(kMainSection, "PlayType", settings.PlayType);
  file.SetInt(kMainSection, "TimerType", settings.TimerType);

  SetOrDelete(file, kSubmitInfoSection, "SmtpServer", settings.SmtpServer);
  SetOrDelete(file, kSubmitInfoSection, "UserEmail", settings.UserEmail);
  SetOrDelete(file, kSubmitInfoSection, "SubmitAddress", settings.SubmitAddress);
  // Mail, the usual way, leaves the section as it always was.
  if (settings.SubmitMethod != kSubmitByMail)
    file.SetInt(kSubmitInfoSection, "SubmitMethod", settings.SubmitMethod);
  else
    file.DeleteKey(kSubmitInfoSection, "SubmitMethod");

  SetOrDelete(file, kProxySection, "Hostname", settings.HostName);
  file.SetInt(kProxySection, "Port", settings.Port);
  SetOrDelete(file, kProxySection, "Username", settings.Username);
  SetOrDelete(file, kProxySection, "Password", settings.Password);
  file.SetInt(kProxySection, "UseProxy", settings.UseProxy);
  file.SetInt(kProxySection, "UseProxyAuth", settings.useProxyAuth);

  // Server lines the run left as they were keep their section as its
  // writer left it, notes and all.
  Settings stored;
  ReadServers(file, stored);
  if (stored.NumServers != settings.NumServers || stored.Server != settings.Server)
    WriteServers(settings, file);
  return file.Save(ini_path);
}

}  // namespace zcd
