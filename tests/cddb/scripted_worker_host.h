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
// worker asks and posts, and answers its questions from a script. Any
// thread.
class ScriptedWorkerHost : public CddbWorkerHost {
 public:
  struct Question {
    std::string text;
    MessageBoxStyle style;
    MessageBoxButtons buttons;
    bool operator==(const Question&) const = default;
  };

  // Answers the next question; once these run out, `answer` answers.
  void AnswerNext(MessageBoxAnswer next) {
    std::lock_guard hold(lock_);
    answers_.push_back(next);
  }

  void PostStatus(int code) override {
    std::lock_guard hold(lock_);
    statuses_.push_back(code);
  }
  MessageBoxAnswer Ask(const std::string& text, MessageBoxStyle style,
                       MessageBoxButtons buttons) override {
    std::lock_guard hold(lock_);
    questions_.push_back({text, style, buttons});
    if (buttons == MessageBoxButtons::kOk)
      return MessageBoxAnswer::kOk;
    if (answers_.empty())
      return answer;
    const MessageBoxAnswer next = answers_.front();
    answers_.pop_front();
    return next;
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
    commands_.emplace_back(command, param);
  }
  void TurnOffAutoInfo() override {
    std::lock_guard hold(lock_);
    auto_info_off_ = true;
  }

  std::vector<int> statuses() const {
    std::lock_guard hold(lock_);
    return statuses_;
  }
  std::vector<Question> questions() const {
    std::lock_guard hold(lock_);
    return questions_;
  }
  std::vector<std::pair<int64_t, int64_t>> commands() const {
    std::lock_guard hold(lock_);
    return commands_;
  }
  std::vector<std::string> match_replies() const {
    std::lock_guard hold(lock_);
    return match_replies_;
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
  int match = -1;
  std::vector<CachedQueryChoice> cached_answers;

 private:
  mutable std::mutex lock_;
  std::deque<MessageBoxAnswer> answers_;
  std::vector<int> statuses_;
  std::vector<Question> questions_;
  std::vector<std::string> match_replies_;
  std::vector<std::pair<int64_t, int64_t>> commands_;
  int cached_questions_ = 0;
  bool auto_info_off_ = false;
};

}  // namespace zcd::test
