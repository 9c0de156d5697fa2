#include "discdb/entry_text_encoding.h"

#include "base/windows1252.h"

namespace zcd {

std::string EntryBytesToStored(std::string_view bytes) {
  // ISO-8859-1 text is almost never valid UTF-8 by accident: an accented
  // letter would have to be followed by exactly the right symbols.
  return Utf8ToWindows1252(bytes).value_or(std::string(bytes));
}

}  // namespace zcd
