#include "audio/image_sector_source.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "audio/audio_file.h"
#include "audio/raw_audio_file.h"

namespace zcd {
namespace {

struct OpenFile {
  ImageAudioFile where;
  std::unique_ptr<AudioFileReader> decoded;
  std::unique_ptr<RawAudioFile> raw;
};

class ImageSectorSource : public SectorSource {
 public:
  explicit ImageSectorSource(std::vector<OpenFile> files) : files_(std::move(files)) {}

  bool Read(int32_t frame, SectorSamples& out) override {
    auto after = std::upper_bound(
        files_.begin(), files_.end(), frame,
        [](int32_t value, const OpenFile& file) { return value < file.where.first_frame; });
    if (after == files_.begin())
      return false;
    OpenFile& file = *std::prev(after);
    int64_t sector = int64_t{frame} - file.where.first_frame;
    if (sector >= file.where.frames)
      return false;
    if (file.raw)
      return file.raw->ReadSector(sector, out);
    int64_t got =
        file.decoded->Read(sector * kStereoFramesPerSector, out.data(), kStereoFramesPerSector);
    if (got == kStereoFramesPerSector)
      return true;
    // Only the file's last sector may be partial; anywhere else a short read
    // means the file was cut short after it was measured.
    if (got == 0 || sector + 1 != file.where.frames)
      return false;
    std::fill(out.begin() + 2 * got, out.end(), int16_t{0});
    return true;
  }

 private:
  std::vector<OpenFile> files_;
};

}  // namespace

SourceOpen OpenImageSource(const ImageLayout& layout) {
  if (layout.empty())
    return {};
  std::vector<OpenFile> files;
  for (const ImageAudioFile& where : layout) {
    OpenFile file{where, nullptr, nullptr};
    if (where.kind == AudioFileKind::kRaw)
      file.raw = RawAudioFile::Open(where.path);
    else
      file.decoded = AudioFileReader::Open(where.path);
    if (!file.raw && !file.decoded)
      return {nullptr, "cannot read the audio file " + where.path.string()};
    files.push_back(std::move(file));
  }
  std::sort(files.begin(), files.end(), [](const OpenFile& a, const OpenFile& b) {
    return a.where.first_frame < b.where.first_frame;
  });
  return {std::make_unique<ImageSectorSource>(std::move(files)), {}};
}

}  // namespace zcd
