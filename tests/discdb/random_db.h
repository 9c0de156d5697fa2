#pragma once

#include <random>
#include <string>
#include <string_view>

namespace zcd::test {

// Keys, searches and texts drawn from small sets, so that identifiers and
// categories collide often: for holding a fast path against a plain one.
class RandomDb {
 public:
  explicit RandomDb(unsigned seed) : random_(seed) {}

  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }
  std::string Id() {
    static const char* const ids[] = {"0c01a202", "deadbeef", "00000000", "12345678",
                                      "abcdef01", "0c01a203", "ssical/x", "rock0c01"};
    return ids[Pick(8)];
  }
  // Mostly category and identifier; also keys without a slash or with two,
  // identifiers too short or too long, the longest key and keys an add refuses.
  std::string Key() {
    static const char* const categories[] = {
        "rock", "jazz", "classical", "cached", "", "xdeadbeefx", "cdplayer.ini_imports", "Rock"};
    const std::string id = Id();
    const std::string category = categories[Pick(8)];
    const std::string keys[] = {"noslash" + id,
                                "a/b/" + id,
                                category + "/" + id.substr(0, 5),
                                category + "/" + id + "9",
                                std::string(55, 'k'),
                                "",
                                std::string(56, 'k'),
                                category + "/" + id};
    return keys[std::min<size_t>(Pick(13), 7)];
  }
  // Often `stored`, a key already there, or any piece of it, slashes and all.
  std::string Search(std::string_view stored) {
    const size_t from = Pick(stored.size() + 1);
    const std::string searches[] = {
        Id(),
        std::string(stored),
        std::string(stored.substr(from, Pick(stored.size() - from + 1))),
        "/" + Id(),
        "",
        "ssical",
        Id() + std::string(1, '\0') + "tail",
        "k/" + Id(),
        Key()};
    return searches[Pick(9)];
  }
  // Any bytes; short texts too, which make an add move every row over itself.
  std::string Text() {
    std::string text(Pick(3) == 0 ? 1 + Pick(40) : 100 + Pick(900), ' ');
    for (char& c : text)
      c = static_cast<char>(Pick(256));
    return text;
  }

 private:
  std::mt19937 random_;
};

}  // namespace zcd::test
