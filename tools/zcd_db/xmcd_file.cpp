#include "tools/zcd_db/xmcd_file.h"

#include <vector>

#include "discdb/database.h"
#include "discdb/entry_text_encoding.h"

namespace zcd::tool {
namespace {

std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    if (line.ends_with('\r'))
      line.remove_suffix(1);
    lines.push_back(line);
    if (end == std::string_view::npos)
      break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t at = 0;
  while (at < line.size()) {
    const size_t start = line.find_first_not_of(' ', at);
    if (start == std::string_view::npos)
      break;
    const size_t end = line.find(' ', start);
    words.push_back(line.substr(start, end - start));
    at = end == std::string_view::npos ? line.size() : end;
  }
  return words;
}

std::optional<std::string> DiscIdFrom(std::string_view text) {
  if (text.size() != 8)
    return std::nullopt;
  std::string id;
  for (char c : text) {
    if (c >= 'A' && c <= 'F')
      c = static_cast<char>(c - 'A' + 'a');
    if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
      return std::nullopt;
    id += c;
  }
  return id;
}

bool IsKeywordLine(std::string_view line) {
  const size_t equals = line.find('=');
  if (equals == 0 || equals == std::string_view::npos)
    return false;
  for (char c : line.substr(0, equals)) {
    if (!((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_'))
      return false;
  }
  return true;
}

bool IsCategory(std::string_view word) {
  if (word.empty())
    return false;
  for (char c : word) {
    if (static_cast<unsigned char>(c) <= ' ' || c == '/' || c == 0x7f)
      return false;
  }
  return true;
}

std::optional<XmcdEntry> Malformed(std::string& error, std::string reason) {
  error = std::move(reason);
  return std::nullopt;
}

}  // namespace

std::optional<XmcdEntry> ReadXmcdEntry(std::string_view content, const std::string& folder_name,
                                       const std::string& file_name, std::string& error) {
  if (content.find('\0') != std::string_view::npos)
    return Malformed(error, "is not a text file");
  if (content.starts_with("\xef\xbb\xbf"))
    content.remove_prefix(3);
  const std::string text = EntryBytesToStored(content);
  std::vector<std::string_view> lines = SplitLines(text);

  std::string category = folder_name;
  std::optional<std::string> disc_id = DiscIdFrom(file_name);
  size_t first = 0;
  if (!lines.empty() && !lines[0].starts_with('#')) {
    const std::vector<std::string_view> head = Words(lines[0]);
    if (head.size() < 3 || head[0].size() != 3 || !DiscIdFrom(head[2]))
      return Malformed(error, "has a head line without category and disc identifier");
    category = std::string(head[1]);
    disc_id = DiscIdFrom(head[2]);
    first = 1;
  }
  if (first >= lines.size() || !lines[first].starts_with("# xmcd"))
    return Malformed(error, "does not start with \"# xmcd\"");

  std::string body;
  bool has_title = false;
  std::optional<std::string> listed_id;
  for (size_t i = first; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line == ".")
      break;
    if (line.empty())
      continue;
    if (!line.starts_with('#')) {
      if (!IsKeywordLine(line))
        return Malformed(
            error, "line " + std::to_string(i + 1) + " is neither a comment nor a KEY=value line");
      if (line.starts_with("DTITLE="))
        has_title = true;
      if (line.starts_with("DISCID=") && !listed_id)
        listed_id = DiscIdFrom(line.substr(7, line.find(',') - 7));
    }
    body.append(line);
    body += "\r\n";
  }
  if (!has_title)
    return Malformed(error, "has no DTITLE line");
  if (!disc_id)
    disc_id = listed_id;
  if (!disc_id)
    return Malformed(error, "has no disc identifier (DISCID line or file name)");
  if (!IsCategory(category))
    return Malformed(error, "has no usable category (head line or folder name)");
  XmcdEntry entry;
  entry.key = category + "/" + *disc_id;
  if (entry.key.size() >= kDbKeyField)
    return Malformed(error, "has a category too long for a database key");
  entry.text = "200 " + category + " " + *disc_id + "\r\n" + body + ".\r\n";
  return entry;
}

}  // namespace zcd::tool
