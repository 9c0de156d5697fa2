#pragma once

#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "cddb/worker_host.h"

namespace zcd::test {

// The player's side of a CDDB worker for tests: records everything the
// worker asks and posts, and answers its questions from a script (No, no
// match, stop once the script runs out). Any thread.
class ScriptedWorkerHost : public CddbWorkerHost {
 public:
  struct Question {
    std::string text;
    MessageBoxStyle style;
    MessageBoxButtons buttons;
    bool operator==(const Question&) const = default;
  };

  void AnswerNext(MessageBoxAnswer answer) {
    std::lock_guard lock(mutex_);
    answers_.push_back(answer);
  }

  void PostStatus(int code) override {
    std::lock_guard lock(mutex_);
    statuses_.push_back(code);
  }
  MessageBoxAnswer Ask(const std::string& text, MessageBoxStyle style,
                       MessageBoxButtons buttons) override {
    std::lock_guard lock(mutex_);
    questions_.push_back({text, style, buttons});
    if (answers_.empty())
      return buttons == MessageBoxButtons::kOk ? MessageBoxAnswer::kOk : MessageBoxAnswer::kNo;
    const MessageBoxAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  int ChooseMatch(const std::string& reply) override {
    std::lock_guard lock(mutex_);
    match_replies_.push_back(reply);
    return -1;
  }
  CachedQueryChoice AskCachedQueryFailure() override {
    std::lock_guard lock(mutex_);
    ++query_worker_calls_;
    return CachedQueryChoice::kStop;
  }
  void PostCommand(int64_t command, int64_t param) override {
    std::lock_guard lock(mutex_);
    commands_.emplace_back(command, param);
  }
  void TurnOffAutoInfo() override {
    std::lock_guard lock(mutex_);
    ++query_worker_calls_;
  }

  std::vector<int> statuses() const {
    std::lock_guard lock(mutex_);
    return statuses_;
  }
  std::vector<Question> questions() const {
    std::lock_guard lock(mutex_);
    return questions_;
  }
  std::vector<std::pair<int64_t, int64_t>> commands() const {
    std::lock_guard lock(mutex_);
    return commands_;
  }
  std::vector<std::string> match_replies() const {
    std::lock_guard lock(mutex_);
    return match_replies_;
  }
  // AskCachedQueryFailure and TurnOffAutoInfo calls.
  int query_worker_calls() const {
    std::lock_guard lock(mutex_);
    return query_worker_calls_;
  }

 private:
  mutable std::mutex mutex_;
  std::deque<MessageBoxAnswer> answers_;
  std::vector<int> statuses_;
  std::vector<Question> questions_;
  std::vector<std::string> match_replies_;
  std::vector<std::pair<int64_t, int64_t>> commands_;
  int query_worker_calls_ = 0;
};

}  // namespace zcd::test
