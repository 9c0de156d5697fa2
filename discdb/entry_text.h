#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "discdb/disc_record.h"

namespace zcd {

// One disc's information in xmcd form: head line, "#" comment block,
// KEY=value lines, final ".". Written with CR LF; read with CR LF or LF.
// Texts are 8-bit bytes; nothing is decoded. Keys are found anywhere in the
// text, not only at line starts, and matched case-sensitively.
//
// Any thread: every function works on its arguments alone; the record
// operations go through the record's own locked accessors.

// The value of key gathered over all the lines it begins (key text inside a
// value is the value's); none when the key is missing or one of its lines
// has no line feed. "TTITLE1=" does not pick up "TTITLE11=".
std::optional<std::string> GetEntryValue(std::string_view key, std::string_view text);
// Replaces the lines of an existing key (and its directly following
// continuation lines), cutting the value so no line exceeds 79 characters.
// False, text unchanged, when the key is missing.
bool SetEntryValue(std::string_view key, const std::optional<std::string>& value,
                   std::string& text);

// Head-line fields of line n (from 1), looked for on that line only: line 1
// is "code category id ...", later lines "category id ..." (CDDB match
// lines). None when the blanks are missing or fewer than eight identifier
// characters follow.
std::optional<std::string> HeadCategory(std::string_view text, int n);
std::optional<std::string> HeadDiscId(std::string_view text, int n);

// backslash+"n" <-> CR LF, in one pass.
void ToggleLineBreakEscapes(std::string& text);
// An edit field's text as an extended value is stored: every line break (CR
// LF, a bare LF or a bare CR) becomes backslash+"n", and nothing else
// changes, so no raw line break can split the entry and a typed "\n" (as in
// "C:\new") stays as typed.
std::string ExtendedFieldToStored(std::string_view field);
void ReplaceBlanks(std::string& text, char replacement);
// The part of an HTTP reply after its head: after the first "\r\n\r\n", else
// the first "\n\n", else the whole text.
std::string_view SkipReplyHead(std::string_view text);
// "# Revision:" value, -1 when missing or empty; "# Disc length:" value, 0
// when missing or empty. Read on the comment's line, clamped to 32 bits.
int EntryRevision(std::string_view text);
int EntryDiscSeconds(std::string_view text);

// Record conversion. A bound record (the player's one, with an owner window)
// keeps its track count; a free-standing record gets as many tracks as the
// entry has titles from TTITLE0= on, the rest of its timing kept. The
// identifier text comes from the record's own table of contents. False, the
// record unchanged, for an empty text.
bool ReadEntryIntoRecord(DiscRecord& record, std::string_view text, bool bound);
// Puts the record's category into the head line and its texts into the keys
// the entry already has; keys it lacks stay absent.
void WriteRecordIntoEntry(const DiscRecord& record, std::string& text);
// A complete entry with every key: "100 ..." or, cached, "300 cached ...".
std::string BuildNewEntryText(const DiscRecord& record, bool cached);
// Gives an entry fetched from CDDB our head, the record's frame offsets and
// length and its identifier; false, text unchanged, without "# Revision:".
bool NormalizeReadEntry(const DiscRecord& record, std::string& text);
// Raises "# Revision:" and names this program as submitter; false, text
// unchanged, without "# Revision:" or without "DISCID=" after it.
bool StampRevision(std::string& text);
// Timing from the "# Track frame offsets:" block and "# Disc length:". True
// with the record unchanged when the comment block has no offsets; false for
// an empty text.
bool ReadTocFromEntry(DiscRecord& record, std::string_view text);
// The cdplayer.ini key of an entry: its frame offsets and disc length.
std::optional<std::string> EntryCdPlayerIniKey(std::string_view text);

}  // namespace zcd
