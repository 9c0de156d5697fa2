#include "cddb/query_cd.h"

#include <string>
#include <utility>

#include "base/cddb_status.h"
#include "base/command_ids.h"
#include "base/text.h"
#include "cddb/cddb_requests.h"
#include "cddb/client_identity.h"
#include "cddb/query_text.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/entry_text.h"
#include "discdb/entry_text_encoding.h"

namespace zcd {
namespace {

inline constexpr char kNoServersText[] =
    "You don't have any CDDB servers have been defined.\nDo you wish to set them up now?";
inline constexpr char kReplaceText[] =
    "The CD being queried already exists in the database.\nReplace database entry with this "
    "new information?";

// The lock, the connection and the log are given back on every way out.
class QueryScope {
 public:
  QueryScope(const CddbWorkerContext& context, CddbConnection& connection)
      : context_(context), connection_(connection) {}
  ~QueryScope() {
    connection_.Close();
    context_.query_lock.release();
    context_.log.Write(LogStop);
  }
  QueryScope(const QueryScope&) = delete;
  QueryScope& operator=(const QueryScope&) = delete;

 private:
  const CddbWorkerContext& context_;
  CddbConnection& connection_;
};

class Query {
 public:
  Query(const CddbWorkerContext& context, CddbConnection& connection, const QueryDisc& disc)
      : context_(context), connection_(connection), disc_(disc), record_(*disc.record) {}

  void Run(std::optional<ServerEntry> server);

 private:
  void Status(int code) const { context_.host.PostStatus(code); }
  bool DiscGone() const { return disc_.loaded && !disc_.loaded->load(); }
  void OfferServerSetup() const;
  bool Connect() {
    return connection_.Connect(server_.host, server_.port) == ConnectResult::kConnected;
  }
  // Sends a CDDBP command, or the same as an HTTP request; logged.
  bool SendCommand(const std::string& command);
  std::optional<std::string> Receive(ReplyMode mode);
  void Store(std::string entry);

  const CddbWorkerContext& context_;
  CddbConnection& connection_;
  const QueryDisc& disc_;
  DiscRecord& record_;
  ServerEntry server_;
  bool http_ = false;
  ClientIdentity identity_;
};

void Query::OfferServerSetup() const {
  const MessageBoxAnswer answer =
      context_.host.Ask(kNoServersText, MessageBoxStyle::kQuestion, MessageBoxButtons::kYesNo);
  if (answer == MessageBoxAnswer::kYes)
    context_.host.PostCommand(kCmdCddbSettings, 0);
  else if (answer == MessageBoxAnswer::kNo)
    context_.host.TurnOffAutoInfo();
}

bool Query::SendCommand(const std::string& command) {
  if (!http_) {
    context_.log.Write(LogSent, command);
    return connection_.Send(command);
  }
  const std::string line =
      HttpRequestLine(connection_.settings(), {server_.host, server_.port, server_.cgi_path},
                      HttpCommand(command), identity_, HttpRequestKind::kQueryOrRead);
  return SendHttpRequest(connection_, line, HttpRequestKind::kQueryOrRead);
}

std::optional<std::string> Query::Receive(ReplyMode mode) {
  std::optional<std::string> reply = connection_.ReadReply(mode);
  context_.log.Write(LogReceived, reply);
  if (reply && http_)
    reply = std::string(SkipReplyHead(*reply));
  return reply;
}

void Query::Run(std::optional<ServerEntry> server) {
  if (!server) {
    std::vector<ServerEntry> list = ReadServerList(context_.settings);
    server = ChooseServer(list);
  }
  if (!server) {
    Status(kCddbStatusUnreachable);
    OfferServerSetup();
    return;
  }
  server_ = std::move(*server);
  http_ = server_.protocol.starts_with("HTTP");
  identity_ = WorkerClientIdentity(context_.settings.EmailHello != 0, context_.settings.UserEmail);

  Status(kCddbStatusConnecting);
  if (!Connect() || (!http_ && !CddbpHandshake(connection_, identity_))) {
    Status(kCddbStatusUnreachable);
    return;
  }
  Status(kCddbStatusConnected);

  std::optional<std::string> reply;
  if (SendCommand(QueryCommand(record_.Timing())))
    reply = Receive(ReplyMode::AutoReply);
  if (!reply) {
    Status(kCddbStatusUnreachable);
    return;
  }
  if (DiscGone()) {
    Status(kCddbStatusClear);
    return;
  }
  const std::optional<ReadTarget> target = JudgeQueryReply(*reply, [this](std::string_view body) {
    return context_.settings.NoFuzzyMatch ? 0 : context_.host.ChooseMatch(std::string(body));
  });
  if (!target) {
    Status(kCddbStatusNoMatch);
    return;
  }

  const std::string read = ReadCommand(target->category, target->disc_id);
  if (http_) {
    connection_.Close();
    if (!Connect()) {
      context_.log.Write(LogInfo, "connect failed for HTTP query\r\n");
      Status(kCddbStatusUnreachable);
      return;
    }
  }
  std::optional<std::string> entry;
  if (SendCommand(read))
    entry = Receive(ReplyMode::MultiLineReply);
  if (!entry) {
    Status(kCddbStatusUnreachable);
    return;
  }
  if (DiscGone()) {
    context_.log.Write(LogInfo, "CD was ejected. Exiting cddb query\r\n");
    Status(kCddbStatusClear);
    return;
  }
  // An error line in place of the entry would replace a good entry with
  // nothing; a player that is ending stores nothing new.
  if (!entry->starts_with("210") || connection_.stopped()) {
    Status(kCddbStatusNoMatch);
    return;
  }
  Store(EntryBytesToStored(*entry));
  Status(kCddbStatusDone);
}

void Query::Store(std::string entry) {
  const std::string& db = context_.db_path;
  const std::string id = DiscIdText(ComputeCddbDiscId(record_.Timing()));
  const bool cached = EqualsIgnoringCase(record_.Category().value_or(""), "cached");
  const bool known = DbHasEntry(db, id);
  if (known && !cached &&
      context_.host.Ask(kReplaceText, MessageBoxStyle::kInformation, MessageBoxButtons::kYesNo) !=
          MessageBoxAnswer::kYes) {
    return;
  }
  ReadEntryIntoRecord(record_, entry, disc_.loaded != nullptr);
  NormalizeReadEntry(record_, entry);
  const std::string key =
      EntryKey(record_.Category().value_or("nocategory"), record_.DiscIdText().value_or(id));
  int stored = 0;
  if (!known) {
    stored = DbAddEntry(db, key, entry);
  } else if (std::unique_ptr<DbSession> session = DbSession::Open(db, nullptr)) {
    // One rewrite: the old entries and the new one never both go missing.
    session->Delete(id);
    stored = session->Add(key, entry) == 1 ? session->Commit() : 0;
  } else {
    stored = -1;
  }
  if (stored < 0)
    context_.host.Ask(kDbWriteErrorText, MessageBoxStyle::kExclamation, MessageBoxButtons::kOk);
}

}  // namespace

QueryEnd QueryCd(const CddbWorkerContext& context, CddbConnection& connection,
                 const QueryDisc& disc, const std::optional<ServerEntry>& server) {
  context.log.Write(LogStart);
  context.log.Write(LogInfo, "Query initiated\r\n");
  if (!context.query_lock.try_acquire()) {
    context.log.Write(LogInfo, "CDDB Query already in use");
    context.log.Write(LogStop);
    return QueryEnd::kLockHeld;
  }
  QueryScope scope(context, connection);
  Query(context, connection, disc).Run(server);
  return QueryEnd::kFinished;
}

}  // namespace zcd
