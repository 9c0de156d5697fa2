#include "discdb/db_key_match.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "discdb/db_format.h"
#include "discdb/random_db.h"

namespace zcd {
namespace {

// Rows as stored: the key's bytes, then whatever `after` holds (a writer may
// have left bytes behind the zero), then zeros.
std::vector<char> Rows(const std::vector<std::pair<std::string, std::string>>& keys) {
  std::vector<char> rows(keys.size() * kDbRowSize, 0);
  for (size_t i = 0; i < keys.size(); ++i) {
    const std::string bytes = keys[i].first + keys[i].second;
    std::memcpy(rows.data() + i * kDbRowSize, bytes.data(), std::min<size_t>(bytes.size(), 60));
  }
  return rows;
}

// A full key finds its own row alone, however long its category and whatever
// lies behind a row's zero; any other search finds keys containing it.
TEST(DbKeyMatchTest, FullKeysMatchTheirOwnRowAlone) {
  const std::string long_category(40, 'c');
  const auto rows = Rows({{"rock/0c01a2020", ""},
                          {"rock/0c01a20", ""},
                          {"punkrock/0c01a202", ""},
                          {"Rock/0c01a202", ""},
                          {"rock/0c01a202", std::string(1, '\0') + "xyz"},
                          {long_category + "/0c01a202", ""},
                          {"rock/0c01a202", ""}});
  const struct {
    std::string search;
    std::vector<size_t> found;
  } cases[] = {
      {"rock/0c01a202", {4, 6}},
      {"rock/0c01a202" + std::string(1, '\0') + "junk", {4, 6}},
      {"Rock/0c01a202", {3}},
      {"punkrock/0c01a202", {2}},
      {long_category + "/0c01a202", {5}},
      {"k/0c01a202", {}},                 // a full key, not a piece of one
      {"/0c01a202", {0, 2, 3, 4, 5, 6}},  // not a full key: any row containing it
      {"0c01a20", {0, 1, 2, 3, 4, 5, 6}},
      {"jazz/0c01a202", {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.search);
    const DbKeyMatch match(c.search);
    std::vector<size_t> found;
    const size_t count = rows.size() / kDbRowSize;
    for (size_t i = match.FindRow(rows.data(), count); i < count;
         i = match.FindRow(rows.data(), count, i + 1))
      found.push_back(i);
    EXPECT_EQ(found, c.found);
  }
}

// Random keys and searches: the row scan agrees with Matches on each key.
TEST(DbKeyMatchTest, TheRowScanAgreesWithTheRule) {
  test::RandomDb random(5);
  for (int round = 0; round < 200; ++round) {
    std::vector<std::pair<std::string, std::string>> keys;
    for (size_t i = 0; i < 1 + random.Pick(12); ++i)
      keys.emplace_back(random.Key(), random.Pick(3) == 0 ? std::string(1, '\0') + "tail" : "");
    const auto rows = Rows(keys);
    const DbKeyMatch match(random.Search(keys[random.Pick(keys.size())].first));
    const size_t count = keys.size();
    size_t expected = 0;
    for (size_t i = 0; i < count; i = expected + 1) {
      expected = i;
      while (expected < count && !match.Matches(RowKey(rows.data() + expected * kDbRowSize)))
        ++expected;
      ASSERT_EQ(match.FindRow(rows.data(), count, i), expected) << "round " << round;
    }
  }
}

}  // namespace
}  // namespace zcd
