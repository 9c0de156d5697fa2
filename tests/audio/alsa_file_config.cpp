#include "audio/alsa_file_config.h"

#include <fstream>
#include <iterator>
#include <stdexcept>

namespace zcd::test {

void WriteAlsaFileConfig(const std::string& path, const std::string& pcm_name,
                         const std::string& out_file, FileSlave slave) {
  std::ofstream out(path, std::ios::trunc);
  out << "pcm." << pcm_name << " {\n"
      << "  type file\n"
      << "  slave.pcm { type " << (slave == FileSlave::kNull ? "null" : "pulse") << " }\n"
      << "  file \"" << out_file << "\"\n"
      << "  format raw\n"
      << "}\n";
  if (!out.flush())
    throw std::runtime_error("cannot write " + path);
}

std::vector<int16_t> ReadRawSamples(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<int16_t> samples(bytes.size() / sizeof(int16_t));
  bytes.copy(reinterpret_cast<char*>(samples.data()), samples.size() * sizeof(int16_t));
  return samples;
}

}  // namespace zcd::test
