#include "discdb/disc_edit.h"

#include <gtest/gtest.h>

#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"
#include "discdb/sample_disc.h"
#include "support/temp_dir.h"

namespace zcd {
namespace {

TEST(DiscEditTest, TitlesAndCategoriesAsTheyAreStored) {
  EXPECT_EQ(ComposeDiscTitle("Artist", "Album"), "Artist / Album");
  EXPECT_EQ(ComposeDiscTitle("", "Greatest"), "Greatest");
  EXPECT_EQ(ComposeDiscTitle("Artist", ""), "Artist");
  EXPECT_EQ(NormalizeCategory("new age"), "new_age");
  EXPECT_EQ(NormalizeCategory(""), "nocategory");
  // A "/" would make a second key separator; the key must stay below 56.
  EXPECT_EQ(NormalizeCategory("rock/pop"), "rock_pop");
  EXPECT_EQ(NormalizeCategory(std::string(60, 'c')), std::string(46, 'c'));
  EXPECT_LT(EntryKey(NormalizeCategory(std::string(60, 'c')), "0f01a203").size(), 56u);
}

TEST(DiscEditTest, ExtendedFieldsNeverStoreARawLineBreak) {
  EXPECT_EQ(ExtendedFieldToStored("a\r\nb\nc\rd"), "a\\nb\\nc\\nd");
  EXPECT_EQ(ExtendedFieldToStored("C:\\new"), "C:\\new");
  EXPECT_EQ(ExtendedFieldToStored("\n."), "\\n.");
}

class SaveDiscEditTest : public ::testing::Test {
 protected:
  SaveDiscEditTest() {
    record_.SetTiming(test::ThreeTrackTiming());
    record_.SetDefaultDiscText();
  }
  // The record stored as "rock/<id>", with a disc stored after it.
  void Store() {
    record_.SetCategory("rock");
    record_.SetDiscIdText(id_);
    record_.SetDiscTitle("Old / Title");
    record_.SetTrackTitle(0, "Zero");
    record_.SetTrackTitle(1, "One");
    ASSERT_EQ(DbAddEntry(db_, "rock/" + id_, BuildNewEntryText(record_, false)), 1);
    ASSERT_EQ(DbAddEntry(db_, "punkrock/" + id_, "punk entry\r\n"), 1);
  }
  std::vector<std::string> Keys() {
    int count = 0;
    std::vector<std::string> keys;
    for (const DbListItem& item : DbListEntries(db_, std::nullopt, count))
      keys.insert(keys.begin(), item.category + "/" + item.disc_id);
    return keys;
  }
  DiscSaveResult Save(const DiscEdit& edit, bool bound = true) {
    return SaveDiscEdit(record_, bound, edit, db_, lock_);
  }

  test::TempDir dir_;
  const std::string db_ = dir_.File("ZCD.zdb");
  const std::string id_ = DiscIdText(ComputeCddbDiscId(test::ThreeTrackTiming()));
  DiscRecord record_;
  std::binary_semaphore lock_{1};
};

TEST_F(SaveDiscEditTest, ACategoryChangeMovesTheEntryToTheEndUnderItsNewKey) {
  Store();
  DiscEdit edit;
  edit.shown_disc_id = id_;
  edit.category = "new age";
  edit.titles[1] = "One, edited";
  ASSERT_EQ(Save(edit), DiscSaveResult::kSaved);
  EXPECT_EQ(Keys(), (std::vector<std::string>{"punkrock/" + id_, "new_age/" + id_}));
  const std::string text = *DbFindEntry(db_, "new_age/" + id_);
  EXPECT_EQ(GetEntryValue("TTITLE1=", text), "One, edited");
  EXPECT_EQ(GetEntryValue("DTITLE=", text), "Old / Title") << "the names were not edited";
  EXPECT_EQ(DbFindEntry(db_, "punkrock/" + id_), "punk entry\r\n");
  EXPECT_EQ(Save(DiscEdit{}), DiscSaveResult::kNothingToSave);
}

// What a query fills in while the page is open is kept; only the user's
// edits are written, and only into the disc the page showed.
TEST_F(SaveDiscEditTest, OnlyEditsAreSavedAndOnlyIntoTheDiscThePageShowed) {
  Store();
  DiscEdit edit;
  edit.shown_disc_id = id_;
  edit.titles[0] = "Zero, edited";
  record_.SetTrackTitle(1, "One, from the query");
  ASSERT_EQ(Save(edit), DiscSaveResult::kSaved);
  const std::string text = *DbFindEntry(db_, "rock/" + id_);
  EXPECT_EQ(GetEntryValue("TTITLE0=", text), "Zero, edited");
  EXPECT_EQ(GetEntryValue("TTITLE1=", text), "One, from the query");

  edit.shown_disc_id = "01234567";
  edit.titles[0] = "For another disc";
  EXPECT_EQ(Save(edit), DiscSaveResult::kDiscChanged);
  EXPECT_EQ(record_.TrackTitle(0), "Zero, edited");
  EXPECT_EQ(GetEntryValue("TTITLE0=", *DbFindEntry(db_, "rock/" + id_)), "Zero, edited");
}

TEST_F(SaveDiscEditTest, ASaveDuringAQueryIsRefusedAndTheRecordKeepsTheEdits) {
  Store();
  ASSERT_TRUE(lock_.try_acquire());
  DiscEdit edit;
  edit.artist_album = {"", "Greatest"};
  EXPECT_EQ(Save(edit), DiscSaveResult::kQueryRunning);
  EXPECT_EQ(record_.DiscTitle(), "Greatest");
  EXPECT_EQ(GetEntryValue("DTITLE=", *DbFindEntry(db_, "rock/" + id_)), "Old / Title");
  lock_.release();
  ASSERT_EQ(Save(edit), DiscSaveResult::kSaved);
  EXPECT_TRUE(lock_.try_acquire()) << "the lock is given back";
}

// A disc never stored has neither category nor identifier: it is built
// whole, with the extended text the user typed.
TEST_F(SaveDiscEditTest, ADiscNeverStoredIsBuiltWholeUnderNocategory) {
  DiscEdit edit;
  edit.artist_album = {"Artist", "Album"};
  edit.disc_extended = ExtendedFieldToStored("Line one\nLine two");
  ASSERT_EQ(Save(edit, false), DiscSaveResult::kSaved);
  EXPECT_EQ(Keys(), std::vector<std::string>{"nocategory/" + id_});
  const std::string text = *DbFindEntry(db_, id_);
  EXPECT_EQ(GetEntryValue("DTITLE=", text), "Artist / Album");
  EXPECT_EQ(GetEntryValue("EXTD=", text), "Line one\\nLine two");
}

}  // namespace
}  // namespace zcd
