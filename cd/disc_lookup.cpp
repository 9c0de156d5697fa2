#include "cd/disc_lookup.h"

#include <optional>
#include <vector>

#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"
#include "discdb/play_order_entry.h"

namespace zcd {
namespace {

inline constexpr char kPlayOrderKey[] = "PLAYORDER=";
inline constexpr char kCachedCategory[] = "cached";

std::optional<std::string> DiscKey(const DiscRecord& record) {
  OptText category = record.Category();
  OptText disc_id = record.DiscIdText();
  if (!category || !disc_id)
    return std::nullopt;
  return EntryKey(*category, *disc_id);
}

}  // namespace

DiscInfoSource LoadDiscInfo(PlayOrderList& play_order, const Settings& settings,
                            const std::string& db_path, DiscLookupHooks& hooks) {
  CdState& state = play_order.state();
  DiscRecord& record = state.disc();
  record.SetDefaultDiscText();

  std::string disc_id = DiscIdText(ComputeCddbDiscId(record.Timing()));
  if (std::optional<std::string> text = DbFindEntry(db_path, disc_id)) {
    ReadEntryIntoRecord(record, *text, true);
    if (settings.PlayOrder & kPlayOrderRestore)
      LoadPlayOrder(play_order, db_path);
    return DiscInfoSource::kDatabase;
  }
  if (settings.LoadINI && hooks.ImportCdPlayerIni(record))
    return DiscInfoSource::kCdPlayerIni;

  if (!settings.CacheQuery) {
    if (!settings.AutoInfo || (!state.has_audio && settings.NoQueryData))
      return DiscInfoSource::kDefaults;
    hooks.StartCddbQuery(state);
    return DiscInfoSource::kCddbQuery;
  }
  if (!state.has_audio && settings.NoCacheData)
    return DiscInfoSource::kDefaults;
  // Announcing a cached disc that never reached the database would send the
  // user to a later query that finds nothing to query.
  int added = StoreCachedEntry(record, db_path);
  if (added < 0)
    hooks.ShowDbWriteError();
  if (added != 1)
    return DiscInfoSource::kDefaults;
  hooks.SendCddbStatus(kCddbStatusCached);
  return DiscInfoSource::kCached;
}

int StoreCachedEntry(DiscRecord& record, const std::string& db_path) {
  std::string disc_id = DiscIdText(ComputeCddbDiscId(record.Timing()));
  record.SetDiscIdText(disc_id);
  record.SetCategory(kCachedCategory);
  return DbAddEntry(db_path, EntryKey(kCachedCategory, disc_id), BuildNewEntryText(record, true));
}

// The delete and the add go into one rewrite: apart, an interruption between
// them would lose the disc's entry.
PlayOrderSave SavePlayOrder(const PlayOrderList& play_order, const std::string& db_path) {
  const DiscRecord& record = play_order.state().disc();
  std::optional<std::string> key = DiscKey(record);
  if (!key)
    return PlayOrderSave::kNotSaved;
  std::vector<SavedPlayOrderItem> items;
  for (const TrackCell& cell : play_order.cells())
    items.push_back({cell.track, cell.removed});
  std::optional<std::string> value = FormatPlayOrderValue(items, record.TrackCount());
  if (!value)
    return PlayOrderSave::kNotSaved;

  if (!DbFindEntry(db_path, *key))
    return PlayOrderSave::kNotSaved;
  std::string error;
  std::unique_ptr<DbSession> session = DbSession::Open(db_path, &error);
  if (!session)
    return PlayOrderSave::kWriteFailed;
  std::optional<std::string> text = session->Find(*key);
  // Without a PLAYORDER line the entry would come back unchanged.
  if (!text || !SetEntryValue(kPlayOrderKey, value, *text))
    return PlayOrderSave::kNotSaved;
  session->Delete(*key);
  if (session->Add(*key, *text) != 1 || session->Commit() != 1)
    return PlayOrderSave::kWriteFailed;
  return PlayOrderSave::kSaved;
}

bool LoadPlayOrder(PlayOrderList& play_order, const std::string& db_path) {
  const DiscRecord& record = play_order.state().disc();
  std::optional<std::string> key = DiscKey(record);
  std::optional<std::string> text = key ? DbFindEntry(db_path, *key) : std::nullopt;
  std::optional<std::string> value = text ? GetEntryValue(kPlayOrderKey, *text) : std::nullopt;
  if (!value || value->empty())
    return false;
  std::optional<std::vector<SavedPlayOrderItem>> items =
      ParsePlayOrderValue(*value, record.TrackCount(), kMaxPlayOrderEntries);
  if (!items) {
    play_order.BuildDefault();
    return false;
  }
  // A value of separators alone saved no order.
  if (items->empty())
    return false;
  play_order.ClearList();
  for (const SavedPlayOrderItem& item : *items) {
    bool copy = play_order.FindTrack(item.track).has_value();
    play_order.AppendEntry(item.track, {.removed = item.removed, .copy = copy});
  }
  return true;
}

}  // namespace zcd
