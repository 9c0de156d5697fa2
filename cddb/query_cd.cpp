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

  std::optional<std::string> Run(std::optional<ServerEntry> server);

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

std::optional<std::string> Query::Run(std::optional<ServerEntry> server) {
  if (!server) {
    std::vector<ServerEntry> list = ReadServerList(context_.settings);
    server = ChooseServer(list);
  }
  if (!server) {
    Status(kCddbStatusUnreachable);
    OfferServerSetup();
    return std::nullopt;
  }
  server_ = std::move(*server);
  http_ = server_.protocol.starts_with("HTTP");
  identity_ = WorkerClientIdentity(context_.settings.EmailHello != 0, context_.settings.UserEmail);

  Status(kCddbStatusConnecting);
  if (!Connect() || (!http_ && !CddbpHandshake(connection_, identity_))) {
    Status(kCddbStatusUnreachable);
    return std::nullopt;
  }
  Status(kCddbStatusConnected);

  std::optional<std::string> reply;
  if (SendCommand(QueryCommand(record_.Timing())))
    reply = Receive(ReplyMode::AutoReply);
  if (!reply) {
    Status(kCddbStatusUnreachable);
    return std::nullopt;
  }
  if (DiscGone()) {
    Status(kCddbStatusClear);
    return std::nullopt;
  }
  const std::optional<ReadTarget> target = JudgeQueryReply(*reply, [this](std::string_view body) {
    return context_.settings.NoFuzzyMatch ? 0 : context_.host.ChooseMatch(std::string(body));
  });
  if (!target) {
    Status(kCddbStatusNoMatch);
    return std::nullopt;
  }

  const std::string read = ReadCommand(target->category, target->disc_id);
  if (http_) {
    connection_.Close();
    if (!Connect()) {
      context_.log.Write(LogInfo, "connect failed for HTTP query\r\n");
      Status(kCddbStatusUnreachable);
      return std::nullopt;
    }
  }
  std::optional<std::string> entry;
  if (SendCommand(read))
    entry = Receive(ReplyMode::MultiLineReply);
  if (!entry) {
    Status(kCddbStatusUnreachable);
    return std::nullopt;
  }
  if (DiscGone()) {
    context_.log.Write(LogInfo, "CD was ejected. Exiting cddb query\r\n");
    Status(kCddbStatusClear);
    return std::nullopt;
  }
  // An error line in place of the entry would replace a good entry with
  // nothing; a player that is ending stores nothing new.
  if (!entry->starts_with("210") || connection_.stopped()) {
    Status(kCddbStatusNoMatch);
    return std::nullopt;
  }
  return EntryBytesToStored(*entry);
}

void Store(const CddbWorkerContext& context, const QueryDisc& disc, std::string entry) {
  DiscRecord& record = *disc.record;
  const std::string& db = context.db_path;
  const std::string id = DiscIdText(ComputeCddbDiscId(record.Timing()));
  const bool cached = EqualsIgnoringCase(record.Category().value_or(""), "cached");
  const bool known = DbHasEntry(db, id);
  if (known && !cached &&
      context.host.Ask(kReplaceText, MessageBoxStyle::kInformation, MessageBoxButtons::kYesNo) !=
          MessageBoxAnswer::kYes) {
    context.host.PostStatus(kCddbStatusDone);
    return;
  }
  ReadEntryIntoRecord(record, entry, disc.loaded != nullptr);
  NormalizeReadEntry(record, entry);
  const std::string key =
      EntryKey(record.Category().value_or("nocategory"), record.DiscIdText().value_or(id));
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
    context.host.Ask(kDbWriteErrorText, MessageBoxStyle::kExclamation, MessageBoxButtons::kOk);
  context.host.PostStatus(kCddbStatusDone);
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
  if (std::optional<std::string> entry = Query(context, connection, disc).Run(server))
    Store(context, disc, std::move(*entry));
  return QueryEnd::kFinished;
}

std::optional<std::string> QueryAndRead(const CddbWorkerContext& context,
                                        CddbConnection& connection, const QueryDisc& disc,
                                        const std::optional<ServerEntry>& server) {
  std::optional<std::string> entry = Query(context, connection, disc).Run(server);
  connection.Close();
  return entry;
}

void FileReadEntry(const CddbWorkerContext& context, const QueryDisc& disc, std::string entry) {
  Store(context, disc, std::move(entry));
}

}  // namespace zcd
