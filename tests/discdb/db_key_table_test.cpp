#include "discdb/db_key_table.h"

#include <gtest/gtest.h>

#include "discdb/db_key_match.h"
#include "discdb/random_db.h"

namespace zcd {
namespace {

// The plain reading of the lookup rule, to hold the hashed answers against.
std::vector<uint32_t> Scan(const DbKeyTable& table, std::string_view search) {
  const bool whole = IsFullKey(search);
  search = search.substr(0, search.find('\0'));
  std::vector<uint32_t> rows;
  for (uint32_t row = 0; row < table.size(); ++row) {
    const std::string_view key = table.key(row);
    if (table.live(row) && (whole ? key == search : key.find(search) != std::string_view::npos))
      rows.push_back(row);
  }
  return rows;
}

TEST(DbKeyTableTest, HashedLookupsAgreeWithAScanOfEveryKey) {
  for (unsigned seed = 1; seed <= 4; ++seed) {
    test::RandomDb random(seed);
    DbKeyTable table;
    const auto stored = [&] {
      return table.size() ? table.key(static_cast<uint32_t>(random.Pick(table.size()))) : "";
    };
    for (int step = 0; step < 3000; ++step) {
      if (random.Pick(3) != 0) {
        const std::string key = random.Key();
        const uint32_t row = table.Append(key);
        EXPECT_EQ(row, table.size() - 1);
        EXPECT_EQ(table.key(table.size() - 1), key);
      } else {
        for (uint32_t row : Scan(table, random.Search(stored())))
          table.Erase(row);
      }
      const std::string search = random.Search(stored());
      const auto expected = Scan(table, search);
      ASSERT_EQ(table.All(search), expected)
          << "seed " << seed << " step " << step << " search " << search;
      EXPECT_EQ(table.First(search),
                expected.empty() ? std::nullopt : std::optional<uint32_t>(expected.front()));
    }
    EXPECT_EQ(table.live_count(), Scan(table, "").size());
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
  // A full key is that key alone: "z/" is no category ending of "jazz/".
  EXPECT_EQ(table.All("jazz/0c01a202"), (std::vector<uint32_t>{2}));
  EXPECT_EQ(table.All("z/0c01a202"), std::vector<uint32_t>{});
  EXPECT_EQ(table.All("z/0c01a2"), (std::vector<uint32_t>{2}));
}

}  // namespace
}  // namespace zcd
