#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace zcd {

// An INI text read and written the way the classic private-profile functions
// do it: section and key names match without regard to (ASCII) case, the
// first of duplicate sections or keys wins, and lines the reader does not
// understand (comments, junk, lines without '=') are kept as they are, in
// their order, so a rewrite touches only the keys that were set.
// Values are bytes; nothing is decoded.
class IniFile {
 public:
  IniFile() = default;

  // A missing file gives an empty IniFile. A file that exists but cannot be
  // read completely gives what could be read and sets load_error(), so that
  // a later Save does not replace it with a partial copy.
  static IniFile Load(const std::string& path);
  // Lines may end in CR LF or in a bare LF.
  static IniFile Parse(std::string_view text);

  // Why the file last loaded could not be read completely; none when it was.
  const std::optional<std::string>& load_error() const { return load_error_; }

  // The stored value with surrounding blanks and one pair of enclosing double
  // quotes removed, cut at a NUL byte; none when the key is missing.
  std::optional<std::string> GetString(std::string_view section, std::string_view key) const;
  // As GetString, cut to max_chars bytes like a read into a fixed buffer.
  std::optional<std::string> GetString(std::string_view section, std::string_view key,
                                       size_t max_chars) const;
  // Optional blanks, an optional sign and the leading decimal digits
  // ("12abc" is 12, "abc" is 0); default_value when the key is missing or
  // its value empty. Values beyond the int range saturate.
  int GetInt(std::string_view section, std::string_view key, int default_value) const;
  // Every key of the first matching section with its value (as GetString
  // gives it), in file order; duplicates included.
  std::vector<std::pair<std::string, std::string>> Entries(std::string_view section) const;

  // Replaces the first matching key's value in place, keeping the stored
  // spelling of its name; otherwise adds the key after the section's last
  // key, adding the section at the end of the text when missing. A value is
  // one line: it is cut at the first CR, LF or NUL. Values with surrounding
  // blanks or enclosing quotes are quoted so that GetString gives them back.
  void SetString(std::string_view section, std::string_view key, std::string_view value);
  void SetInt(std::string_view section, std::string_view key, int value);
  // Removes every line of the key (all duplicates) from the first matching
  // section.
  void DeleteKey(std::string_view section, std::string_view key);
  // Removes every matching section: header, keys and the lines up to the
  // next section.
  void DeleteSection(std::string_view section);

  // The whole text with CR LF line ends.
  std::string Text() const;
  // Writes Text() to a temporary file beside path, syncs it and renames it
  // over path, so path holds either the old or the new text. A new file
  // gets mode 0600; an existing one keeps its mode without group and other
  // bits. Returns an empty text on success, otherwise a sentence for the
  // user naming the file and the cause. Refuses while load_error() is set.
  [[nodiscard]] std::string Save(const std::string& path) const;

 private:
  struct Line {
    std::string text;  // without the line end
    // Which of the helpers below recognised the line.
    enum class Kind { kOther, kSection, kKey } kind = Kind::kOther;
    std::string name;  // section or key name, blanks trimmed
  };

  static Line Classify(std::string text);
  // Index of the first matching section header; none when missing.
  std::optional<size_t> FindSection(std::string_view section) const;
  // One past the last line belonging to the section whose header is at
  // header.
  size_t SectionEnd(size_t header) const;
  std::optional<size_t> FindKey(std::string_view section, std::string_view key) const;

  std::vector<Line> lines_;
  std::optional<std::string> load_error_;
};

}  // namespace zcd
