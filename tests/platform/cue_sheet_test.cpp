#include "platform/virtual/cue_sheet.h"

#include <gtest/gtest.h>
#include <sndfile.h>

#include "audio/test_image.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

int32_t Frame(int m, int s, int f) {
  return (m * 60 + s) * 75 + f;
}

constexpr int kWave16 = SF_FORMAT_WAV | SF_FORMAT_PCM_16;

// The last partial sector of a decoded file counts as a whole one.
TEST(CueSheetTest, ReadsTracksAndTakesTheLeadOutFromTheWaveData) {
  test::TempDir dir;
  test::WriteSoundFile(dir.File("disc.wav"), kWave16, 44100, 2, 2000 * 588 + 25);
  auto result = ParseCueSheet(
      "\xEF\xBB\xBFREM GENRE Folk\r\n"
      "PERFORMER \"Someone\"\r\n"
      "TITLE \"Sea Songs\"\r\n"
      "FILE \"disc.wav\" WAVE\r\n"
      "  TRACK 01 AUDIO\r\n"
      "    TITLE \"First\"\r\n"
      "    INDEX 01 00:00:00\r\n"
      "  TRACK 02 MODE1/2352\r\n"
      "    INDEX 00 00:05:00\r\n"
      "    INDEX 01 00:07:10\r\n"
      "  track 03 audio\r\n"
      "    index 01 00:20:00\r\n",
      dir.path());
  ASSERT_TRUE(result.disc) << result.error;
  EXPECT_EQ(result.disc->title, "Sea Songs");
  EXPECT_EQ(result.disc->tracks,
            (std::vector<VirtualTrack>{
                {150, true}, {150 + Frame(0, 7, 10), false}, {150 + Frame(0, 20, 0), true}}));
  EXPECT_EQ(result.disc->lead_out_frame, 150 + 2001);
  EXPECT_EQ(result.disc->audio,
            (ImageLayout{{dir.File("disc.wav"), AudioFileKind::kDecoded, 150, 2001}}));
}

TEST(CueSheetTest, FilesFollowEachOtherAndTheirSizesOrAnRemLineGiveTheLeadOutAndLoadingFindsThem) {
  test::TempDir dir;
  dir.Write("one.bin", std::string(1000 * 2352, '\0'));
  dir.Write("two.bin", std::string(600 * 2352 + 7, '\0'));
  auto result = ParseCueSheet(
      "FILE one.bin BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
      "FILE \"two.bin\" BINARY\nTRACK 02 AUDIO\nINDEX 01 00:01:00\nREM LEADOUT 99:00:00\n",
      dir.path());
  ASSERT_TRUE(result.disc) << result.error;
  ASSERT_EQ(result.disc->tracks.size(), 2u);
  EXPECT_EQ(result.disc->tracks[1].start_frame, 150 + 1000 + 75);
  // The readable file wins over the REM line, which stands in for a missing file.
  EXPECT_EQ(result.disc->lead_out_frame, 150 + 1600);
  // A raw file's trailing piece of a sector is no sound.
  EXPECT_EQ(result.disc->audio,
            (ImageLayout{{dir.File("one.bin"), AudioFileKind::kRaw, 150, 1000},
                         {dir.File("two.bin"), AudioFileKind::kRaw, 1150, 600}}));
  result = ParseCueSheet(
      "FILE \"gone.wav\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\nREM LEADOUT 04:00:00\n",
      dir.path());
  ASSERT_TRUE(result.disc) << result.error;
  EXPECT_EQ(result.disc->lead_out_frame, 150 + Frame(4, 0, 0));
  EXPECT_TRUE(result.disc->audio.empty());

  // A loaded sheet reads its files from its own folder.
  dir.Write("disc.cue", "FILE \"one.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n");
  result = LoadCueSheet(dir.File("disc.cue"));
  ASSERT_TRUE(result.disc) << result.error;
  EXPECT_EQ(result.disc->lead_out_frame, 150 + 1000);
  EXPECT_FALSE(LoadCueSheet(dir.File("none.cue")).disc);
  EXPECT_FALSE(LoadCueSheet(dir.path()).disc);
}

// The type word only tells decoded sound from raw sectors; the content says
// which decoder reads it.
TEST(CueSheetTest, DecodedFilesAreKnownByTheirContentAndRawOnesLieBetweenThem) {
  test::TempDir dir;
  test::WriteSoundFile(dir.File("one.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 44100, 2,
                       1000 * 588);
  test::WriteSoundFile(dir.File("two.aiff"), SF_FORMAT_AIFF | SF_FORMAT_PCM_16, 44100, 1,
                       500 * 588);
  dir.Write("data.bin", std::string(300 * 2352, '\0'));
  test::WriteSoundFile(dir.File("four.wav"), kWave16, 44100, 2, 200 * 588 - 1);
  auto result = ParseCueSheet(
      "FILE \"one.flac\" WAVE\nTRACK 01 AUDIO\nINDEX 01 00:00:00\n"
      "FILE \"two.aiff\" AIFF\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n"
      "FILE \"data.bin\" BINARY\nTRACK 03 MODE1/2352\nINDEX 01 00:00:00\n"
      "FILE \"four.wav\" FLAC\nTRACK 04 AUDIO\nINDEX 01 00:00:00\n",
      dir.path());
  ASSERT_TRUE(result.disc) << result.error;
  EXPECT_EQ(result.disc->audio,
            (ImageLayout{{dir.File("one.flac"), AudioFileKind::kDecoded, 150, 1000},
                         {dir.File("two.aiff"), AudioFileKind::kDecoded, 1150, 500},
                         {dir.File("data.bin"), AudioFileKind::kRaw, 1650, 300},
                         {dir.File("four.wav"), AudioFileKind::kDecoded, 1950, 200}}));
  EXPECT_EQ(result.disc->tracks[3].start_frame, 1950);
  EXPECT_EQ(result.disc->lead_out_frame, 2150);
}

TEST(CueSheetTest, MalformedSheetsNameTheLine) {
  test::TempDir dir;
  dir.Write("noise.wav", "not a riff file at all");
  test::WriteSoundFile(dir.File("hz48.flac"), SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 48000, 2, 588);
  test::WriteSoundFile(dir.File("three.wav"), kWave16, 44100, 3, 588);
  dir.Write("short.bin", std::string(100 * 2352, '\0'));
  const std::string ok_track = "TRACK 01 AUDIO\nINDEX 01 00:00:00\n";
  const std::pair<std::string, std::string> cases[] = {
      {"REM only a comment\n", "no TRACK"},
      {"REM LEADOUT 10:00:00\n" + ok_track + "TRACK 03 AUDIO\nINDEX 01 01:00:00\n", "line 4:"},
      {"REM LEADOUT 10:00:00\nTRACK 02 AUDIO\nINDEX 01 00:00:00\n", "line 2:"},
      {"REM LEADOUT 10:00:00\nTRACK 01 AUDIO\nINDEX 01 00:60:00\n", "line 3:"},
      {"REM LEADOUT 10:00:00\nTRACK 01 AUDIO\nINDEX 01 00:00:75\n", "line 3:"},
      {"REM LEADOUT 10:00:00\nTRACK 01 AUDIO\nINDEX 01 1:2\n", "line 3:"},
      {"REM LEADOUT 10:00:00\nTRACK 01 AUDIO\nINDEX 01 99999999999:00:00\n", "line 3:"},
      {"REM LEADOUT 10:00:00\nTRACK 99999999999 AUDIO\n", "line 2:"},
      {"REM LEADOUT 10:00:00\nTRACK 01\n", "line 2:"},
      {"REM LEADOUT 10:00:00\nTRACK 01 AUDIO\nINDEX 00 00:00:00\n", "line 2:"},
      {"REM LEADOUT 10:00:00\nINDEX 01 00:00:00\n", "line 2:"},
      {"REM LEADOUT 10:00:00\n" + ok_track + "TRACK 02 AUDIO\nINDEX 01 00:00:00\n", "line 5:"},
      {"REM LEADOUT 10:00:00\n" + ok_track + "INDEX 01 00:00:01\n", "line 4:"},
      {"REM LEADOUT 00:00:00\n" + ok_track, "line 1:"},
      {"REM LEADOUT 10:00\n" + ok_track, "line 1:"},
      {ok_track, "no FILE and no REM LEADOUT"},
      {"FILE \"noise.wav\" WAVE\n" + ok_track,
       "line 1: \"noise.wav\" cannot be played: not an audio file"},
      {"FILE \"hz48.flac\" FLAC\n" + ok_track,
       "line 1: \"hz48.flac\" cannot be played: not 44100 Hz"},
      {"FILE \"three.wav\" WAVE\n" + ok_track,
       "line 1: \"three.wav\" cannot be played: more than 2 channels"},
      {"FILE \"disc.img\" MOTOROLA\n" + ok_track, "line 1: file type MOTOROLA is not supported"},
      {"FILE \"song.mp3\" MP3\n" + ok_track, "line 1:"},
      {"FILE \"unclosed WAVE\n" + ok_track, "line 1:"},
      {"FILE \"short.bin\" BINARY\nTRACK 01 AUDIO\nINDEX 01 00:02:00\n", "line 3:"},
      {"FILE \"gone.bin\" BINARY\n" + ok_track + "FILE \"short.bin\" BINARY\n", "line 1:"},
      {"FILE \"gone.wav\" WAVE\n" + ok_track, "line 1:"},
      {"REM LEADOUT 10:00:00\n" + ok_track + "PLAY LOUDLY\n", "line 4:"},
  };
  for (const auto& [sheet, error_start] : cases) {
    auto result = ParseCueSheet(sheet, dir.path());
    EXPECT_FALSE(result.disc) << sheet;
    EXPECT_EQ(result.error.find(error_start), 0u) << sheet << "\n gave: " << result.error;
  }
}

}  // namespace
}  // namespace zcd
