#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "cddb/worker_host.h"

namespace zcd::test {

// Stands in for the window thread: records what a worker posted and asked,
// and answers from its script.
class ScriptedWorkerHost : public CddbWorkerHost {
 public:
  struct Command {
    int64_t command;
    int64_t param;
    bool operator==(const Command&) const = default;
  };

  void PostStatus(int code) override {
    std::lock_guard hold(lock_);
    statuses_.push_back(code);
  }
  MessageBoxAnswer Ask(const std::string& text, MessageBoxStyle style, MessageBoxButtons) override {
    std::lock_guard hold(lock_);
    asked_.push_back(text);
    styles_.push_back(style);
    return answer;
  }
  int ChooseMatch(const std::string& reply) override {
    std::lock_guard hold(lock_);
    match_replies_.push_back(reply);
    return match;
  }
  CachedQueryChoice AskCachedQueryFailure() override {
    std::lock_guard hold(lock_);
    ++cached_questions_;
    if (cached_answers.empty())
      return CachedQueryChoice::kStop;
    const CachedQueryChoice next = cached_answers.front();
    cached_answers.erase(cached_answers.begin());
    return next;
  }
  void PostCommand(int64_t command, int64_t param) override {
    std::lock_guard hold(lock_);
    commands_.push_back({command, param});
  }
  void TurnOffAutoInfo() override {
    std::lock_guard hold(lock_);
    auto_info_off_ = true;
  }

  std::vector<int> statuses() const {
    std::lock_guard hold(lock_);
    return statuses_;
  }
  std::vector<std::string> asked() const {
    std::lock_guard hold(lock_);
    return asked_;
  }
  std::vector<MessageBoxStyle> styles() const {
    std::lock_guard hold(lock_);
    return styles_;
  }
  std::vector<std::string> match_replies() const {
    std::lock_guard hold(lock_);
    return match_replies_;
  }
  std::vector<Command> commands() const {
    std::lock_guard hold(lock_);
    return commands_;
  }
  int cached_questions() const {
    std::lock_guard hold(lock_);
    return cached_questions_;
  }
  bool auto_info_off() const {
    std::lock_guard hold(lock_);
    return auto_info_off_;
  }

  // The script; set before the worker starts.
  MessageBoxAnswer answer = MessageBoxAnswer::kNo;
  int match = 0;
  std::vector<CachedQueryChoice> cached_answers;

 private:
  mutable std::mutex lock_;
  std::vector<int> statuses_;
  std::vector<std::string> asked_;
  std::vector<MessageBoxStyle> styles_;
  std::vector<std::string> match_replies_;
  std::vector<Command> commands_;
  int cached_questions_ = 0;
  bool auto_info_off_ = false;
};

}  // namespace zcd::test
