#include <array>

#include "discdb/disc_id.h"
#include "discdb/entry_parse.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;

using TrackValues = std::array<OptText, kMaxTracks>;

// The values of every "<prefix>%d=" key for 0..99, exactly as GetEntryValue
// would gather them one key at a time, in a single pass: reading a 100-track
// entry key by key would scan its text 200 times.
//
// A key occurrence counts when it is the first of that key on its line (the
// search for the next piece resumes after the line end). Any counted
// occurrence on the unterminated last line makes the whole value none. The
// prefixes used ("TTITLE", "EXTT") cannot overlap themselves, so the search
// may resume right after each occurrence.
TrackValues GatherTrackValues(std::string_view text, std::string_view prefix) {
  TrackValues values;
  // Sentinel line end meaning "no occurrence yet": no real line ends there.
  constexpr std::size_t kNever = kNpos - 1;
  std::array<std::size_t, kMaxTracks> counted_line{};
  counted_line.fill(kNever);
  std::array<bool, kMaxTracks> unterminated{};

  bool line_known = false;
  std::size_t line_end = 0;
  for (std::size_t at = text.find(prefix); at != kNpos;
       at = text.find(prefix, at + prefix.size())) {
    const std::size_t digits = at + prefix.size();
    std::size_t equals = digits;
    while (equals < text.size() && text[equals] >= '0' && text[equals] <= '9')
      ++equals;
    // Keys are spelt "%d": one or two digits, no leading zero, then "=".
    const std::size_t length = equals - digits;
    if (equals >= text.size() || text[equals] != '=' || length == 0 || length > 2 ||
        (length == 2 && text[digits] == '0'))
      continue;
    const int n =
        length == 1 ? text[digits] - '0' : (text[digits] - '0') * 10 + (text[digits + 1] - '0');
    if (!line_known || (line_end != kNpos && at > line_end)) {
      line_end = text.find('\n', equals + 1);
      line_known = true;
    }
    if (counted_line[n] == line_end)
      continue;
    counted_line[n] = line_end;
    if (line_end == kNpos) {
      unterminated[n] = true;
      continue;
    }
    const std::size_t start = equals + 1;
    std::size_t end = line_end;
    if (end > start && text[end - 1] == '\r')
      --end;
    if (!values[n])
      values[n].emplace();
    values[n]->append(text.substr(start, end - start));
  }
  for (int n = 0; n < kMaxTracks; ++n) {
    if (unterminated[n])
      values[n].reset();
  }
  return values;
}

// Puts category in place of the head line's second word.
void ReplaceHeadCategory(std::string& text, std::string_view category) {
  const std::string_view head = std::string_view(text).substr(0, text.find('\n'));
  const std::size_t first = head.find(' ');
  if (first == kNpos)
    return;
  const std::size_t second = head.find(' ', first + 1);
  if (second == kNpos)
    return;
  text.replace(first + 1, second - first - 1, category);
}

}  // namespace

bool ReadEntryIntoRecord(DiscRecord& record, std::string_view text, bool bound) {
  if (text.empty())
    return false;
  record.ClearDiscText();
  record.SetDiscTitle(GetEntryValue("DTITLE=", text));
  record.SetDiscExtended(GetEntryValue("EXTD=", text));
  record.SetCategory(HeadCategory(text, 1));
  DiscTiming timing = record.Timing();
  record.SetDiscIdText(DiscIdText(ComputeCddbDiscId(timing)));

  TrackValues titles = GatherTrackValues(text, "TTITLE");
  TrackValues extended = GatherTrackValues(text, "EXTT");
  int count = timing.track_count;
  if (!bound) {
    // The titles decide how many tracks a free-standing record has; the
    // first missing one ends them.
    count = 0;
    while (count < kMaxTracks && titles[count])
      ++count;
    timing.track_count = count;
    record.SetTiming(timing);
  }
  for (int n = 0; n < count; ++n) {
    record.SetTrackTitle(n, std::move(titles[n]));
    record.SetTrackExtended(n, std::move(extended[n]));
  }
  return true;
}

void WriteRecordIntoEntry(const DiscRecord& record, std::string& text) {
  if (text.empty())
    return;
  // An empty category would leave two blanks in a row and an unreadable head.
  if (const OptText category = record.Category(); category && !category->empty())
    ReplaceHeadCategory(text, *category);
  SetEntryValue("DTITLE=", record.DiscTitle(), text);
  SetEntryValue("EXTD=", record.DiscExtended(), text);
  const int count = record.TrackCount();
  for (int n = 0; n < count; ++n) {
    SetEntryValue(entry_parse::TrackKey("TTITLE", n), record.TrackTitle(n), text);
    SetEntryValue(entry_parse::TrackKey("EXTT", n), record.TrackExtended(n), text);
  }
}

}  // namespace zcd
