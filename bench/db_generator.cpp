#include "db_generator.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "discdb/db_file_io.h"
#include "discdb/db_format.h"

namespace zcd::bench {
namespace {

constexpr const char* kCategories[] = {"rock",  "jazz", "classical", "misc",
                                       "blues", "folk", "newage",    "soundtrack"};
constexpr const char* kWords[] = {"Blue",  "Night", "River",  "Fire",   "Dream", "Stone",
                                  "Light", "Heart", "Shadow", "Summer", "Road",  "Glass"};
constexpr const char* kCacheFolder = "/tmp/zcd-bench";
constexpr int kCacheVersion = 1;

// A bijection of 32-bit numbers, so that identifiers never repeat.
uint32_t Scramble(uint32_t x) {
  x ^= 0x5bd1e995u;
  x *= 0x9E3779B1u;
  x ^= x >> 15;
  x *= 0x85EBCA77u;
  x ^= x >> 13;
  return x;
}

uint32_t Noise(size_t i, uint32_t salt) {
  return Scramble(static_cast<uint32_t>(i) * 2654435761u ^ salt);
}

void AppendLine(std::string& text, const char* format, auto... args) {
  char line[160];
  const int n = std::snprintf(line, sizeof line, format, args...);
  text.append(line, static_cast<size_t>(n));
  text += "\r\n";
}

std::string Title(size_t i, uint32_t salt) {
  const uint32_t n = Noise(i, salt);
  std::string title = kWords[n % 12];
  title += ' ';
  title += kWords[(n >> 8) % 12];
  if ((n >> 16) % 3 == 0) {
    title += " of ";
    title += kWords[(n >> 20) % 12];
  }
  return title;
}

}  // namespace

std::string GeneratedId(size_t i) {
  char id[9];
  std::snprintf(id, sizeof id, "%08x", Scramble(static_cast<uint32_t>(i)));
  return id;
}

std::string GeneratedKey(size_t i) {
  return std::string(kCategories[Noise(i, 1) % 8]) + "/" + GeneratedId(i);
}

std::string GeneratedText(size_t i) {
  const size_t target = 600 + Noise(i, 2) % 901;
  const int tracks = 5 + static_cast<int>(Noise(i, 3) % 10);
  const std::string id = GeneratedId(i);
  std::string text;
  text.reserve(target);
  AppendLine(text, "200 %s %s", kCategories[Noise(i, 1) % 8], id.c_str());
  text += "# xmcd\r\n#\r\n# Track frame offsets:\r\n";
  int offset = 150;
  for (int t = 0; t < tracks; ++t) {
    AppendLine(text, "#\t%d", offset);
    offset += 9000 + static_cast<int>(Noise(i * 100 + t, 4) % 20000);
  }
  AppendLine(text, "#\r\n# Disc length: %d seconds\r\n#", offset / 75 + 2);
  text += "# Revision: 0\r\n# Submitted via: ZCD 0.1.0\r\n#\r\n";
  AppendLine(text, "DISCID=%s", id.c_str());
  AppendLine(text, "DTITLE=%s / %s", Title(i, 5).c_str(), Title(i, 6).c_str());
  for (int t = 0; t < tracks; ++t)
    AppendLine(text, "TTITLE%d=%s", t, Title(i * 100 + t, 7).c_str());
  text += "EXTD=";
  // The extended text takes up what is left to reach the entry's length.
  const std::string tail_end = "\r\nPLAYORDER=\r\n.\r\n";
  for (size_t k = 0; text.size() + tail_end.size() < target; ++k) {
    if (k % 64 == 63)
      text += "\r\nEXTD=";
    text += static_cast<char>('a' + (Noise(i, 8) + k * 7) % 26);
  }
  text += tail_end;
  return text;
}

bool WriteGeneratedDatabase(const std::string& path, size_t entries) {
  const std::string temp = path + ".part";
  UniqueFd fd = DbOpen(temp, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!fd.valid())
    return false;
  std::vector<char> rows(entries * kDbRowSize);
  std::string buffer;
  buffer.reserve(8 << 20);
  buffer.resize(kDbHeadSize);
  int64_t written = 0;
  int64_t offset = kDbHeadSize;
  for (size_t i = 0; i < entries; ++i) {
    const std::string text = GeneratedText(i);
    FillRow(rows.data() + i * kDbRowSize, GeneratedKey(i), static_cast<int32_t>(offset),
            static_cast<int32_t>(text.size()));
    offset += static_cast<int64_t>(text.size());
    buffer += text;
    if (buffer.size() > (8 << 20) - 2000) {
      if (!DbWriteAt(fd.get(), buffer.data(), buffer.size(), written))
        return false;
      written += static_cast<int64_t>(buffer.size());
      buffer.clear();
    }
  }
  if (!DbWriteAt(fd.get(), buffer.data(), buffer.size(), written) ||
      !DbWriteAt(fd.get(), rows.data(), rows.size(), offset))
    return false;
  DbHead head;
  head.magic = kDbMagic;
  head.index_offset = static_cast<int32_t>(offset);
  head.index_size = static_cast<int32_t>(rows.size());
  char head_bytes[kDbHeadSize];
  head.Store(head_bytes);
  return DbWriteAt(fd.get(), head_bytes, sizeof head_bytes, 0) &&
         ::rename(temp.c_str(), path.c_str()) == 0;
}

std::string CachedDatabase(size_t entries) {
  ::mkdir(kCacheFolder, 0755);
  char path[128];
  std::snprintf(path, sizeof path, "%s/generated-v%d-%zu.zdb", kCacheFolder, kCacheVersion,
                entries);
  struct stat st {};
  if (::stat(path, &st) == 0)
    return path;
  std::fprintf(stderr, "generating %s...\n", path);
  return WriteGeneratedDatabase(path, entries) ? path : "";
}

bool CopyCachedDatabase(size_t entries, const std::string& path) {
  const std::string source = CachedDatabase(entries);
  if (source.empty())
    return false;
  UniqueFd in = DbOpen(source, O_RDONLY);
  UniqueFd out = DbOpen(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (!in.valid() || !out.valid())
    return false;
  std::vector<char> buffer(8 << 20);
  for (int64_t at = 0;;) {
    const ssize_t n = ::pread(in.get(), buffer.data(), buffer.size(), at);
    if (n < 0)
      return false;
    if (n == 0)
      return ::fsync(out.get()) == 0;  // measured writes then meet clean pages, as usual
    if (!DbWriteAt(out.get(), buffer.data(), static_cast<size_t>(n), at))
      return false;
    at += n;
  }
}

}  // namespace zcd::bench
