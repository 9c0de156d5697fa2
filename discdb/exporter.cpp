#include "discdb/exporter.h"

#include "base/text.h"
#include "discdb/entry_text.h"
#include "discdb/slash_split.h"

namespace zcd {
namespace {

std::string_view Line(std::string_view text, size_t start) {
  if (start >= text.size())
    return {};
  const size_t end = text.find('\n', start);
  return text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
}

}  // namespace

std::string CategoryScope(std::string_view category) {
  return "CAT " + std::string(category) + "\n";
}

std::string ArtistScope(std::string_view artist) {
  return "ART " + std::string(artist) + "\n";
}

std::string DiscScope(std::string_view disc_title, std::string_view disc_id) {
  return "CDS " + std::string(disc_title) + "\n" + std::string(disc_id) + "\n";
}

bool AcceptsEntry(const Exporter& exporter, std::string_view entry) {
  const std::optional<std::string> category = HeadCategory(entry, 1);
  if (!category || *category == "cached")
    return false;
  const std::string_view scope = exporter.scope();
  if (scope.starts_with(kExportAllScope))
    return true;

  const std::string_view first_line = Line(scope, 0);
  const size_t blank = first_line.find(' ');
  const std::string_view word = first_line.substr(0, blank);
  const std::string_view rest =
      blank == std::string_view::npos ? std::string_view() : first_line.substr(blank + 1);
  if (EqualsIgnoringCase(word, "CDS")) {
    const std::optional<std::string> disc_id = HeadDiscId(entry, 1);
    const std::string_view wanted = Line(scope, first_line.size() + 1);
    return disc_id && EqualsIgnoringCase(*disc_id, wanted);
  }
  if (EqualsIgnoringCase(word, "ART")) {
    const std::optional<std::string> title = GetEntryValue("DTITLE=", entry);
    if (!title)
      return false;
    const std::optional<std::string> artist = SplitBeforeSlash(*title);
    return artist && EqualsIgnoringCase(*artist, rest);
  }
  if (EqualsIgnoringCase(word, "CAT"))
    return EqualsIgnoringCase(*category, rest);
  return false;
}

}  // namespace zcd
