#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace zcd {

// Looks up one environment variable; none when it is not set. Tests pass
// their own table instead of touching the process environment.
using EnvLookup = std::function<std::optional<std::string>(std::string_view name)>;

// The process environment, read at each call.
EnvLookup ProcessEnvironment();

// The full path of the running executable; empty when it cannot be found.
std::string ExecutablePath();

// Where the player keeps its files. Both folders are the same in a portable
// install and with an explicit home folder.
struct DataFolder {
  std::string config_dir;  // holds ZCD.ini
  std::string data_dir;    // the database, the skins folder and the network log

  std::string ini_path() const { return config_dir + "/ZCD.ini"; }
  std::string database_path() const { return data_dir + "/ZCD.zdb"; }
  std::string skins_dir() const { return data_dir + "/skins"; }
  std::string net_log_path() const { return data_dir + "/ZCDNetLog.txt"; }
};

// Chooses the folders, first match wins:
// 1. home_option (the value of --home), then ZCD_HOME: everything there;
// 2. the executable's folder when "ZCD.ini" sits beside it and the folder is
//    writable (a portable install);
// 3. $XDG_CONFIG_HOME/zcd for ZCD.ini and $XDG_DATA_HOME/zcd for the rest,
//    defaulting to ~/.config and ~/.local/share as the XDG rules say.
// Relative folders are made absolute against the current folder, so a later
// change of the current folder does not move them.
DataFolder LocateDataFolder(const std::optional<std::string>& home_option,
                            const std::string& executable_path, const EnvLookup& env);

// Creates both folders (and their parents) with mode 0700 when missing and
// checks that they can be written. Returns an empty text on success,
// otherwise a sentence for the user naming the folder and the cause.
[[nodiscard]] std::string CreateDataFolder(const DataFolder& folder);

}  // namespace zcd
