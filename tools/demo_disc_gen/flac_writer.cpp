#include "tools/demo_disc_gen/flac_writer.h"

#include "tools/demo_disc_gen/disc_plan.h"

namespace zcd::demo_gen {

FlacWriter::FlacWriter(const std::string& path) : path_(path) {
  SF_INFO info{};
  info.samplerate = kSampleRate;
  info.channels = kChannels;
  info.format = SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
  file_ = sf_open(path.c_str(), SFM_WRITE, &info);
  if (file_ == nullptr)
    error_ = path + ": " + sf_strerror(nullptr);
}

FlacWriter::~FlacWriter() {
  Close();
}

void FlacWriter::Write(const std::vector<int16_t>& interleaved) {
  if (file_ == nullptr || !error_.empty())
    return;
  const auto frames = static_cast<sf_count_t>(interleaved.size() / kChannels);
  if (sf_writef_short(file_, interleaved.data(), frames) != frames)
    error_ = path_ + ": " + sf_strerror(file_);
}

bool FlacWriter::Close() {
  if (file_ != nullptr) {
    if (sf_close(file_) != 0 && error_.empty())
      error_ = path_ + ": cannot finish the file";
    file_ = nullptr;
  }
  return error_.empty();
}

}  // namespace zcd::demo_gen
