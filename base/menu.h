#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/bitmap.h"

namespace zcd {

// A popup menu as data: the player builds it, a host shows it and answers
// with the command chosen. Texts keep their "&" mnemonics ("&&" shows one
// "&") and a "\t" before the key a command also has.
struct MenuItem {
  enum class Kind { kCommand, kSeparator, kSubmenu, kGraphic };

  Kind kind = Kind::kCommand;
  std::string text;
  int64_t command = 0;
  bool enabled = true;
  bool checked = false;
  bool radio = false;
  // The item starts a new column.
  bool new_column = false;
  // kGraphic: the skin's menu strip, 1 tall or 2 short, cut from `sheet`
  // ("menugraphic.bmp"), which the window fills in as it opens the menu.
  int graphic = 0;
  std::shared_ptr<const Bitmap> sheet;
  std::vector<MenuItem> items;  // kSubmenu

  static MenuItem Command(std::string text, int64_t command) {
    MenuItem item;
    item.text = std::move(text);
    item.command = command;
    return item;
  }
  static MenuItem Separator() {
    MenuItem item;
    item.kind = Kind::kSeparator;
    return item;
  }
  static MenuItem Submenu(std::string text, std::vector<MenuItem> items) {
    MenuItem item;
    item.kind = Kind::kSubmenu;
    item.text = std::move(text);
    item.items = std::move(items);
    return item;
  }
  static MenuItem Graphic(int id) {
    MenuItem item;
    item.kind = Kind::kGraphic;
    item.graphic = id;
    item.enabled = false;
    return item;
  }
};

using Menu = std::vector<MenuItem>;

}  // namespace zcd
