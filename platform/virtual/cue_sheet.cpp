#include "platform/virtual/cue_sheet.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

#include "audio/audio_file.h"
#include "audio/raw_audio_file.h"
#include "base/text.h"

namespace zcd {
namespace {

struct CueFile {
  int line = 0;
  std::string name;
  AudioFileKind kind = AudioFileKind::kRaw;
  AudioFileLength length;
};

struct CueTrack {
  int line = 0;
  int number = 0;
  bool audio = true;
  int file = -1;  // none: times count from the start of the disc
  std::optional<int32_t> index01;
  int index_line = 0;
};

std::string LineError(int line, const std::string& what) {
  return "line " + std::to_string(line) + ": " + what;
}

std::string FormatMsf(int64_t frames) {
  char text[32];
  std::snprintf(text, sizeof text, "%02lld:%02lld:%02lld", static_cast<long long>(frames / 4500),
                static_cast<long long>(frames / 75 % 60), static_cast<long long>(frames % 75));
  return text;
}

// Blank-separated words; a double-quoted run is one word without its quotes.
// None when a quote is left open.
std::optional<std::vector<std::string>> Tokenize(std::string_view line) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < line.size()) {
    if (std::isspace(static_cast<unsigned char>(line[i]))) {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      size_t close = line.find('"', i + 1);
      if (close == std::string_view::npos)
        return std::nullopt;
      word = line.substr(i + 1, close - i - 1);
      i = close + 1;
    } else {
      while (i < line.size() && !std::isspace(static_cast<unsigned char>(line[i])))
        word += line[i++];
    }
    words.push_back(std::move(word));
  }
  return words;
}

std::optional<int> ParseNumber(std::string_view text, int max) {
  if (text.empty() || text.size() > 3 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return std::nullopt;
  int value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  if (value > max)
    return std::nullopt;
  return value;
}

// mm:ss:ff as frames; minutes up to 99.
std::optional<int32_t> ParseMsf(std::string_view text) {
  size_t first = text.find(':');
  size_t second = first == std::string_view::npos ? first : text.find(':', first + 1);
  if (second == std::string_view::npos)
    return std::nullopt;
  auto minutes = ParseNumber(text.substr(0, first), 99);
  auto seconds = ParseNumber(text.substr(first + 1, second - first - 1), 59);
  auto frames = ParseNumber(text.substr(second + 1), 74);
  if (!minutes || !seconds || !frames)
    return std::nullopt;
  return (*minutes * 60 + *seconds) * 75 + *frames;
}

bool IsIgnoredCommand(const std::string& keyword) {
  static const char* const kIgnored[] = {"CATALOG", "CDTEXTFILE", "FLAGS",      "ISRC", "PERFORMER",
                                         "POSTGAP", "PREGAP",     "SONGWRITER", "TITLE"};
  return std::any_of(std::begin(kIgnored), std::end(kIgnored),
                     [&](const char* name) { return keyword == name; });
}

class CueParser {
 public:
  explicit CueParser(std::filesystem::path folder) : folder_(std::move(folder)) {}

  // The error of a malformed line, none when it was taken.
  std::optional<std::string> TakeLine(int line, std::string_view text);
  CueSheetResult Finish() const;

 private:
  std::optional<std::string> TakeFile(int line, const std::vector<std::string>& words);
  std::optional<std::string> TakeTrack(int line, const std::vector<std::string>& words);
  std::optional<std::string> TakeIndex(int line, const std::vector<std::string>& words);
  std::optional<std::string> TakeRem(int line, const std::vector<std::string>& words);
  std::optional<std::string> FileOffsets(std::vector<int64_t>& offsets) const;
  std::optional<std::string> LeadOut(int64_t last_start, const std::vector<int64_t>& offsets,
                                     int64_t& lead_out) const;

  std::filesystem::path folder_;
  std::string title_;
  std::vector<CueFile> files_;
  std::vector<CueTrack> tracks_;
  std::optional<int32_t> rem_lead_out_;
  int rem_lead_out_line_ = 0;
};

std::optional<std::string> CueParser::TakeLine(int line, std::string_view text) {
  auto words = Tokenize(text);
  if (!words)
    return LineError(line, "a quote is not closed");
  if (words->empty())
    return std::nullopt;
  std::string keyword = UpperAscii((*words)[0]);
  if (keyword == "FILE")
    return TakeFile(line, *words);
  if (keyword == "TRACK")
    return TakeTrack(line, *words);
  if (keyword == "INDEX")
    return TakeIndex(line, *words);
  if (keyword == "REM")
    return TakeRem(line, *words);
  if (keyword == "TITLE" && tracks_.empty() && words->size() >= 2)
    title_ = (*words)[1];
  if (IsIgnoredCommand(keyword))
    return std::nullopt;
  return LineError(line, "unknown command \"" + (*words)[0] + "\"");
}

std::optional<std::string> CueParser::TakeFile(int line, const std::vector<std::string>& words) {
  if (words.size() != 3)
    return LineError(line, "expected FILE \"name\" WAVE|AIFF|FLAC|BINARY");
  std::string type = UpperAscii(words[2]);
  // The decoder goes by the file's content; the type word only tells decoded
  // sound from raw sectors.
  bool decoded = type == "WAVE" || type == "AIFF" || type == "FLAC";
  if (!decoded && type != "BINARY")
    return LineError(line,
                     "file type " + words[2] + " is not supported (WAVE, AIFF, FLAC or BINARY)");
  std::filesystem::path path = folder_ / words[1];
  CueFile file{line, words[1], decoded ? AudioFileKind::kDecoded : AudioFileKind::kRaw,
               decoded ? MeasureAudioFile(path) : MeasureRawFile(path)};
  if (file.length.status == AudioFileStatus::kMalformed)
    return LineError(line, "\"" + words[1] + "\" cannot be played: " + file.length.reason);
  files_.push_back(std::move(file));
  return std::nullopt;
}

std::optional<std::string> CueParser::TakeTrack(int line, const std::vector<std::string>& words) {
  if (words.size() != 3)
    return LineError(line, "expected TRACK nn AUDIO or TRACK nn <mode>");
  auto number = ParseNumber(words[1], 99);
  if (!number || *number < 1)
    return LineError(line, "track number \"" + words[1] + "\" is not within 1..99");
  int expected = static_cast<int>(tracks_.size()) + 1;
  if (*number != expected)
    return LineError(
        line, "TRACK " + words[1] + " is out of order, expected track " + std::to_string(expected));
  CueTrack track;
  track.line = line;
  track.number = *number;
  track.audio = UpperAscii(words[2]) == "AUDIO";
  track.file = static_cast<int>(files_.size()) - 1;
  tracks_.push_back(track);
  return std::nullopt;
}

std::optional<std::string> CueParser::TakeIndex(int line, const std::vector<std::string>& words) {
  if (words.size() != 3)
    return LineError(line, "expected INDEX nn mm:ss:ff");
  if (tracks_.empty())
    return LineError(line, "INDEX before the first TRACK");
  auto number = ParseNumber(words[1], 99);
  if (!number)
    return LineError(line, "index number \"" + words[1] + "\" is not within 0..99");
  auto time = ParseMsf(words[2]);
  if (!time)
    return LineError(line, "time \"" + words[2] + "\" is not mm:ss:ff (ss below 60, ff below 75)");
  if (*number != 1)
    return std::nullopt;
  CueTrack& track = tracks_.back();
  if (track.index01)
    return LineError(line, "a second INDEX 01 for track " + std::to_string(track.number));
  track.index01 = *time;
  track.index_line = line;
  return std::nullopt;
}

std::optional<std::string> CueParser::TakeRem(int line, const std::vector<std::string>& words) {
  if (words.size() < 2 || UpperAscii(words[1]) != "LEADOUT")
    return std::nullopt;
  auto time = words.size() == 3 ? ParseMsf(words[2]) : std::nullopt;
  if (!time)
    return LineError(line, "expected REM LEADOUT mm:ss:ff (ss below 60, ff below 75)");
  rem_lead_out_ = *time;
  rem_lead_out_line_ = line;
  return std::nullopt;
}

// Each file starts where the one before it ends, so every file but the last
// must be readable.
std::optional<std::string> CueParser::FileOffsets(std::vector<int64_t>& offsets) const {
  int64_t offset = 0;
  for (size_t k = 0; k < files_.size(); ++k) {
    offsets.push_back(offset);
    if (k + 1 == files_.size())
      break;
    if (files_[k].length.status != AudioFileStatus::kOk)
      return LineError(
          files_[k].line,
          "\"" + files_[k].name + "\" cannot be read, so the files after it have no start");
    offset += files_[k].length.sectors;
  }
  return std::nullopt;
}

std::optional<std::string> CueParser::LeadOut(int64_t last_start,
                                              const std::vector<int64_t>& offsets,
                                              int64_t& lead_out) const {
  int line = rem_lead_out_line_;
  if (!files_.empty() && files_.back().length.status == AudioFileStatus::kOk) {
    lead_out = kLeadInFrames + offsets.back() + files_.back().length.sectors;
    line = files_.back().line;
  } else if (rem_lead_out_) {
    lead_out = kLeadInFrames + *rem_lead_out_;
  } else if (files_.empty()) {
    return std::string("no FILE and no REM LEADOUT line: the end of the disc is unknown");
  } else {
    return LineError(files_.back().line, "\"" + files_.back().name +
                                             "\" cannot be read and there is no REM LEADOUT line");
  }
  if (lead_out > kMaxDiscFrame)
    return LineError(line, "the disc is longer than 99:59:74");
  if (lead_out <= last_start)
    return LineError(line, "the disc ends at " + FormatMsf(lead_out - kLeadInFrames) +
                               ", before the last track starts");
  return std::nullopt;
}

CueSheetResult CueParser::Finish() const {
  if (tracks_.empty())
    return {std::nullopt, "no TRACK line in the cue sheet"};
  std::vector<int64_t> offsets;
  if (auto error = FileOffsets(offsets))
    return {std::nullopt, *error};
  VirtualDisc disc;
  disc.title = title_;
  for (const CueTrack& track : tracks_) {
    if (!track.index01)
      return {std::nullopt,
              LineError(track.line, "track " + std::to_string(track.number) + " has no INDEX 01")};
    int64_t offset = track.file < 0 ? 0 : offsets[track.file];
    if (track.file >= 0 && files_[track.file].length.status == AudioFileStatus::kOk &&
        *track.index01 >= files_[track.file].length.sectors)
      return {std::nullopt, LineError(track.index_line, "INDEX 01 lies beyond the end of \"" +
                                                            files_[track.file].name + "\"")};
    int64_t start = kLeadInFrames + offset + *track.index01;
    if (!disc.tracks.empty() && start <= disc.tracks.back().start_frame)
      return {std::nullopt,
              LineError(track.index_line, "track " + std::to_string(track.number) +
                                              " does not start after the one before")};
    if (start > kMaxDiscFrame)
      return {std::nullopt, LineError(track.index_line, "the track starts after 99:59:74")};
    disc.tracks.push_back({static_cast<int32_t>(start), track.audio});
  }
  int64_t lead_out = 0;
  if (auto error = LeadOut(disc.tracks.back().start_frame, offsets, lead_out))
    return {std::nullopt, *error};
  disc.lead_out_frame = static_cast<int32_t>(lead_out);
  for (size_t k = 0; k < files_.size(); ++k) {
    if (files_[k].length.status == AudioFileStatus::kOk)
      disc.audio.push_back({folder_ / files_[k].name, files_[k].kind,
                            static_cast<int32_t>(kLeadInFrames + offsets[k]),
                            static_cast<int32_t>(files_[k].length.sectors)});
  }
  return {std::move(disc), {}};
}

}  // namespace

CueSheetResult ParseCueSheet(std::string_view text, const std::filesystem::path& folder) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF")
    text.remove_prefix(3);
  CueParser parser(folder);
  int line_number = 0;
  while (!text.empty()) {
    size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    ++line_number;
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (auto error = parser.TakeLine(line_number, line))
      return {std::nullopt, *error};
  }
  return parser.Finish();
}

CueSheetResult LoadCueSheet(const std::filesystem::path& path) {
  std::error_code error;
  std::ifstream in(path, std::ios::binary);
  if (!std::filesystem::is_regular_file(path, error) || !in)
    return {std::nullopt, "cannot read the cue sheet " + path.string()};
  std::ostringstream text;
  text << in.rdbuf();
  return ParseCueSheet(text.str(), path.parent_path());
}

}  // namespace zcd
