#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/data_folder.h"

namespace zcd {

inline constexpr char kMainSection[] = "Zentaro CD";
inline constexpr char kServersSection[] = "Servers";
inline constexpr char kSubmitInfoSection[] = "SubmitInfo";
inline constexpr char kProxySection[] = "Proxy";

inline constexpr char kDefaultTaskBarText[] = "ZCD: [%n - %t] %d";
inline constexpr int kLibraryViewByCategory = 1082;
inline constexpr int kLibraryViewByArtist = 1083;

// Longest texts kept, as reads into fixed buffers cut them (terminator
// excluded).
inline constexpr size_t kMaxSettingText = 254;  // LogFile, SkinName, TaskBarText
inline constexpr size_t kMaxSkinFolder = 259;
inline constexpr size_t kMaxShortText = 99;  // server lines, mail, proxy texts
// More server lines than anyone keeps; a larger NumServers is garbage.
inline constexpr int kMaxServers = 1000;

// The proxy as the environment's http_proxy describes it.
struct BrowserProxy {
  std::optional<std::string> HostName;
  int Port = 0;
  std::optional<std::string> Username;
  std::optional<std::string> Password;
  int UseProxy = 0;
  int useProxyAuth = 0;

  friend bool operator==(const BrowserProxy&, const BrowserProxy&) = default;
};

// Everything in ZCD.ini. Members carry the key names; the defaults are those
// of a missing key.
struct Settings {
  // "Zentaro CD"
  int xWinPos = 100;
  int yWinPos = 100;
  int xExtWinPos = 50;
  int yExtWinPos = 50;
  int xSkinWinPos = 50;
  int ySkinWinPos = 50;
  int PlayType = 0;
  int TimerType = 0;
  int AlwaysOnTop = 0;
  int AutoInfo = 1;
  int CacheQuery = 0;
  int DoneEject = 0;
  int DoNextCD = 0;
  int EdgeResist = 10;
  int EjectEmpty = 0;
  int EjectQuit = 0;
  int ExtFollow = 0;
  int IconType = 2;
  int IgnoreSec = 0;
  int LibraryView = kLibraryViewByCategory;  // read, never written
  int LoadINI = 0;
  int LoadPlay = 0;
  int NameScrolling = 1;
  int NetLogging = 0;
  int NetTimeout = 20;
  int NoCacheData = 0;
  int NoFuzzyMatch = 0;
  int NoQueryData = 0;
  int OnStart = 0;
  int OnExit = 1;
  int PlayOrder = 0;
  int QTTimes = 1;
  int ShareCD = 1;
  int SliderType = 3;
  int StartWinState = 1;
  int TrackClick = 1;
  int UseDrive = -1;
  int XData = 1;
  std::string LogFile;
  std::string SkinName;
  std::string TaskBarText = kDefaultTaskBarText;
  std::string SkinFolder;  // ReadSettings fills in the data folder's skins

  // "Servers", kept as stored; the CDDB code parses the lines. Server[i] is
  // the key "Server%d" with i, none when that key is missing. WriteSettings
  // never touches this section.
  int NumServers = 0;
  std::vector<std::optional<std::string>> Server;

  // "SubmitInfo"
  std::optional<std::string> SmtpServer;
  std::optional<std::string> UserEmail;

  // "Proxy"; HostName is stored under the key "Hostname".
  std::optional<std::string> HostName;
  int Port = 0;
  std::optional<std::string> Username;
  std::optional<std::string> Password;
  int UseProxy = 0;
  int useProxyAuth = 0;  // stored under the key "UseProxyAuth"

  // What http_proxy said at start-up, for the Proxy page to offer; the
  // fields above come from the "Proxy" section alone.
  BrowserProxy browser_proxy;

  friend bool operator==(const Settings&, const Settings&) = default;
};

// Reads an http_proxy value of the form [http://][user[:password]@]host[:port][/];
// user and password may be percent-encoded. None or an unusable value gives
// an empty BrowserProxy; a value without a port gives port 80.
BrowserProxy ReadBrowserProxy(const std::optional<std::string>& http_proxy);

// Reads ini_path (a missing or unreadable file gives the defaults). The
// skins folder defaults to data_dir's "skins"; env supplies http_proxy.
Settings ReadSettings(const std::string& ini_path, const std::string& data_dir,
                      const EnvLookup& env);

// Stores the main, "SubmitInfo" and "Proxy" keys into ini_path, keeping the
// rest of the file ("Servers", LibraryView, unknown keys) as it is. A text
// setting that is none removes its key, so a cleared value does not come
// back at the next start. Returns an empty text on success, otherwise a
// sentence for the user; on failure the file is left as it was.
[[nodiscard]] std::string WriteSettings(const Settings& settings, const std::string& ini_path);

}  // namespace zcd
