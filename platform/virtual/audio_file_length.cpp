#include "platform/virtual/audio_file_length.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <fstream>

namespace zcd {
namespace {

uint32_t LittleEndian32(const std::array<char, 8>& bytes, int offset) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
  return value;
}

// Walks the RIFF chunks to the data chunk. A data size larger than the file
// (as streaming writers leave it) counts only the bytes that are there.
AudioFileLength MeasureWave(std::ifstream& in, int64_t file_size) {
  std::array<char, 8> head{};
  std::array<char, 4> form{};
  if (!in.read(head.data(), head.size()) || !in.read(form.data(), form.size()) ||
      std::memcmp(head.data(), "RIFF", 4) != 0 || std::memcmp(form.data(), "WAVE", 4) != 0)
    return {AudioFileStatus::kMalformed, 0};
  int64_t offset = 12;
  while (in.read(head.data(), head.size())) {
    offset += 8;
    int64_t size = LittleEndian32(head, 4);
    if (std::memcmp(head.data(), "data", 4) == 0) {
      int64_t present = std::min(size, file_size - offset);
      return {AudioFileStatus::kOk, present / kBytesPerCdFrame};
    }
    offset += size + (size & 1);
    if (offset >= file_size || !in.seekg(offset))
      break;
  }
  return {AudioFileStatus::kMalformed, 0};
}

}  // namespace

AudioFileLength MeasureAudioFile(const std::filesystem::path& path, bool wave) {
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    return {AudioFileStatus::kMissing, 0};
  auto size = std::filesystem::file_size(path, error);
  if (error)
    return {AudioFileStatus::kMissing, 0};
  int64_t file_size = static_cast<int64_t>(size);
  if (!wave)
    return {AudioFileStatus::kOk, file_size / kBytesPerCdFrame};
  std::ifstream in(path, std::ios::binary);
  if (!in)
    return {AudioFileStatus::kMissing, 0};
  return MeasureWave(in, file_size);
}

}  // namespace zcd
