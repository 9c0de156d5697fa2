#pragma once

#include <optional>
#include <string>

#include "cddb/worker_host.h"

namespace zcd::tool {

// The player's side of a CDDB worker, played on a terminal: failures are
// told on standard error, questions are asked there and answered on
// standard input (end of input answers no, or none).
class TerminalWorkerHost : public CddbWorkerHost {
 public:
  // kAnswerNo answers yes/no questions no without showing them, for a
  // command whose question would offer what a terminal cannot do.
  enum class YesNo { kAsk, kAnswerNo };

  // pick: the close match to take, counted from 1; none asks.
  TerminalWorkerHost(std::optional<int> pick, std::string disc_id, YesNo yes_no = YesNo::kAsk)
      : pick_(pick), disc_id_(std::move(disc_id)), yes_no_(yes_no) {}

  void PostStatus(int code) override;
  MessageBoxAnswer Ask(const std::string& text, MessageBoxStyle style,
                       MessageBoxButtons buttons) override;
  int ChooseMatch(const std::string& reply) override;
  // Only the cached pass asks this; a single query never does.
  CachedQueryChoice AskCachedQueryFailure() override { return CachedQueryChoice::kStop; }
  // Both follow the offer to set up servers, which a query given its server
  // never makes; there is no player to command and no running setting.
  void PostCommand(int64_t /*command*/, int64_t /*param*/) override {}
  void TurnOffAutoInfo() override {}

  int last_status() const { return last_status_; }
  // A yes/no question was answered no.
  bool declined() const { return declined_; }
  // A notice (a box with OK alone) was shown: something went wrong.
  bool warned() const { return warned_; }

 private:
  enum class Choice { kNotAsked, kTaken, kNone, kOutOfRange, kNoneOffered };

  std::optional<int> pick_;
  std::string disc_id_;
  YesNo yes_no_;
  int last_status_ = -1;
  bool declined_ = false;
  bool warned_ = false;
  Choice choice_ = Choice::kNotAsked;
};

}  // namespace zcd::tool
