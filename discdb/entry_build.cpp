#include <charconv>
#include <limits>

#include "discdb/disc_id.h"
#include "discdb/entry_parse.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

constexpr std::size_t kNpos = std::string_view::npos;
constexpr std::string_view kCrLf = "\r\n";
constexpr std::string_view kCopyrightComment = "# Copyright (C) 2026 The ZCD developers.";
constexpr std::string_view kSubmittedVia =
    "# Submitted via: ZentaroCD v1.25 (C) 2026 The ZCD developers";
constexpr std::string_view kCreatedBy = "# Created By: ZentaroCD v1.25 (C) 2026 The ZCD developers";
constexpr std::string_view kRevisionLabel = "# Revision:";
constexpr std::size_t kTitlePiece = 68;
constexpr std::size_t kExtendedPiece = 70;

void AppendNumber(std::string& out, int64_t value) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  out.append(digits, result.ptr);
}

void AppendLine(std::string& out, std::string_view line) {
  out.append(line);
  out.append(kCrLf);
}

// key + piece + CR LF for every piece of value, at least one line.
void AppendValueLines(std::string& out, std::string_view key, std::string_view value,
                      std::size_t piece) {
  std::size_t offset = 0;
  do {
    out.append(key);
    out.append(value.substr(offset, piece));
    out.append(kCrLf);
    offset += piece;
  } while (offset < value.size());
}

// The identifier text the head line names; a record that never got one is
// named by its table of contents rather than by an empty word.
std::string HeadIdText(const DiscRecord& record, const DiscTiming& timing) {
  OptText id = record.DiscIdText();
  if (id && !id->empty())
    return std::move(*id);
  return DiscIdText(ComputeCddbDiscId(timing));
}

void AppendHead(std::string& out, std::string_view code, const DiscRecord& record,
                const DiscTiming& timing) {
  const OptText category = record.Category();
  out.append(code);
  out.push_back(' ');
  out.append(category && !category->empty() ? std::string_view(*category) : "nocategory");
  out.push_back(' ');
  AppendLine(out, HeadIdText(record, timing));
}

// From "# Track frame offsets:" to the "# Disc length:" line.
void AppendFrameOffsets(std::string& out, const DiscTiming& timing) {
  AppendLine(out, "# Track frame offsets:");
  for (int n = 0; n < timing.track_count; ++n) {
    out.append("#\t");
    AppendNumber(out, timing.toc[n].frame_address);
    out.append(kCrLf);
  }
  out.append("#\r\n# Disc length: ");
  AppendNumber(out, timing.disc_seconds);
  out.append(" seconds\r\n");
}

}  // namespace

std::string BuildNewEntryText(const DiscRecord& record, bool cached) {
  const DiscTiming timing = record.Timing();
  std::string out;
  out.reserve(1024 + static_cast<std::size_t>(timing.track_count) * 64);

  if (cached) {
    out.append("300 cached ");
    AppendLine(out, HeadIdText(record, timing));
    AppendLine(out, "# ZCD database file - cached entry");
  } else {
    AppendHead(out, "100", record, timing);
    AppendLine(out, "# xmcd CD database file");
    AppendLine(out, kCopyrightComment);
  }
  AppendLine(out, "#");
  AppendFrameOffsets(out, timing);
  AppendLine(out, "#");
  if (cached) {
    AppendLine(out, "# Note: This does not conform to CDDB standards");
    AppendLine(out, kCreatedBy);
  } else {
    AppendLine(out, "# Revision: 1");
    AppendLine(out, kSubmittedVia);
  }
  AppendLine(out, "#");
  out.append("DISCID=");
  AppendLine(out, DiscIdText(ComputeCddbDiscId(timing)));

  // Every key is written, even for a record without a disc title, so that
  // later edits (which only replace existing keys) can fill it.
  AppendValueLines(out, "DTITLE=", record.DiscTitle().value_or(""), kTitlePiece);
  for (int n = 0; n < timing.track_count; ++n) {
    AppendValueLines(out, entry_parse::TrackKey("TTITLE", n), record.TrackTitle(n).value_or(""),
                     kTitlePiece);
  }
  if (cached) {
    AppendLine(out, ".");
    return out;
  }
  // The extended disc text is kept: a new entry saved from the editor would
  // otherwise lose what the user typed.
  AppendValueLines(out, "EXTD=", record.DiscExtended().value_or(""), kExtendedPiece);
  for (int n = 0; n < timing.track_count; ++n) {
    AppendValueLines(out, entry_parse::TrackKey("EXTT", n), record.TrackExtended(n).value_or(""),
                     kExtendedPiece);
  }
  AppendLine(out, "PLAYORDER=");
  AppendLine(out, ".");
  return out;
}

bool NormalizeReadEntry(const DiscRecord& record, std::string& text) {
  const std::size_t revision = entry_parse::FindAtLineStart(text, kRevisionLabel);
  if (revision == kNpos)
    return false;
  const DiscTiming timing = record.Timing();
  std::string out;
  out.reserve(512 + static_cast<std::size_t>(timing.track_count) * 16 + text.size() - revision);
  AppendHead(out, "200", record, timing);
  AppendLine(out, "# xmcd CD database file");
  AppendLine(out, kCopyrightComment);
  AppendLine(out, "#");
  AppendFrameOffsets(out, timing);
  AppendLine(out, "#");
  out.append(std::string_view(text).substr(revision));
  text = std::move(out);
  SetEntryValue("DISCID=", HeadIdText(record, timing), text);
  return true;
}

bool StampRevision(std::string& text) {
  const std::string_view view = text;
  const std::size_t revision = entry_parse::FindAtLineStart(view, kRevisionLabel);
  if (revision == kNpos)
    return false;
  // Only the identifier line after the comment block counts: text from an
  // earlier one would repeat the kept part.
  const std::size_t disc_id =
      entry_parse::FindAtLineStart(view, "DISCID=", revision + kRevisionLabel.size());
  if (disc_id == kNpos)
    return false;
  const int old_revision = EntryRevision(view);
  const int new_revision =
      old_revision < 0
          ? 1
          : (old_revision == std::numeric_limits<int>::max() ? old_revision : old_revision + 1);

  // The lone "#" before the revision line goes with it; any other line there
  // (a foreign entry's disc length, say) is kept.
  const std::size_t revision_line = entry_parse::LineStart(view, revision);
  std::size_t keep = revision_line;
  if (revision_line > 0) {
    const std::size_t previous = entry_parse::LineStart(view, revision_line - 1);
    std::string_view line = view.substr(previous, revision_line - 1 - previous);
    if (!line.empty() && line.back() == '\r')
      line.remove_suffix(1);
    if (line == "#")
      keep = previous;
  }

  std::string out;
  out.reserve(keep + 128 + (view.size() - disc_id));
  out.append(view.substr(0, keep));
  out.append("# Revision: ");
  AppendNumber(out, new_revision);
  out.append(kCrLf);
  AppendLine(out, kSubmittedVia);
  AppendLine(out, "#");
  out.append(view.substr(disc_id));
  text = std::move(out);
  return true;
}

}  // namespace zcd
