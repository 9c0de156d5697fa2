#pragma once

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include "app/message_queue.h"
#include "app/window_calls.h"
#include "base/settings.h"
#include "cddb/cddb_connection.h"
#include "cddb/net_log.h"
#include "cddb/query_cached_cds.h"
#include "cddb/query_cd.h"
#include "cddb/worker_context.h"

namespace zcd {

// The player's CDDB workers: each a thread with its own copy of the
// settings and its own connection, started from the window thread, asking
// the window thread its questions through WindowCalls. The network log and
// the query lock are shared by all of them.
class CddbWorkers : public CddbWorkerHost {
 public:
  // What the workers' questions become on the window thread.
  struct WindowSide {
    std::function<MessageBoxAnswer(const std::string& text, MessageBoxStyle style,
                                   MessageBoxButtons buttons)>
        ask;
    std::function<int(const std::string& reply)> choose_match;
    std::function<CachedQueryChoice()> ask_cached_failure;
    // AutoInfo off in the running settings.
    std::function<void()> turn_off_auto_info;
  };

  CddbWorkers(MessageQueue& queue, std::binary_semaphore& query_lock, std::string db_path,
              std::string data_dir, WindowSide window);
  // Stops and joins whatever still runs.
  ~CddbWorkers() override;
  CddbWorkers(const CddbWorkers&) = delete;
  CddbWorkers& operator=(const CddbWorkers&) = delete;

  // Window thread, each. `settings` is the copy the worker takes along.
  void StartQuery(Settings settings, QueryDisc disc,
                  std::optional<ServerEntry> server = std::nullopt);
  void StartCachedPass(Settings settings, CachedPassHooks hooks);
  // Any work on a thread of its own under the same rules (sites, submission).
  using Work = std::function<void(const CddbWorkerContext& context, CddbConnection& connection)>;
  void Start(Settings settings, Work work);

  // Window thread. Every worker stopped, its questions answered for it, and
  // joined; later starts do nothing.
  void StopAll();

  // Window thread, from WindowCalls' message.
  void RunWindowCall(int64_t id) { calls_.Run(id); }
  // Any thread: runs on the window thread later.
  void PostToWindow(std::function<void()> call) { calls_.Post(std::move(call)); }

  NetLog& log() { return log_; }
  // Window thread: how many have not ended yet.
  int running() const;

  // CddbWorkerHost: worker threads.
  void PostStatus(int code) override;
  MessageBoxAnswer Ask(const std::string& text, MessageBoxStyle style,
                       MessageBoxButtons buttons) override;
  int ChooseMatch(const std::string& reply) override;
  CachedQueryChoice AskCachedQueryFailure() override;
  void PostCommand(int64_t command, int64_t param) override;
  void TurnOffAutoInfo() override;

 private:
  struct Worker {
    Settings settings;
    std::unique_ptr<CddbConnection> connection;
    std::atomic<bool> ended = false;
    std::thread thread;
  };
  // Joins the workers that have ended.
  void Reap();

  MessageQueue& queue_;
  std::binary_semaphore& query_lock_;
  std::string db_path_;
  WindowSide window_;
  NetLog log_;
  WindowCalls calls_;
  std::vector<std::unique_ptr<Worker>> workers_;
  bool stopped_ = false;
};

}  // namespace zcd
