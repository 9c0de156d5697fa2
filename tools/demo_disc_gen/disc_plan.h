#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace zcd::demo_gen {

inline constexpr int kSampleRate = 44100;
inline constexpr int kChannels = 2;
// One CD frame (1/75 s) of audio in sample frames.
inline constexpr int64_t kSamplesPerCdFrame = 588;
inline constexpr int64_t kBytesPerCdFrame = 2352;

// mm:ss:ff as frames from the start of the disc's first track.
constexpr int32_t Msf(int32_t minutes, int32_t seconds, int32_t frames) {
  return (minutes * 60 + seconds) * 75 + frames;
}

struct DemoTrack {
  std::string_view title;
  int32_t start = 0;   // INDEX 01
  int32_t pregap = 0;  // frames of silence before the start (INDEX 00), part of the track before
};

// The bundled disc's layout: every start must stay where it is, or its disc
// id and its database entry no longer match.
inline constexpr std::string_view kPerformer = "The Lantern Quartet";
inline constexpr std::string_view kDiscTitle = "Harbour Lights";
inline constexpr std::array<DemoTrack, 9> kAudioTracks{{
    {"Low Tide", Msf(0, 0, 0)},
    {"Gulls over the Breakwater", Msf(3, 42, 15)},
    {"Night Ferry", Msf(7, 47, 40)},
    {"Bell Buoy", Msf(11, 20, 2)},
    {"Fog Signal", Msf(11, 24, 2)},
    {"Rope and Canvas", Msf(14, 58, 60)},
    {"The Lighthouse Keeper", Msf(19, 1, 33)},
    {"Saltwater Waltz", Msf(22, 37, 8), 150},
    {"Harbour Lights", Msf(26, 50, 51)},
}};
inline constexpr std::string_view kDataTrackTitle = "Liner notes";
inline constexpr int32_t kDataTrackStart = Msf(31, 42, 20);
inline constexpr int32_t kLeadOut = Msf(35, 8, 0);

inline constexpr std::string_view kAudioFileName = "harbour-lights.flac";
inline constexpr std::string_view kDataFileName = "liner-notes.bin";
inline constexpr std::string_view kCueFileName = "demo.cue";

// Frames of a track's own music: up to the next track's pregap, which stays silent.
int32_t MusicFrames(size_t track);
// Frames of silence after a track's music.
int32_t SilenceFramesAfter(size_t track);

// The sheet describing the audio file and the data file.
std::string CueSheetText();

}  // namespace zcd::demo_gen
