#include "tools/demo_disc_gen/disc_plan.h"

#include <cstdio>

namespace zcd::demo_gen {
namespace {

int32_t NextStart(size_t track) {
  return track + 1 < kAudioTracks.size() ? kAudioTracks[track + 1].start : kDataTrackStart;
}

std::string FormatMsf(int32_t frames) {
  char text[16];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", frames / 4500, frames / 75 % 60, frames % 75);
  return text;
}

std::string Quoted(std::string_view text) {
  return "\"" + std::string(text) + "\"";
}

}  // namespace

int32_t SilenceFramesAfter(size_t track) {
  return track + 1 < kAudioTracks.size() ? kAudioTracks[track + 1].pregap : 0;
}

int32_t MusicFrames(size_t track) {
  return NextStart(track) - SilenceFramesAfter(track) - kAudioTracks[track].start;
}

std::string CueSheetText() {
  std::string text =
      "REM COMMENT \"Demo disc bundled with ZCD: The Lantern Quartet - Harbour Lights\"\n"
      "REM COMMENT \"Its music is synthesised when ZCD is built, by zcd-demo-gen\"\n";
  text += "PERFORMER " + Quoted(kPerformer) + "\n";
  text += "TITLE " + Quoted(kDiscTitle) + "\n";
  text += "FILE " + Quoted(kAudioFileName) + " WAVE\n";
  for (size_t i = 0; i < kAudioTracks.size(); ++i) {
    const DemoTrack& track = kAudioTracks[i];
    char number[8];
    std::snprintf(number, sizeof number, "%02zu", i + 1);
    text += std::string("TRACK ") + number + " AUDIO\n";
    text += "  TITLE " + Quoted(track.title) + "\n";
    if (track.pregap > 0)
      text += "  INDEX 00 " + FormatMsf(track.start - track.pregap) + "\n";
    text += "  INDEX 01 " + FormatMsf(track.start) + "\n";
  }
  text += "FILE " + Quoted(kDataFileName) + " BINARY\n";
  text += "TRACK 10 MODE1/2352\n";
  text += "  TITLE " + Quoted(kDataTrackTitle) + "\n";
  text += "  INDEX 01 00:00:00\n";
  return text;
}

}  // namespace zcd::demo_gen
