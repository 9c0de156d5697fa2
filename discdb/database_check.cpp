#include <algorithm>
#include <cstdio>
#include <vector>

#include "discdb/database.h"
#include "discdb/db_view.h"

namespace zcd {
namespace {

// A badly damaged file would otherwise give one sentence per row.
constexpr size_t kMaxProblems = 100;

template <typename... Args>
std::string Sentence(const char* format, Args... args) {
  char text[256];
  std::snprintf(text, sizeof text, format, args...);
  return text;
}

void CheckTextArea(const DbView& view, std::vector<std::string>& problems) {
  struct Span {
    int64_t offset;
    int64_t end;
    size_t row;
  };
  std::vector<Span> spans;
  spans.reserve(view.row_count());
  for (size_t i = 0; i < view.row_count(); ++i) {
    const char* row = view.Row(i);
    if (RowReadable(row, view.head().index_offset) && RowLength(row) > 0)
      spans.push_back({RowOffset(row), int64_t{RowOffset(row)} + RowLength(row), i});
  }
  std::sort(spans.begin(), spans.end(),
            [](const Span& a, const Span& b) { return a.offset < b.offset; });
  int64_t covered = kDbHeadSize;
  size_t last_row = 0;
  for (const Span& span : spans) {
    if (span.offset < covered) {
      problems.push_back(Sentence("Rows %zu and %zu share the text bytes from offset %lld on.",
                                  last_row + 1, span.row + 1, static_cast<long long>(span.offset)));
    } else if (span.offset > covered) {
      problems.push_back(Sentence("Bytes %lld to %lld of the text area belong to no row.",
                                  static_cast<long long>(covered),
                                  static_cast<long long>(span.offset - 1)));
    }
    if (span.end > covered) {
      covered = span.end;
      last_row = span.row;
    }
  }
  if (covered < view.head().index_offset)
    problems.push_back(Sentence("Bytes %lld to %lld of the text area belong to no row.",
                                static_cast<long long>(covered),
                                static_cast<long long>(view.head().index_offset - 1)));
}

}  // namespace

std::vector<std::string> DbCheck(const std::string& db_path) {
  std::vector<std::string> problems;
  std::string error;
  const auto db = DbOpenForReading(db_path, &error);
  if (!db) {
    problems.push_back("An interrupted write could not be undone: " + error + ".");
    return problems;
  }
  const DbView& view = db->view;
  switch (view.kind()) {
    case DbView::Kind::kMissing:
      return problems;
    case DbView::Kind::kUnreadable:
      problems.push_back("The file cannot be read.");
      return problems;
    case DbView::Kind::kNotADatabase:
      problems.push_back("The file does not start with \"PACK\".");
      return problems;
    case DbView::Kind::kDatabase:
      break;
  }
  const DbHead& head = view.head();
  const auto size = static_cast<long long>(view.size());
  if (head.index_offset < kDbHeadSize || head.index_offset > view.size())
    problems.push_back(Sentence("The index offset %d lies outside the file of %lld bytes.",
                                head.index_offset, size));
  if (head.index_size < 0)
    problems.push_back(Sentence("The index size %d is negative.", head.index_size));
  else if (head.index_size % kDbRowSize != 0)
    problems.push_back(
        Sentence("The index size %d is not a multiple of %d.", head.index_size, kDbRowSize));
  if (problems.empty()) {
    const long long end = static_cast<long long>(head.index_offset) + head.index_size;
    if (end > size)
      problems.push_back(
          Sentence("The index ends at byte %lld, beyond the file of %lld bytes.", end, size));
    else if (end < size)
      problems.push_back(
          Sentence("%lld bytes follow the index at the end of the file.", size - end));
  }
  for (size_t i = 0; i < view.row_count() && problems.size() < kMaxProblems; ++i) {
    const char* row = view.Row(i);
    if (auto problem = RowTextProblem(row, head.index_offset))
      problems.push_back(Sentence("Row %zu: %s.", i + 1, problem->c_str()));
    else if (RowKey(row).empty())
      problems.push_back(Sentence("Row %zu has an empty key.", i + 1));
  }
  if (head.index_offset >= kDbHeadSize && head.index_offset <= view.size())
    CheckTextArea(view, problems);
  if (problems.size() > kMaxProblems) {
    const size_t more = problems.size() - kMaxProblems;
    problems.resize(kMaxProblems);
    problems.push_back(Sentence("And %zu more problems.", more));
  }
  return problems;
}

}  // namespace zcd
