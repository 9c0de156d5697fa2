#include "discdb/db_key_table.h"

#include <gtest/gtest.h>

#include <random>

namespace zcd {
namespace {

// The plain reading of the lookup rule, to hold the hashed answers against.
std::vector<uint32_t> Scan(const DbKeyTable& table, std::string_view search) {
  search = search.substr(0, search.find('\0'));
  std::vector<uint32_t> rows;
  for (uint32_t row = 0; row < table.size(); ++row) {
    if (table.live(row) && table.key(row).find(search) != std::string_view::npos)
      rows.push_back(row);
  }
  return rows;
}

class KeyMaker {
 public:
  explicit KeyMaker(unsigned seed) : random_(seed) {}

  std::string Id() {
    static const char* const ids[] = {"0c01a202", "deadbeef", "00000000", "12345678",
                                      "abcdef01", "0c01a203", "ssical/x", "rock0c01"};
    return ids[Pick(8)];
  }
  std::string Key() {
    static const char* const categories[] = {
        "rock", "jazz", "classical", "cached", "", "xdeadbeefx", "cdplayer.ini_imports", "Rock"};
    switch (Pick(10)) {
      case 0:
        return "noslash" + Id();
      case 1:
        return "a/b/" + Id();
      case 2:
        return std::string(categories[Pick(8)]) + "/" + Id().substr(0, 5);
      case 3:
        return std::string(categories[Pick(8)]) + "/" + Id() + "9";
      default:
        return std::string(categories[Pick(8)]) + "/" + Id();
    }
  }
  std::string Search(const DbKeyTable& table) {
    const std::string key = table.size() > 0
                                ? std::string(table.key(static_cast<uint32_t>(Pick(table.size()))))
                                : Key();
    switch (Pick(9)) {
      case 0:
        return Id();
      case 1:
        return key;
      case 2: {  // any piece of a stored key, slashes and all
        const size_t from = Pick(key.size() + 1);
        return key.substr(from, Pick(key.size() - from + 1));
      }
      case 3:
        return std::string("/").append(Id());
      case 4:
        return "";
      case 5:
        return "ssical";
      case 6:
        return Id() + std::string(1, '\0') + "tail";
      case 7:
        return "k/" + Id();
      default:
        return Key();
    }
  }
  size_t Pick(size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(random_); }

 private:
  std::mt19937 random_;
};

TEST(DbKeyTableTest, HashedLookupsAgreeWithAScanOfEveryKey) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    KeyMaker maker(seed);
    DbKeyTable table;
    for (int step = 0; step < 3000; ++step) {
      if (maker.Pick(3) != 0) {
        const std::string key = maker.Key();
        const uint32_t row = table.Append(key);
        EXPECT_EQ(row, table.size() - 1);
        EXPECT_EQ(table.key(table.size() - 1), key);
      } else {
        for (uint32_t row : Scan(table, maker.Search(table)))
          table.Erase(row);
      }
      const std::string search = maker.Search(table);
      const auto expected = Scan(table, search);
      ASSERT_EQ(table.All(search), expected)
          << "seed " << seed << " step " << step << " search " << search;
      EXPECT_EQ(table.First(search),
                expected.empty() ? std::nullopt : std::optional<uint32_t>(expected.front()));
    }
    size_t live = 0;
    for (uint32_t row = 0; row < table.size(); ++row)
      live += table.live(row);
    EXPECT_EQ(table.live_count(), live);
  }
}

TEST(DbKeyTableTest, AnIdentifierFoundInsideACategoryIsNotMissed) {
  DbKeyTable table;
  table.Append("rock/11111111");
  table.Append("x0c01a202x/22222222");
  table.Append("jazz/0c01a202");
  EXPECT_EQ(table.All("0c01a202"), (std::vector<uint32_t>{1, 2}));
  table.Erase(1);
  EXPECT_EQ(table.All("0c01a202"), (std::vector<uint32_t>{2}));
  EXPECT_EQ(table.All("z/0c01a202"), (std::vector<uint32_t>{2}));
  EXPECT_EQ(table.All("zz/0c01a202"), (std::vector<uint32_t>{2}));
  EXPECT_EQ(table.All("xz/0c01a202"), std::vector<uint32_t>{});
}

}  // namespace
}  // namespace zcd
