#include "discdb/entry_text.h"

#include "discdb/entry_parse.h"

namespace zcd {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;
// No KEY=value line the program writes is longer than this before its CR LF.
constexpr std::size_t kMaxLineLength = 79;

// Line n (from 1) without its LF and without one CR before it; none when the
// text has fewer lines.
std::optional<std::string_view> LineNumber(std::string_view text, int n) {
  if (n < 1)
    return std::nullopt;
  std::size_t start = 0;
  for (int line = 1; line < n; ++line) {
    const std::size_t lf = text.find('\n', start);
    if (lf == kNpos)
      return std::nullopt;
    start = lf + 1;
  }
  std::string_view line = text.substr(start);
  line = line.substr(0, line.find('\n'));
  if (!line.empty() && line.back() == '\r')
    line.remove_suffix(1);
  return line;
}

// Where the wanted head-line field starts: after the second blank of the
// head line, after the first blank of a match line.
std::optional<std::size_t> FieldAfterBlanks(std::string_view line, int blanks) {
  std::size_t at = 0;
  for (int i = 0; i < blanks; ++i) {
    const std::size_t blank = line.find(' ', at);
    if (blank == kNpos)
      return std::nullopt;
    at = blank + 1;
  }
  return at;
}

}  // namespace

std::optional<std::string> GetEntryValue(std::string_view key, std::string_view text) {
  if (key.empty() || text.empty())
    return std::nullopt;
  std::size_t at = entry_parse::FindAtLineStart(text, key);
  if (at == kNpos)
    return std::nullopt;
  std::string value;
  // Each search starts after the previous piece, so the text is read once.
  while (at != kNpos) {
    const std::size_t start = at + key.size();
    const std::size_t lf = text.find('\n', start);
    if (lf == kNpos)
      return std::nullopt;
    std::size_t end = lf;
    if (end > start && text[end - 1] == '\r')
      --end;
    value.append(text.substr(start, end - start));
    at = entry_parse::FindAtLineStart(text, key, end);
  }
  return value;
}

bool SetEntryValue(std::string_view key, const std::optional<std::string>& value,
                   std::string& text) {
  if (key.empty() || text.empty())
    return false;
  const std::string_view view = text;
  const std::size_t at = entry_parse::FindAtLineStart(view, key);
  if (at == kNpos)
    return false;
  const std::size_t lf = view.find('\n', at + key.size());
  if (lf == kNpos)
    return false;
  std::size_t rest = lf + 1;
  while (view.substr(rest).starts_with(key)) {
    const std::size_t next_lf = view.find('\n', rest + key.size());
    rest = next_lf == kNpos ? view.size() : next_lf + 1;
  }

  const std::string_view new_value = value ? std::string_view(*value) : std::string_view();
  // A key of 79 or more characters still advances one character per line.
  const std::size_t piece = key.size() < kMaxLineLength ? kMaxLineLength - key.size() : 1;
  const std::size_t lines = new_value.empty() ? 1 : (new_value.size() + piece - 1) / piece;
  std::string out;
  out.reserve(at + lines * (key.size() + 2) + new_value.size() + (view.size() - rest));
  out.append(view.substr(0, at));
  std::size_t offset = 0;
  do {
    out.append(key);
    out.append(new_value.substr(offset, piece));
    out.append("\r\n");
    offset += piece;
  } while (offset < new_value.size());
  out.append(view.substr(rest));
  text = std::move(out);
  return true;
}

std::optional<std::string> HeadCategory(std::string_view text, int n) {
  const std::optional<std::string_view> line = LineNumber(text, n);
  if (!line)
    return std::nullopt;
  // The head line reads "code category id"; a match line "category id title".
  const std::optional<std::size_t> start =
      n == 1 ? FieldAfterBlanks(*line, 1) : std::optional<std::size_t>(0);
  if (!start)
    return std::nullopt;
  const std::size_t blank = line->find(' ', *start);
  if (blank == kNpos)
    return std::nullopt;
  return std::string(line->substr(*start, blank - *start));
}

std::optional<std::string> HeadDiscId(std::string_view text, int n) {
  constexpr std::size_t kIdLength = 8;
  const std::optional<std::string_view> line = LineNumber(text, n);
  if (!line)
    return std::nullopt;
  const std::optional<std::size_t> start = FieldAfterBlanks(*line, n == 1 ? 2 : 1);
  if (!start || line->size() - *start < kIdLength)
    return std::nullopt;
  return std::string(line->substr(*start, kIdLength));
}

void ToggleLineBreakEscapes(std::string& text) {
  // Both pairs have two characters, so the swap can be made in place.
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    if (text[i] == '\\' && text[i + 1] == 'n') {
      text[i] = '\r';
      text[++i] = '\n';
    } else if (text[i] == '\r' && text[i + 1] == '\n') {
      text[i] = '\\';
      text[++i] = 'n';
    }
  }
}

std::string ExtendedFieldToStored(std::string_view field) {
  std::string stored;
  stored.reserve(field.size());
  for (std::size_t i = 0; i < field.size(); ++i) {
    if (field[i] == '\r' || field[i] == '\n') {
      stored += "\\n";
      if (field[i] == '\r' && i + 1 < field.size() && field[i + 1] == '\n')
        ++i;
    } else {
      stored += field[i];
    }
  }
  return stored;
}

void ReplaceBlanks(std::string& text, char replacement) {
  for (char& c : text) {
    if (c == ' ')
      c = replacement;
  }
}

std::string_view SkipReplyHead(std::string_view text) {
  if (const std::size_t at = text.find("\r\n\r\n"); at != kNpos)
    return text.substr(at + 4);
  if (const std::size_t at = text.find("\n\n"); at != kNpos)
    return text.substr(at + 2);
  return text;
}

int EntryRevision(std::string_view text) {
  return entry_parse::NumberAfterLabel(text, "# Revision:").value_or(-1);
}

int EntryDiscSeconds(std::string_view text) {
  return entry_parse::NumberAfterLabel(text, "# Disc length:").value_or(0);
}

}  // namespace zcd
