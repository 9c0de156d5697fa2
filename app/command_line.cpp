#include "app/command_line.h"

#include <cstdlib>

#include "base/command_ids.h"
#include "cd/drive_list.h"

namespace zcd {
namespace {

bool Has(const std::string& text, const char* option) {
  return text.find(option) != std::string::npos;
}

// The number after "track", as a track file path like "d:\track05.cda" gives it.
int TrackNumber(const std::string& text) {
  const auto at = text.find("track");
  if (at == std::string::npos || text.size() - at <= 5)
    return 0;
  return std::atoi(text.c_str() + at + 5);
}

}  // namespace

void ParseCommandLine(CommandTarget& target, std::string text, bool forwarding) {
  if (text.empty())
    return;
  for (char& c : text) {
    if (c >= 'A' && c <= 'Z')
      c = static_cast<char>(c - 'A' + 'a');
  }

  const auto drive_mark = text.find(":\\");
  if (drive_mark != std::string::npos && drive_mark > 0) {
    const int index = text[drive_mark - 1] - 'a';
    // Only letters name drives; anything else before ":\" is not a drive.
    if (index >= 0 && index < kDriveIndexCount && index != target.CurrentDrive()) {
      target.Post(CommandMessage(kCmdDriveBase + index));
    }
  }

  const int track = TrackNumber(text);
  if (Has(text, "/autoplay") && !forwarding)
    target.Post(CommandMessage(kCmdPlayKey));
  if (Has(text, "/play")) {
    if (track >= 1) {
      target.Post({WindowId::kTracks, kMsgPlayTrack, track, 0});
    } else {
      target.Post(CommandMessage(kCmdPlayKey));
    }
  }

  static constexpr struct {
    const char* option;
    int64_t command;
  } kCommands[] = {
      {"/stop", kCmdStopKey},         {"/trkfwd", kCmdNextTrackKey},
      {"/trkbwd", kCmdPrevTrackKey},  {"/pause", kCmdPauseKey},
      {"/eject", kCmdEjectKey},       {"/togglewin", kCmdToggleLayoutKey},
      {"/ontop", kCmdAlwaysOnTopKey},
  };
  for (const auto& entry : kCommands) {
    if (Has(text, entry.option))
      target.Post(CommandMessage(entry.command));
  }

  if (Has(text, "/hide"))
    target.Minimize();
  if (Has(text, "/show"))
    target.Restore();
  if (Has(text, "/netlog"))
    target.EnableNetLogging();
}

}  // namespace zcd
