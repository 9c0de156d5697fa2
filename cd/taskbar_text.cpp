#include "cd/taskbar_text.h"

#include <cstdio>

#include "base/text.h"

namespace zcd {
namespace {

std::string Expand(char symbol, const TaskBarValues& values) {
  switch (LowerAscii(symbol)) {
    case 'a':
      return values.album.value_or("");
    case 'd':
      return values.track_title.value_or("");
    case 'n':
      return std::to_string(values.track);
    case 't': {
      char text[32];
      std::snprintf(text, sizeof text, "%d:%02d", values.timer / 60, values.timer % 60);
      return text;
    }
    default:
      return std::string{'%', symbol};
  }
}

}  // namespace

std::string FormatTaskBarText(std::string_view text, const TaskBarValues& values) {
  std::string result;
  size_t at = 0;
  while (at < text.size()) {
    const size_t percent = text.find('%', at);
    if (percent == std::string_view::npos || percent + 1 >= text.size()) {
      result.append(text.substr(at));
      break;
    }
    result.append(text.substr(at, percent - at));
    result.append(Expand(text[percent + 1], values));
    at = percent + 2;
    if (result.size() >= kMaxTaskBarText)
      break;
  }
  if (result.size() > kMaxTaskBarText)
    result.resize(kMaxTaskBarText);
  return result;
}

std::string StoppedCaption(const OptText& disc_title, size_t max_chars) {
  std::string caption = disc_title ? "ZCD: " + *disc_title : "ZCD";
  if (caption.size() > max_chars)
    caption.resize(max_chars);
  return caption;
}

}  // namespace zcd
