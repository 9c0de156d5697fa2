#include "app/cddb_workers.h"

#include <algorithm>

#include "base/cddb_status.h"

namespace zcd {

CddbWorkers::CddbWorkers(MessageQueue& queue, std::binary_semaphore& query_lock,
                         std::string db_path, std::string data_dir, WindowSide window)
    : queue_(queue),
      query_lock_(query_lock),
      db_path_(std::move(db_path)),
      window_(std::move(window)),
      log_(false, "", std::move(data_dir)),
      calls_(queue) {}

CddbWorkers::~CddbWorkers() {
  StopAll();
}

void CddbWorkers::StartQuery(Settings settings, QueryDisc disc, std::optional<ServerEntry> server) {
  Start(std::move(settings), [disc = std::move(disc), server = std::move(server)](
                                 const CddbWorkerContext& context, CddbConnection& connection) {
    QueryCd(context, connection, disc, server);
  });
}

void CddbWorkers::StartCachedPass(Settings settings, CachedPassHooks hooks) {
  Start(std::move(settings),
        [hooks = std::move(hooks)](const CddbWorkerContext& context, CddbConnection& connection) {
          QueryCachedCds(context, connection, hooks);
        });
}

void CddbWorkers::Start(Settings settings, Work work) {
  if (stopped_)
    return;
  Reap();
  // The log follows the settings as they are when a worker starts.
  log_.SetEnabled(settings.NetLogging != 0);
  log_.SetLogFile(settings.LogFile);
  auto worker = std::make_unique<Worker>();
  worker->settings = std::move(settings);
  worker->connection =
      std::make_unique<CddbConnection>(TransportSettings::From(worker->settings), log_);
  Worker& running = *worker;
  running.thread = std::thread([this, &running, work = std::move(work)] {
    const CddbWorkerContext context{running.settings, db_path_, log_, query_lock_, *this};
    work(context, *running.connection);
    running.ended = true;
  });
  workers_.push_back(std::move(worker));
}

void CddbWorkers::Reap() {
  std::erase_if(workers_, [](const std::unique_ptr<Worker>& worker) {
    if (!worker->ended)
      return false;
    worker->thread.join();
    return true;
  });
}

int CddbWorkers::running() const {
  return static_cast<int>(std::ranges::count_if(
      workers_, [](const std::unique_ptr<Worker>& worker) { return !worker->ended; }));
}

void CddbWorkers::StopAll() {
  stopped_ = true;
  calls_.Cancel();
  for (const std::unique_ptr<Worker>& worker : workers_)
    worker->connection->Stop();
  for (const std::unique_ptr<Worker>& worker : workers_)
    worker->thread.join();
  workers_.clear();
}

void CddbWorkers::PostStatus(int code) {
  queue_.Post(CddbStatusMessage(code));
}

MessageBoxAnswer CddbWorkers::Ask(const std::string& text, MessageBoxStyle style,
                                  MessageBoxButtons buttons) {
  return calls_
      .Ask<MessageBoxAnswer>(
          [this, text, style, buttons] { return window_.ask(text, style, buttons); })
      .value_or(MessageBoxAnswer::kCancel);
}

int CddbWorkers::ChooseMatch(const std::string& reply) {
  return calls_.Ask<int>([this, reply] { return window_.choose_match(reply); }).value_or(-1);
}

CachedQueryChoice CddbWorkers::AskCachedQueryFailure() {
  return calls_.Ask<CachedQueryChoice>([this] { return window_.ask_cached_failure(); })
      .value_or(CachedQueryChoice::kStop);
}

void CddbWorkers::PostCommand(int64_t command, int64_t param) {
  queue_.Post({WindowId::kMain, kMsgCommand, command, param});
}

void CddbWorkers::TurnOffAutoInfo() {
  calls_.Post([this] { window_.turn_off_auto_info(); });
}

}  // namespace zcd
