#include "app/window_calls.h"

namespace zcd {

std::shared_ptr<WindowCalls::Pending> WindowCalls::Enqueue(std::function<void()> call) {
  int64_t id = 0;
  auto pending = std::make_shared<Pending>();
  pending->call = std::move(call);
  {
    std::lock_guard hold(lock_);
    if (cancelled_)
      return nullptr;
    id = ++next_id_;
    pending_[id] = pending;
  }
  queue_.Post({WindowId::kMain, kMsgPlayer, kPlayerWindowCall, id});
  return pending;
}

void WindowCalls::Post(std::function<void()> call) {
  Enqueue(std::move(call));
}

bool WindowCalls::Wait(std::function<void()> call) {
  std::shared_ptr<Pending> pending = Enqueue(std::move(call));
  if (!pending)
    return false;
  std::unique_lock hold(lock_);
  finished_.wait(hold, [&] { return pending->done || cancelled_; });
  return pending->done;
}

void WindowCalls::Run(int64_t id) {
  std::shared_ptr<Pending> pending;
  {
    std::lock_guard hold(lock_);
    const auto found = pending_.find(id);
    if (found == pending_.end() || cancelled_)
      return;
    pending = found->second;
    pending_.erase(found);
  }
  pending->call();
  {
    std::lock_guard hold(lock_);
    pending->done = true;
  }
  finished_.notify_all();
}

void WindowCalls::Cancel() {
  {
    std::lock_guard hold(lock_);
    cancelled_ = true;
    pending_.clear();
  }
  finished_.notify_all();
}

}  // namespace zcd
