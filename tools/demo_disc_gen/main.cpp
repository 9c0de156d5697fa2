// zcd-demo-gen OUTDIR: writes the bundled demo disc with music of its own,
// synthesised here, in the layout of resources/demo/demo.cue: demo.cue,
// harbour-lights.flac (tracks 1-9) and liner-notes.bin (the data track, a
// sparse file). The same bytes come out on every run.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <future>
#include <string>

#include "tools/demo_disc_gen/disc_plan.h"
#include "tools/demo_disc_gen/flac_writer.h"
#include "tools/demo_disc_gen/track_render.h"

namespace {

using namespace zcd::demo_gen;
namespace fs = std::filesystem;

bool Fail(const std::string& what) {
  std::fprintf(stderr, "zcd-demo-gen: %s\n", what.c_str());
  return false;
}

bool WriteSheet(const fs::path& path) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << CueSheetText();
  out.close();
  return out ? true : Fail(path.string() + ": cannot write");
}

// All zeros and all holes: it only has to be long enough to keep the lead-out.
bool WriteDataTrack(const fs::path& path) {
  const off_t size = static_cast<off_t>(kLeadOut - kDataTrackStart) * kBytesPerCdFrame;
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0)
    return Fail(path.string() + ": cannot create");
  const bool ok = ftruncate(fd, size) == 0;
  return close(fd) == 0 && ok ? true : Fail(path.string() + ": cannot set its size");
}

// Encoding is the slow part, so the next track is synthesised meanwhile.
bool WriteAudio(const fs::path& path) {
  const fs::path part = path.string() + ".part";
  FlacWriter flac(part.string());
  std::future<std::vector<int16_t>> next = std::async(std::launch::async, RenderTrack, 0);
  for (size_t track = 0; track < kAudioTracks.size() && flac.error().empty(); ++track) {
    const std::vector<int16_t> samples = next.get();
    if (track + 1 < kAudioTracks.size())
      next = std::async(std::launch::async, RenderTrack, track + 1);
    flac.Write(samples);
  }
  if (next.valid())
    next.wait();
  if (!flac.Close())
    return Fail(flac.error());
  std::error_code error;
  fs::rename(part, path, error);
  return error ? Fail(path.string() + ": " + error.message()) : true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: zcd-demo-gen OUTDIR\n");
    return 2;
  }
  const fs::path folder = argv[1];
  std::error_code error;
  fs::create_directories(folder, error);
  if (error) {
    Fail(folder.string() + ": " + error.message());
    return 1;
  }
  const bool ok = WriteSheet(folder / kCueFileName) && WriteDataTrack(folder / kDataFileName) &&
                  WriteAudio(folder / kAudioFileName);
  return ok ? 0 : 1;
}
