#include "app/long_options.h"

namespace zcd {
namespace {

// "--name value" or "--name=value"; advances i past the value.
std::optional<std::string> TakeValue(const std::vector<std::string>& args, size_t& i,
                                     const std::string& name, std::string& error) {
  const std::string& arg = args[i];
  if (arg.size() > name.size() && arg[name.size()] == '=')
    return arg.substr(name.size() + 1);
  if (i + 1 < args.size())
    return args[++i];
  error = name + " needs a value";
  return std::nullopt;
}

bool Named(const std::string& arg, const std::string& name) {
  return arg == name || arg.rfind(name + "=", 0) == 0;
}

}  // namespace

LongOptions TakeLongOptions(const std::vector<std::string>& args) {
  LongOptions options;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.rfind("--", 0) != 0) {
      if (!options.rest.empty())
        options.rest += ' ';
      options.rest += arg;
      continue;
    }
    if (Named(arg, "--virtual-drive")) {
      if (auto value = TakeValue(args, i, "--virtual-drive", options.error)) {
        options.virtual_drives.push_back(*value);
      }
    } else if (Named(arg, "--home")) {
      if (auto value = TakeValue(args, i, "--home", options.error))
        options.home = *value;
    } else if (arg == "--help") {
      options.help = true;
    } else if (arg == "--version") {
      options.version = true;
    } else if (arg == "--verbose") {
      options.verbose = true;
    } else if (options.error.empty()) {
      options.error = "unknown option " + arg;
    }
  }
  return options;
}

std::string UsageText() {
  return "Usage: zcd [OPTION]... [/COMMAND]...\n"
         "Plays audio CDs. A second start forwards its commands to the running player.\n"
         "\n"
         "Options:\n"
         "  --virtual-drive FILE.cue  add a virtual drive holding the disc the cue sheet\n"
         "                            describes (repeatable); it follows the real drives\n"
         "  --home DIR                keep settings, database and skins in DIR\n"
         "                            (also ZCD_HOME=DIR)\n"
         "  --verbose                 print the commands the player receives\n"
         "  --help                    show this text\n"
         "  --version                 show the version\n"
         "\n"
         "Commands (case does not matter):\n"
         "  /autoplay   play (only when starting the player)\n"
         "  /play       play; \"/play D:\\Track05.cda\" switches to drive D and plays track 5\n"
         "  /stop       stop\n"
         "  /trkfwd     next track\n"
         "  /trkbwd     previous track\n"
         "  /pause      pause or resume\n"
         "  /eject      open or close the door\n"
         "  /togglewin  switch between full and shade mode\n"
         "  /ontop      always on top on or off\n"
         "  /hide       minimize\n"
         "  /show       restore\n";
}

}  // namespace zcd
