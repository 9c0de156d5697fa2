#include "discdb/entry_fields.h"

namespace zcd {
namespace {

// Track numbers an entry can hold, with room to spare; a key beyond them is
// never asked for.
constexpr int kMaxTrackKey = 1000;

// A value as it is gathered: its pieces so far, and whether a line of it
// lacked a line feed (which makes the whole value none).
struct Gathered {
  std::string text;
  bool present = false;
  bool broken = false;

  void Add(std::string_view piece, bool has_line_feed) {
    present = true;
    broken = broken || !has_line_feed;
    if (!broken)
      text.append(piece);
  }
  std::optional<std::string> Take() {
    if (!present || broken)
      return std::nullopt;
    return std::move(text);
  }
};

// n of a line starting "<prefix>n=", spelled as "%d" spells it; the value
// starts after the "=". None for anything else.
std::optional<int> TrackKeyNumber(std::string_view line, std::string_view prefix,
                                  size_t* value_at) {
  if (!line.starts_with(prefix))
    return std::nullopt;
  size_t i = prefix.size();
  int n = 0;
  const size_t digits_at = i;
  while (i < line.size() && line[i] >= '0' && line[i] <= '9' && n < kMaxTrackKey)
    n = n * 10 + (line[i++] - '0');
  const size_t digits = i - digits_at;
  if (digits == 0 || i >= line.size() || line[i] != '=' || n >= kMaxTrackKey ||
      (digits > 1 && line[digits_at] == '0'))
    return std::nullopt;
  *value_at = i + 1;
  return n;
}

void AddTrackPiece(std::vector<Gathered>& values, int n, std::string_view piece, bool lf) {
  if (values.size() <= static_cast<size_t>(n))
    values.resize(static_cast<size_t>(n) + 1);
  values[static_cast<size_t>(n)].Add(piece, lf);
}

std::vector<std::optional<std::string>> TakeAll(std::vector<Gathered>& values) {
  std::vector<std::optional<std::string>> taken;
  taken.reserve(values.size());
  for (Gathered& value : values)
    taken.push_back(value.Take());
  return taken;
}

}  // namespace

const std::optional<std::string>& EntryFields::Title(int n) const {
  static const std::optional<std::string> kNone;
  return n >= 0 && static_cast<size_t>(n) < titles.size() ? titles[static_cast<size_t>(n)] : kNone;
}

const std::optional<std::string>& EntryFields::TrackExtended(int n) const {
  static const std::optional<std::string> kNone;
  return n >= 0 && static_cast<size_t>(n) < track_extended.size()
             ? track_extended[static_cast<size_t>(n)]
             : kNone;
}

EntryFields ReadEntryFields(std::string_view text) {
  Gathered disc_title;
  Gathered disc_extended;
  std::vector<Gathered> titles;
  std::vector<Gathered> track_extended;
  for (size_t start = 0; start < text.size();) {
    const size_t lf = text.find('\n', start);
    const bool has_lf = lf != std::string_view::npos;
    const std::string_view line = text.substr(start, has_lf ? lf - start : text.size() - start);
    start = has_lf ? lf + 1 : text.size();
    // The piece ends before the line's CR.
    const auto piece = [&](size_t from) {
      std::string_view value = line.substr(from);
      if (has_lf && value.ends_with('\r'))
        value.remove_suffix(1);
      return value;
    };
    size_t value_at = 0;
    switch (line.empty() ? '\0' : line.front()) {
      case 'D':
        if (line.starts_with("DTITLE="))
          disc_title.Add(piece(7), has_lf);
        break;
      case 'E':
        if (line.starts_with("EXTD="))
          disc_extended.Add(piece(5), has_lf);
        else if (const auto n = TrackKeyNumber(line, "EXTT", &value_at))
          AddTrackPiece(track_extended, *n, piece(value_at), has_lf);
        break;
      case 'T':
        if (const auto n = TrackKeyNumber(line, "TTITLE", &value_at))
          AddTrackPiece(titles, *n, piece(value_at), has_lf);
        break;
      default:
        break;
    }
  }
  EntryFields fields;
  fields.disc_title = disc_title.Take();
  fields.disc_extended = disc_extended.Take();
  fields.titles = TakeAll(titles);
  fields.track_extended = TakeAll(track_extended);
  return fields;
}

}  // namespace zcd
