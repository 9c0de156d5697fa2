#pragma once

#include <optional>
#include <string>
#include <vector>

namespace zcd {

inline constexpr char kMainSection[] = "Zentaro CD";
inline constexpr char kServersSection[] = "Servers";
inline constexpr char kSubmitInfoSection[] = "SubmitInfo";
inline constexpr char kProxySection[] = "Proxy";

inline constexpr char kDefaultTaskBarText[] = "ZCD: [%n - %t] %d";
inline constexpr int kLibraryViewByCategory = 1082;
inline constexpr int kLibraryViewByArtist = 1083;
// IconType bits.
inline constexpr int kIconTray = 1;
inline constexpr int kIconTaskbar = 2;
// PlayOrder bits.
inline constexpr int kPlayOrderRestore = 1;
inline constexpr int kPlayOrderSave = 2;
// Where CDDB takes entries sent by mail while SubmitAddress is unset.
inline constexpr char kDefaultSubmitAddress[] = "submit@gnudb.org";
// SubmitMethod values.
inline constexpr int kSubmitByMail = 0;
inline constexpr int kSubmitByHttp = 1;

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
// of a missing key. Reading and writing the file is the application's
// (app/settings_file.h); every layer may read the values. Workers take a copy.
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
  // Screen pixels per skin pixel of the player's window: 0 follows the
  // screen (the desktop's own pixel ratio alone), 1 normal size, 2 double.
  int WindowScale = 0;
  // 1: the CDDB hello names the user and host of UserEmail ("user@host")
  // instead of the system's, as services that want an address ask.
  int EmailHello = 0;
  // 1: discs are read and played through the sound card when a sound
  // device opens; 0: a drive plays through its own audio output.
  int DigitalPlayback = 1;
  std::string LogFile;
  std::string SkinName;
  std::string TaskBarText = kDefaultTaskBarText;
  std::string SkinFolder;  // ReadSettings fills in the data folder's skins

  // "Servers", kept as stored; the CDDB code parses the lines. Server[i] is
  // the key "Server%d" with i, none when that key is missing. WriteSettings
  // rewrites this section only when the lines changed.
  int NumServers = 0;
  std::vector<std::optional<std::string>> Server;

  // "SubmitInfo". SmtpServer may name a port as "host:port" (25 when
  // absent). SubmitAddress and a non-zero SubmitMethod are written only when
  // set.
  std::optional<std::string> SmtpServer;
  std::optional<std::string> UserEmail;
  std::optional<std::string> SubmitAddress;  // none: kDefaultSubmitAddress
  int SubmitMethod = kSubmitByMail;

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

}  // namespace zcd
