#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "discdb/disc_id.h"
#include "platform/virtual/cue_sheet.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace zcd::test {
namespace {

constexpr char kBundledSheet[] = ZCD_SOURCE_DIR "/resources/demo/demo.cue";
constexpr int64_t kSamplesPerFrame = 588;
// -6 dBFS: the level the music peaks at, well clear of full scale.
constexpr int kPeakCeiling = 16384;

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The sheet's PERFORMER, TITLE, TRACK and INDEX lines, trimmed.
std::vector<std::string> DiscLines(const std::string& sheet) {
  std::vector<std::string> lines;
  std::istringstream in(sheet);
  for (std::string line; std::getline(in, line);) {
    line.erase(0, line.find_first_not_of(" \t"));
    line.erase(line.find_last_not_of(" \t\r") + 1);
    for (const char* keyword : {"PERFORMER ", "TITLE ", "TRACK ", "INDEX "})
      if (line.rfind(keyword, 0) == 0)
        lines.push_back(line);
  }
  return lines;
}

DiscTiming TimingOf(const VirtualDisc& disc) {
  DiscTiming timing;
  timing.track_count = static_cast<int32_t>(disc.tracks.size());
  for (size_t i = 0; i < disc.tracks.size(); ++i)
    timing.toc[i] = TrackTocEntry::FromFrames(disc.tracks[i].start_frame);
  timing.toc[disc.tracks.size()] = TrackTocEntry::FromFrames(disc.lead_out_frame);
  return timing;
}

struct SndfileCloser {
  void operator()(SNDFILE* file) const { sf_close(file); }
};
using Sndfile = std::unique_ptr<SNDFILE, SndfileCloser>;

// What the build made; `make run` plays it.
std::string Built(const std::string& name) {
  return std::string(ZCD_DEMO_DIR "/") + name;
}

// Tracks, titles, modes and index times (the pregap's INDEX 00 too, which the
// reader skips) are the bundled sheet's; only the data track starts its own file.
TEST(DemoDiscGenTest, SheetDescribesTheBundledDiscWithItsTitlesAndIndexes) {
  const CueSheetResult bundled = LoadCueSheet(kBundledSheet);
  ASSERT_TRUE(bundled.disc) << bundled.error;
  const CueSheetResult generated = LoadCueSheet(Built("demo.cue"));
  ASSERT_TRUE(generated.disc) << generated.error;
  EXPECT_EQ(generated.disc->tracks, bundled.disc->tracks);
  EXPECT_EQ(generated.disc->lead_out_frame, bundled.disc->lead_out_frame);
  // The name of the disc's database entry in resources/demo/misc.
  EXPECT_EQ(DiscIdText(ComputeCddbDiscId(TimingOf(*generated.disc))), "7d083c0a");

  std::vector<std::string> bundled_lines = DiscLines(ReadFile(kBundledSheet));
  std::vector<std::string> generated_lines = DiscLines(ReadFile(Built("demo.cue")));
  ASSERT_FALSE(bundled_lines.empty() || generated_lines.empty());
  EXPECT_EQ(bundled_lines.back(), "INDEX 01 31:42:20");
  EXPECT_EQ(generated_lines.back(), "INDEX 01 00:00:00");
  bundled_lines.pop_back();
  generated_lines.pop_back();
  EXPECT_EQ(generated_lines, bundled_lines);
}

TEST(DemoDiscGenTest, AudioIsFadedAndNeverLoudAndTheDataTrackTakesNoSpace) {
  const CueSheetResult bundled = LoadCueSheet(kBundledSheet);
  ASSERT_TRUE(bundled.disc) << bundled.error;
  SF_INFO info{};
  Sndfile file(sf_open(Built("harbour-lights.flac").c_str(), SFM_READ, &info));
  ASSERT_TRUE(file) << sf_strerror(nullptr);
  EXPECT_EQ(info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_16);
  EXPECT_EQ(info.samplerate, 44100);
  ASSERT_EQ(info.channels, 2);
  // Up to where the data track starts; the data track's file reaches from
  // there to the lead-out, all of it holes.
  const std::vector<VirtualTrack>& tracks = bundled.disc->tracks;
  ASSERT_EQ(info.frames, (tracks.back().start_frame - 150) * kSamplesPerFrame);
  struct stat data {};
  ASSERT_EQ(stat(Built("liner-notes.bin").c_str(), &data), 0);
  EXPECT_EQ(data.st_size, (bundled.disc->lead_out_frame - tracks.back().start_frame) * 2352);
  EXPECT_LT(data.st_blocks * 512, 65536);

  // Each audio track: its loudest sample, and the loudest in its first and
  // last 10 ms, where a change of track must not cut into a sound.
  constexpr int64_t kEdge = 441;
  for (size_t t = 0; t + 1 < tracks.size(); ++t) {
    const int64_t length = (tracks[t + 1].start_frame - tracks[t].start_frame) * kSamplesPerFrame;
    std::vector<int16_t> samples(static_cast<size_t>(length * 2));
    ASSERT_EQ(sf_readf_short(file.get(), samples.data(), length), length) << "track " << t + 1;
    auto peak = [&](int64_t from, int64_t to) {
      int value = 0;
      for (int64_t i = 2 * from; i < 2 * to; ++i)
        value = std::max(value, std::abs(static_cast<int>(samples[static_cast<size_t>(i)])));
      return value;
    };
    const int loudest = peak(0, length);
    EXPECT_LE(loudest, kPeakCeiling) << "track " << t + 1;
    EXPECT_GE(loudest, kPeakCeiling / 2) << "track " << t + 1 << " is nearly silent";
    EXPECT_LE(peak(0, kEdge), 64) << "track " << t + 1 << " starts abruptly";
    EXPECT_LE(peak(length - kEdge, length), 64) << "track " << t + 1 << " ends abruptly";
  }
}

TEST(DemoDiscGenTest, EveryRunWritesTheSameBytes) {
  TempDir dir;
  ChildProcess child({ZCD_DEMO_GEN_BINARY, dir.File("demo")}, {}, dir.File("stderr.txt"));
  ASSERT_EQ(child.Wait(std::chrono::minutes(3)), std::optional<int>(0)) << dir.Read("stderr.txt");
  for (const char* name : {"demo.cue", "harbour-lights.flac"})
    EXPECT_TRUE(ReadFile(dir.File("demo/") + name) == ReadFile(Built(name)))
        << name << " differs between two runs";
}

}  // namespace
}  // namespace zcd::test
