#include "app/main_window.h"
#include "base/text.h"
#include "cddb/get_sites.h"
#include "cddb/server_list.h"
#include "cddb/submit_cd.h"
#include "discdb/database.h"
#include "discdb/entry_text.h"

// The main window's side of the CDDB workers: what starts them and where
// their questions are answered.
namespace zcd {
namespace {

inline constexpr char kQueryBusyText[] = "There is already a query in progress.";

}  // namespace

CddbWorkers::WindowSide MainWindow::CddbWindowSide() {
  return {
      [this](const std::string& text, MessageBoxStyle style, MessageBoxButtons buttons) {
        return host_ ? host_->ShowMessageBox(text, kAppCaption, style, buttons)
                     : MessageBoxAnswer::kCancel;
      },
      [this](const std::string& reply) { return dialogs_ ? dialogs_->PickInexactMatch(reply) : 0; },
      [this] { return dialogs_ ? dialogs_->AskCachedQueryFailure() : CachedQueryChoice::kStop; },
      [this] { s_.settings.AutoInfo = 0; },
  };
}

void MainWindow::StartCddbQuery(CdState& state, std::optional<ServerEntry> server) {
  if (!server)
    MarkFirstServerDefault(s_.settings);
  cddb_->StartQuery(WorkerSettings(), {state.shared_disc(), state.loaded_flag()},
                    std::move(server));
}

void MainWindow::StartCachedPass(std::function<void(int cached)> counted) {
  MarkFirstServerDefault(s_.settings);
  CachedPassHooks hooks;
  if (counted) {
    hooks.counted = [this, counted = std::move(counted)](int cached) {
      cddb_->PostToWindow([counted, cached] { counted(cached); });
    };
  }
  hooks.found = [this](const std::string& disc_id) {
    cddb_->PostToWindow([this, disc_id] { monitor_.ReloadDiscInfo(disc_id); });
  };
  cddb_->StartCachedPass(WorkerSettings(), std::move(hooks));
}

// Only one query, cached pass or submission runs at a time; a second is
// refused with a word to the user rather than queued. The lock is only
// tested here: the pass takes it for each disc.
int MainWindow::QueryCachedDiscs() {
  if (!query_lock_.try_acquire()) {
    host_->ShowMessageBox(kQueryBusyText, kAppCaption, MessageBoxStyle::kExclamation,
                          MessageBoxButtons::kOk);
    return 1;
  }
  query_lock_.release();
  Trace("cached query pass requested");
  StartCachedPass({});
  return 0;
}

// The disc's stored entry goes out with its revision raised; the database
// keeps the old revision. The entry is looked up on the worker: at a
// million discs the index alone takes a while to read.
void MainWindow::SubmitDisc() {
  const CdState* state = monitor_.cd();
  const OptText disc_id = state ? state->disc().DiscIdText() : std::nullopt;
  cddb_->Start(WorkerSettings(), [disc_id, db = s_.folder.database_path()](
                                     const CddbWorkerContext& context, CddbConnection& connection) {
    std::optional<std::string> entry = disc_id ? DbFindEntry(db, *disc_id) : std::nullopt;
    if (!entry) {
      context.host.Ask(kNoInformationText, MessageBoxStyle::kInformation, MessageBoxButtons::kOk);
      return;
    }
    StampRevision(*entry);
    SubmitCd(context, connection, std::move(*entry));
  });
}

void MainWindow::SubmitEntry(std::string entry) {
  cddb_->Start(WorkerSettings(), [entry = std::move(entry)](const CddbWorkerContext& context,
                                                            CddbConnection& connection) mutable {
    SubmitCd(context, connection, std::move(entry));
  });
}

DatabaseActions MainWindow::DatabaseSheetActions() {
  DatabaseActions actions;
  actions.db_path = s_.folder.database_path();
  actions.data_dir = s_.folder.data_dir;
  actions.query_lock = &query_lock_;
  actions.bound_record = [this]() -> std::shared_ptr<DiscRecord> {
    return monitor_.disc_loaded() ? monitor_.cd()->shared_disc() : nullptr;
  };
  actions.bound_record_saved = [this] { monitor_.DiscTextsEdited(); };
  actions.submit = [this](std::string entry) { SubmitEntry(std::move(entry)); };
  actions.current_disc = [this]() -> std::optional<CurrentDisc> {
    if (!monitor_.disc_loaded())
      return std::nullopt;
    return CurrentDisc{monitor_.cd()->disc().DiscIdText().value_or(""),
                       monitor_.playing_track() - 1};
  };
  return actions;
}

CddbActions MainWindow::CddbSettingsActions() {
  CddbActions actions;
  actions.fetch_servers = [this](std::function<void(std::optional<std::string> reply)> done) {
    cddb_->Start(WorkerSettings(), [this, done = std::move(done)](const CddbWorkerContext& context,
                                                                  CddbConnection& connection) {
      std::optional<std::string> reply = GetSites(context, connection);
      cddb_->PostToWindow([done, reply = std::move(reply)] { done(reply); });
    });
  };
  actions.connect = [this](const ServerEntry& server) {
    if (!monitor_.disc_loaded())
      return ConnectOutcome::kNoDisc;
    if (!query_lock_.try_acquire())
      return ConnectOutcome::kQueryRunning;
    query_lock_.release();
    StartCddbQuery(*monitor_.cd(), server);
    return ConnectOutcome::kStarted;
  };
  actions.query_cached = [this](std::function<void(int cached)> counted) {
    if (!query_lock_.try_acquire())
      return false;
    query_lock_.release();
    StartCachedPass(std::move(counted));
    return true;
  };
  return actions;
}

}  // namespace zcd
