#include "cd/disc_lookup.h"

#include <gtest/gtest.h>

#include <vector>

#include "cd/virtual_cd_fixture.h"
#include "discdb/database.h"
#include "discdb/db_test_seam.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

struct RecordingHooks : DiscLookupHooks {
  bool ImportCdPlayerIni(DiscRecord& record) override {
    ++imports;
    if (import_finds)
      record.SetDiscTitle("From the ini");
    return import_finds;
  }
  void StartCddbQuery(CdState&) override { ++queries; }
  void SendCddbStatus(int code) override { statuses.push_back(code); }
  void ShowDbWriteError() override { ++write_errors; }

  bool import_finds = false;
  int imports = 0;
  int queries = 0;
  std::vector<int> statuses;
  int write_errors = 0;
};

// A three-track disc in the virtual drive and a database in a temp folder.
class DiscLookupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(state_.OpenDisc(), kResultOk);
    list_.BuildDefault();
    disc_id_ = DiscIdText(ComputeCddbDiscId(state_.disc().Timing()));
  }

  // An entry such as the editor saves, under "rock/<id>".
  void StoreEntry(std::optional<std::string> play_order) {
    DiscRecord record;
    record.SetTiming(state_.disc().Timing());
    record.SetCategory("rock");
    record.SetDiscTitle("Artist / Album");
    record.SetTrackTitle(1, "Second");
    std::string text = BuildNewEntryText(record, false);
    if (play_order)
      ASSERT_TRUE(SetEntryValue("PLAYORDER=", play_order, text));
    else
      text.erase(text.find("PLAYORDER="), 12);
    ASSERT_EQ(DbAddEntry(db_, EntryKey("rock", disc_id_), text), 1);
  }

  std::vector<int> Tracks() const {
    std::vector<int> tracks;
    for (const TrackCell& cell : list_.cells())
      tracks.push_back(cell.removed ? -cell.track : cell.track);
    return tracks;
  }

  std::optional<std::string> SavedValue() const {
    std::optional<std::string> text = DbFindEntry(db_, disc_id_);
    return text ? GetEntryValue("PLAYORDER=", *text) : std::nullopt;
  }

  test::VirtualCdFixture fixture_{MakeAudioDisc({60, 70, 80})};
  CdState state_{fixture_.table, fixture_.index, true};
  Settings settings_;
  PlayOrderList list_{state_, settings_};
  test::TempDir dir_;
  std::string db_ = dir_.File("ZCD.zdb");
  std::string disc_id_;
  RecordingHooks hooks_;
};

TEST_F(DiscLookupTest, AKnownDiscTakesItsEntryAndSavedOrder) {
  StoreEntry("3,1,-2,3");
  settings_.PlayOrder = 1;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kDatabase);
  EXPECT_EQ(state_.disc().DiscTitle(), "Artist / Album");
  EXPECT_EQ(state_.disc().TrackTitle(1), "Second");
  EXPECT_EQ(Tracks(), (std::vector<int>{3, 1, -2, 3}));
  EXPECT_FALSE(list_.cells()[0].copy || list_.cells()[1].copy || list_.cells()[2].copy);
  EXPECT_TRUE(list_.cells()[3].copy);
  EXPECT_EQ(state_.play_order_seconds, 220);
  EXPECT_EQ(hooks_.imports + hooks_.queries, 0);

  // Without the restore bit the default order stays.
  list_.BuildDefault();
  settings_.PlayOrder = 2;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kDatabase);
  EXPECT_EQ(Tracks(), (std::vector<int>{1, 2, 3}));
}

TEST_F(DiscLookupTest, ASavedOrderThatDoesNotFitGivesTheDefault) {
  StoreEntry("1,7");
  LoadDiscInfo(list_, settings_, db_, hooks_);
  list_.ClearList();
  list_.AppendEntry(2);
  EXPECT_FALSE(LoadPlayOrder(list_, db_));
  EXPECT_EQ(Tracks(), (std::vector<int>{1, 2, 3}));
}

TEST_F(DiscLookupTest, SavingWritesTheOrderAndMovesTheEntryLast) {
  StoreEntry("");
  ASSERT_EQ(DbAddEntry(db_, "jazz/00000001", ".\r\n"), 1);
  LoadDiscInfo(list_, settings_, db_, hooks_);
  list_.MoveEntry(2, 0);
  list_.SetRemoved(1, true);
  list_.AppendEntry(3, {.copy = true});

  EXPECT_EQ(SavePlayOrder(list_, db_), PlayOrderSave::kSaved);
  EXPECT_EQ(SavedValue(), "3,-1,2,3");
  int count = 0;
  std::vector<DbListItem> listed = DbListEntries(db_, std::nullopt, count);
  ASSERT_EQ(count, 2);
  EXPECT_EQ(listed[0], (DbListItem{disc_id_, "rock"}));

  PlayOrderList restored(state_, settings_);
  EXPECT_TRUE(LoadPlayOrder(restored, db_));
  EXPECT_EQ(restored.cells(), list_.cells());
}

TEST_F(DiscLookupTest, NothingIsSavedWithoutAnEntryOrItsPlayOrderLine) {
  LoadDiscInfo(list_, settings_, db_, hooks_);  // unknown: defaults only
  EXPECT_EQ(SavePlayOrder(list_, db_), PlayOrderSave::kNotSaved);

  StoreEntry(std::nullopt);
  std::string before = dir_.Read("ZCD.zdb");
  LoadDiscInfo(list_, settings_, db_, hooks_);
  EXPECT_EQ(SavePlayOrder(list_, db_), PlayOrderSave::kNotSaved);
  EXPECT_EQ(dir_.Read("ZCD.zdb"), before);
}

// Whatever step of the save fails, the entry is still there, with the old
// order or the new one.
TEST_F(DiscLookupTest, AnInterruptedSaveKeepsTheEntry) {
  StoreEntry("1,2,3");
  LoadDiscInfo(list_, settings_, db_, hooks_);
  list_.SetRemoved(0, true);
  bool failed_once = false;
  for (long step = 0; step < 200; ++step) {
    DbSimulateCrashAfter(step);
    PlayOrderSave result = SavePlayOrder(list_, db_);
    bool crashed = DbSimulatedCrashHappened();
    DbSimulateCrashAfter(-1);
    std::optional<std::string> value = SavedValue();
    ASSERT_TRUE(value == "1,2,3" || value == "-1,2,3") << "step " << step;
    if (!crashed) {
      EXPECT_EQ(result, PlayOrderSave::kSaved);
      break;
    }
    failed_once = failed_once || result == PlayOrderSave::kWriteFailed;
  }
  EXPECT_TRUE(failed_once);
  EXPECT_EQ(SavedValue(), "-1,2,3");
}

TEST_F(DiscLookupTest, AnUnknownDiscGoesToTheIniThenToAQuery) {
  settings_.LoadINI = 1;
  hooks_.import_finds = true;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kCdPlayerIni);
  EXPECT_EQ(state_.disc().DiscTitle(), "From the ini");

  hooks_.import_finds = false;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kCddbQuery);
  EXPECT_EQ(hooks_.imports, 2);
  EXPECT_EQ(hooks_.queries, 1);
  EXPECT_EQ(state_.disc().DiscTitle(), "Unknown CD");
  EXPECT_EQ(state_.disc().TrackTitle(2), "Track 3");

  settings_.AutoInfo = 0;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kDefaults);
  EXPECT_EQ(hooks_.queries, 1);
}

TEST_F(DiscLookupTest, CachingStoresTheDiscForALaterQuery) {
  settings_.CacheQuery = 1;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kCached);
  EXPECT_EQ(hooks_.statuses, std::vector<int>{kCddbStatusCached});
  EXPECT_EQ(hooks_.queries, 0);
  EXPECT_EQ(state_.disc().Category(), "cached");
  std::optional<std::string> text = DbFindEntry(db_, "cached/" + disc_id_);
  ASSERT_TRUE(text);
  EXPECT_EQ(text->rfind("300 cached " + disc_id_, 0), 0u);

  // The next load finds the cached entry instead of caching again.
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kDatabase);
  EXPECT_EQ(hooks_.statuses.size(), 1u);

  // A database that cannot be written is reported, not announced as cached.
  std::string unwritable = dir_.File("missing/ZCD.zdb");
  EXPECT_EQ(LoadDiscInfo(list_, settings_, unwritable, hooks_), DiscInfoSource::kDefaults);
  EXPECT_EQ(hooks_.write_errors, 1);
  EXPECT_EQ(hooks_.statuses.size(), 1u);
}

TEST_F(DiscLookupTest, ADataDiscFollowsTheNoDataSettings) {
  state_.has_audio = false;
  settings_.NoQueryData = 1;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kDefaults);
  settings_.CacheQuery = 1;
  settings_.NoCacheData = 1;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kDefaults);
  EXPECT_EQ(hooks_.queries, 0);
  EXPECT_FALSE(DbHasEntry(db_, disc_id_));
  settings_.NoCacheData = 0;
  EXPECT_EQ(LoadDiscInfo(list_, settings_, db_, hooks_), DiscInfoSource::kCached);
}

}  // namespace
}  // namespace zcd
