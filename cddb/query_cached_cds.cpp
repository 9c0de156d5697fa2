#include "cddb/query_cached_cds.h"

#include <memory>
#include <optional>
#include <vector>

#include "cddb/query_cd.h"
#include "discdb/database.h"
#include "discdb/entry_text.h"

namespace zcd {
namespace {

inline constexpr char kCached[] = "cached";

}  // namespace

void QueryCachedCds(const CddbWorkerContext& context, CddbConnection& connection,
                    const CachedPassHooks& hooks) {
  const std::string& db = context.db_path;
  int count = 0;
  const std::vector<DbListItem> list = DbListEntries(db, std::string(kCached), count);
  if (count < 0)
    return;
  const auto counted = [&] {
    if (hooks.counted)
      hooks.counted(count);
  };
  for (size_t i = 0; i < list.size() && !connection.stopped();) {
    const std::string& disc_id = list[i].disc_id;
    const std::optional<std::string> text = DbFindEntry(db, EntryKey(kCached, disc_id));
    if (!text) {  // queried or removed meanwhile
      ++i;
      continue;
    }
    // A fresh record each time, so nothing of the last disc is carried over.
    auto record = std::make_shared<DiscRecord>();
    record->SetCategory(kCached);
    ReadTocFromEntry(*record, *text);
    if (QueryCd(context, connection, {record, nullptr}) == QueryEnd::kLockHeld)
      return;
    if (record->Category() != kCached) {
      if (hooks.found)
        hooks.found(disc_id);
      --count;
      ++i;
      counted();
      continue;
    }
    switch (context.host.AskCachedQueryFailure()) {
      case CachedQueryChoice::kRetry:
        break;
      case CachedQueryChoice::kIgnore:
        ++i;
        break;
      case CachedQueryChoice::kRemove:
        DbDeleteEntries(db, disc_id);
        --count;
        ++i;
        counted();
        break;
      case CachedQueryChoice::kStop:
        return;
    }
  }
}

}  // namespace zcd
