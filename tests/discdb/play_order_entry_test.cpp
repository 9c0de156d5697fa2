#include "discdb/play_order_entry.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zcd {
namespace {

using Items = std::vector<SavedPlayOrderItem>;

TEST(PlayOrderEntryTest, FormatsRemovedEntriesAsNegativeNumbers) {
  Items items{{3, false}, {1, false}, {2, true}, {3, false}};
  EXPECT_EQ(FormatPlayOrderValue(items, 3), "3,1,-2,3");
  EXPECT_EQ(FormatPlayOrderValue(Items{}, 3), "");
  EXPECT_EQ(FormatPlayOrderValue(items, 2), std::nullopt);
  EXPECT_EQ(FormatPlayOrderValue(Items{{0, true}}, 3), std::nullopt);
  EXPECT_EQ(ParsePlayOrderValue(*FormatPlayOrderValue(items, 3), 3, 255), items);
}

TEST(PlayOrderEntryTest, ReadsNumbersBetweenCommasAndLineFeeds) {
  EXPECT_EQ(ParsePlayOrderValue("2,,-1\n 3 ,", 3, 255), (Items{{2, false}, {1, true}, {3, false}}));
  EXPECT_EQ(ParsePlayOrderValue("", 3, 255), Items{});
  EXPECT_EQ(ParsePlayOrderValue(",\n,", 3, 255), Items{});
}

TEST(PlayOrderEntryTest, RefusesNumbersOffTheDiscAndPiecesThatAreNoNumbers) {
  for (const char* value : {"1,7", "0", "1,-0", "-4", "1,x", "2a", "--1", "+1", "1 2", "-",
                            "99999999999", "-2147483648"})
    EXPECT_EQ(ParsePlayOrderValue(value, 3, 255), std::nullopt) << value;
}

TEST(PlayOrderEntryTest, StopsReadingAtTheLimit) {
  std::string value;
  for (int i = 0; i < 300; ++i)
    value += std::to_string(i % 3 + 1) + ",";
  value += "99";  // beyond the limit, so never read
  std::optional<Items> items = ParsePlayOrderValue(value, 3, 255);
  ASSERT_TRUE(items);
  ASSERT_EQ(items->size(), 255u);
  EXPECT_EQ(items->back(), (SavedPlayOrderItem{3, false}));
}

}  // namespace
}  // namespace zcd
