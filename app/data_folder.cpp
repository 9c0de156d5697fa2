#include "app/data_folder.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

namespace zcd {
namespace {

constexpr char kIniName[] = "ZCD.ini";

std::string Absolute(const std::string& folder) {
  std::error_code error;
  std::filesystem::path path = std::filesystem::absolute(folder, error);
  std::string result = error ? folder : path.lexically_normal().string();
  while (result.size() > 1 && result.back() == '/')
    result.pop_back();
  return result;
}

// Empty counts as unset, as the XDG rules have it for their variables.
std::optional<std::string> NonEmpty(const EnvLookup& env, std::string_view name) {
  std::optional<std::string> value = env(name);
  if (value && value->empty())
    return std::nullopt;
  return value;
}

std::string HomeFolder(const EnvLookup& env) {
  if (std::optional<std::string> home = NonEmpty(env, "HOME"))
    return *home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && entry->pw_dir != nullptr)
    return entry->pw_dir;
  return ".";
}

// An XDG base folder: the variable when it holds an absolute path (relative
// ones are to be ignored), else the fallback under the home folder.
std::string XdgFolder(const EnvLookup& env, std::string_view variable,
                      const std::string& fallback_under_home) {
  std::optional<std::string> value = NonEmpty(env, variable);
  if (value && value->front() == '/')
    return *value;
  return HomeFolder(env) + "/" + fallback_under_home;
}

std::optional<std::string> PortableFolder(const std::string& executable_path) {
  if (executable_path.empty())
    return std::nullopt;
  std::string folder = Absolute(std::filesystem::path(executable_path).parent_path().string());
  struct stat info {};
  if (stat((folder + "/" + kIniName).c_str(), &info) != 0 || !S_ISREG(info.st_mode))
    return std::nullopt;
  if (access(folder.c_str(), W_OK | X_OK) != 0)
    return std::nullopt;
  return folder;
}

// Like mkdir -p, but every folder made is private to the user.
std::string MakeFolder(const std::string& folder) {
  std::string prefix;
  size_t start = 0;
  while (start <= folder.size()) {
    size_t slash = folder.find('/', start);
    if (slash == std::string::npos)
      slash = folder.size();
    prefix = folder.substr(0, slash);
    start = slash + 1;
    if (prefix.empty() || prefix.back() == '/')
      continue;
    if (mkdir(prefix.c_str(), 0700) != 0 && errno != EEXIST)
      return "Cannot create the folder \"" + prefix + "\": " + std::strerror(errno) + ".";
  }
  struct stat info {};
  if (stat(folder.c_str(), &info) != 0)
    return "Cannot create the folder \"" + folder + "\": " + std::strerror(errno) + ".";
  if (!S_ISDIR(info.st_mode))
    return "Cannot use \"" + folder + "\" as a folder: it is a file.";
  if (access(folder.c_str(), W_OK | X_OK) != 0)
    return "Cannot write in the folder \"" + folder + "\": " + std::strerror(errno) + ".";
  return {};
}

}  // namespace

EnvLookup ProcessEnvironment() {
  return [](std::string_view name) -> std::optional<std::string> {
    const char* value = std::getenv(std::string(name).c_str());
    if (value == nullptr)
      return std::nullopt;
    return std::string(value);
  };
}

std::string ExecutablePath() {
  std::error_code error;
  std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

DataFolder LocateDataFolder(const std::optional<std::string>& home_option,
                            const std::string& executable_path, const EnvLookup& env) {
  std::optional<std::string> home = home_option;
  if (!home || home->empty())
    home = NonEmpty(env, "ZCD_HOME");
  if (home) {
    std::string folder = Absolute(*home);
    return {folder, folder};
  }
  if (std::optional<std::string> portable = PortableFolder(executable_path))
    return {*portable, *portable};
  return {Absolute(XdgFolder(env, "XDG_CONFIG_HOME", ".config") + "/zcd"),
          Absolute(XdgFolder(env, "XDG_DATA_HOME", ".local/share") + "/zcd")};
}

std::string CreateDataFolder(const DataFolder& folder) {
  std::string error = MakeFolder(folder.config_dir);
  if (error.empty() && folder.data_dir != folder.config_dir)
    error = MakeFolder(folder.data_dir);
  return error;
}

}  // namespace zcd
