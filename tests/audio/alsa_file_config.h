#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zcd::test {

// Where ALSA's file plugin passes the samples on after recording them: a
// device that takes them at once, or the private sound server in real time.
enum class FileSlave { kNull, kPulse };

// Writes an ALSA configuration defining `pcm_name` as a device that records
// every sample written, raw, in `out_file` and plays it on `slave`.
void WriteAlsaFileConfig(const std::string& path, const std::string& pcm_name,
                         const std::string& out_file, FileSlave slave);

// The 16-bit samples of a raw file in the machine's byte order.
std::vector<int16_t> ReadRawSamples(const std::string& path);

}  // namespace zcd::test
