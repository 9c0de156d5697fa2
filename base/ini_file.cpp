#include "base/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>

#include "base/text.h"
#include "base/unique_fd.h"

namespace zcd {
namespace {

// Larger than any settings file; beyond it the file is garbage and is read
// only in part, so that a huge file cannot exhaust memory.
constexpr size_t kMaxFileBytes = 64 * 1024 * 1024;

// The blanks the classic reader trims around names and values.
bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front()))
    text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back()))
    text.remove_suffix(1);
  return text;
}

// The value part of a key line as the classic reader hands it out.
std::string CleanValue(std::string_view raw) {
  std::string_view value = Trim(raw.substr(0, raw.find('\0')));
  if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
    value = value.substr(1, value.size() - 2);
  return std::string(value);
}

std::string StoredValue(std::string_view value) {
  value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
  bool needs_quotes =
      !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) ||
                         (value.size() >= 2 && value.front() == '"' && value.back() == '"'));
  if (needs_quotes)
    return "\"" + std::string(value) + "\"";
  return std::string(value);
}

std::string Describe(const std::string& what, const std::string& path, int error) {
  return what + " \"" + path + "\": " + std::strerror(error) + ".";
}

bool WriteAll(int fd, std::string_view data) {
  while (!data.empty()) {
    ssize_t written = write(fd, data.data(), data.size());
    if (written < 0) {
      if (errno == EINTR)
        continue;
      return false;
    }
    data.remove_prefix(static_cast<size_t>(written));
  }
  return true;
}

std::string FolderOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos)
    return ".";
  return slash == 0 ? "/" : path.substr(0, slash);
}

// A link to the settings file (kept elsewhere by the user) stays a link: the
// file it points to is replaced instead.
std::string FollowLink(const std::string& path) {
  struct stat info {};
  if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
    return path;
  char resolved[PATH_MAX];
  if (realpath(path.c_str(), resolved) == nullptr)
    return path;
  return resolved;
}

}  // namespace

IniFile IniFile::Load(const std::string& path) {
  UniqueFd fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
  if (!fd.valid()) {
    IniFile empty;
    if (errno != ENOENT)
      empty.load_error_ = Describe("Cannot read the file", path, errno);
    return empty;
  }
  std::string text;
  std::optional<std::string> error;
  char buffer[65536];
  while (true) {
    ssize_t got = read(fd.get(), buffer, sizeof buffer);
    if (got < 0 && errno == EINTR)
      continue;
    if (got < 0) {
      error = Describe("Cannot read the file", path, errno);
      break;
    }
    if (got == 0)
      break;
    if (text.size() + static_cast<size_t>(got) > kMaxFileBytes) {
      error = "The file \"" + path + "\" is too large to be a settings file.";
      break;
    }
    text.append(buffer, static_cast<size_t>(got));
  }
  IniFile file = Parse(text);
  file.load_error_ = std::move(error);
  return file;
}

IniFile IniFile::Parse(std::string_view text) {
  IniFile file;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    file.lines_.push_back(Classify(std::string(line)));
  }
  return file;
}

IniFile::Line IniFile::Classify(std::string text) {
  Line line{std::move(text), Line::Kind::kOther, {}};
  std::string_view body = Trim(line.text);
  if (body.empty() || body.front() == ';')
    return line;
  if (body.front() == '[') {
    size_t close = body.rfind(']');
    if (close != std::string_view::npos) {
      line.kind = Line::Kind::kSection;
      line.name = std::string(Trim(body.substr(1, close - 1)));
    }
    return line;
  }
  size_t equals = body.find('=');
  if (equals != std::string_view::npos) {
    line.kind = Line::Kind::kKey;
    line.name = std::string(Trim(body.substr(0, equals)));
  }
  return line;
}

std::optional<size_t> IniFile::FindSection(std::string_view section) const {
  for (size_t i = 0; i < lines_.size(); ++i) {
    if (lines_[i].kind == Line::Kind::kSection && EqualsIgnoringCase(lines_[i].name, section))
      return i;
  }
  return std::nullopt;
}

size_t IniFile::SectionEnd(size_t header) const {
  size_t i = header + 1;
  while (i < lines_.size() && lines_[i].kind != Line::Kind::kSection)
    ++i;
  return i;
}

std::optional<size_t> IniFile::FindKey(std::string_view section, std::string_view key) const {
  std::optional<size_t> header = FindSection(section);
  if (!header)
    return std::nullopt;
  size_t end = SectionEnd(*header);
  for (size_t i = *header + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Kind::kKey && EqualsIgnoringCase(lines_[i].name, key))
      return i;
  }
  return std::nullopt;
}

std::optional<std::string> IniFile::GetString(std::string_view section,
                                              std::string_view key) const {
  std::optional<size_t> index = FindKey(section, key);
  if (!index)
    return std::nullopt;
  const std::string& text = lines_[*index].text;
  return CleanValue(std::string_view(text).substr(text.find('=') + 1));
}

std::optional<std::string> IniFile::GetString(std::string_view section, std::string_view key,
                                              size_t max_chars) const {
  std::optional<std::string> value = GetString(section, key);
  if (value && value->size() > max_chars)
    value->resize(max_chars);
  return value;
}

int IniFile::GetInt(std::string_view section, std::string_view key, int default_value) const {
  std::optional<std::string> value = GetString(section, key);
  if (!value || value->empty())
    return default_value;
  std::string_view digits = *value;
  while (!digits.empty() && IsBlank(digits.front()))
    digits.remove_prefix(1);
  bool negative = false;
  if (!digits.empty() && (digits.front() == '-' || digits.front() == '+')) {
    negative = digits.front() == '-';
    digits.remove_prefix(1);
  }
  long long magnitude = 0;
  for (char c : digits) {
    if (c < '0' || c > '9')
      break;
    magnitude = magnitude * 10 + (c - '0');
    if (magnitude > static_cast<long long>(INT_MAX) + 1)
      magnitude = static_cast<long long>(INT_MAX) + 1;
  }
  long long result = negative ? -magnitude : magnitude;
  return result > INT_MAX ? INT_MAX : static_cast<int>(result);
}

std::vector<std::pair<std::string, std::string>> IniFile::Entries(std::string_view section) const {
  std::vector<std::pair<std::string, std::string>> entries;
  std::optional<size_t> header = FindSection(section);
  if (!header)
    return entries;
  size_t end = SectionEnd(*header);
  for (size_t i = *header + 1; i < end; ++i) {
    if (lines_[i].kind != Line::Kind::kKey)
      continue;
    const std::string& text = lines_[i].text;
    entries.emplace_back(lines_[i].name,
                         CleanValue(std::string_view(text).substr(text.find('=') + 1)));
  }
  return entries;
}

void IniFile::SetString(std::string_view section, std::string_view key, std::string_view value) {
  std::string stored = StoredValue(value);
  if (std::optional<size_t> index = FindKey(section, key)) {
    Line& line = lines_[*index];
    line.text = line.name + "=" + stored;
    return;
  }
  Line key_line{std::string(key) + "=" + stored, Line::Kind::kKey, std::string(key)};
  std::optional<size_t> header = FindSection(section);
  if (!header) {
    if (!lines_.empty() && !Trim(lines_.back().text).empty())
      lines_.push_back(Line{{}, Line::Kind::kOther, {}});
    lines_.push_back(
        Line{"[" + std::string(section) + "]", Line::Kind::kSection, std::string(section)});
    lines_.push_back(std::move(key_line));
    return;
  }
  // After the last key, so that blank lines and comments that lead into the
  // next section stay with it.
  size_t insert_at = *header + 1;
  size_t end = SectionEnd(*header);
  for (size_t i = *header + 1; i < end; ++i) {
    if (lines_[i].kind == Line::Kind::kKey)
      insert_at = i + 1;
  }
  lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert_at), std::move(key_line));
}

void IniFile::SetInt(std::string_view section, std::string_view key, int value) {
  SetString(section, key, std::to_string(value));
}

void IniFile::DeleteKey(std::string_view section, std::string_view key) {
  while (std::optional<size_t> index = FindKey(section, key))
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*index));
}

void IniFile::DeleteSection(std::string_view section) {
  while (std::optional<size_t> header = FindSection(section)) {
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*header),
                 lines_.begin() + static_cast<std::ptrdiff_t>(SectionEnd(*header)));
  }
}

std::string IniFile::Text() const {
  std::string text;
  for (const Line& line : lines_) {
    text += line.text;
    text += "\r\n";
  }
  return text;
}

std::string IniFile::Save(const std::string& path_or_link) const {
  if (load_error_)
    return *load_error_ + " It was left unchanged.";
  std::string path = FollowLink(path_or_link);
  // The final mode is set before the rename, so the password never lies in
  // a file that others can read, not even for a moment.
  mode_t mode = 0600;
  struct stat existing {};
  if (stat(path.c_str(), &existing) == 0)
    mode = existing.st_mode & 0600;

  std::string temp_path = path + ".XXXXXX";
  UniqueFd fd(mkostemp(temp_path.data(), O_CLOEXEC));
  if (!fd.valid())
    return Describe("Cannot write the file", path, errno);
  int error = 0;
  if (!WriteAll(fd.get(), Text()) || fchmod(fd.get(), mode) != 0 || fsync(fd.get()) != 0)
    error = errno;
  if (fd.Close() != 0 && error == 0)
    error = errno;
  if (error == 0 && rename(temp_path.c_str(), path.c_str()) != 0)
    error = errno;
  if (error != 0) {
    unlink(temp_path.c_str());
    return Describe("Cannot write the file", path, error);
  }
  // Makes the rename itself survive a crash; failing here loses nothing
  // that was already stored.
  UniqueFd folder(open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (folder.valid())
    fsync(folder.get());
  return {};
}

}  // namespace zcd
