#pragma once

#include <QString>
#include <span>

namespace zcd {

// One line of the help: a key, a place to click or a command, and what it
// does. Plain text; the page escapes it.
struct HelpItem {
  const char* what;
  const char* does;
};

struct HelpSection {
  const char* title;
  const char* intro;  // may be empty
  std::span<const HelpItem> items;
};

// Every section of the help, in the order shown. Tests hold the keys and
// commands listed here against the ones the player really has, so keep
// what the player does and what the help says in step here.
std::span<const HelpSection> HelpSections();

// The "Help && Tips" page: the sections as one HTML document.
QString HelpPageHtml();

}  // namespace zcd
