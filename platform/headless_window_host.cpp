#include "platform/headless_window_host.h"

#include <algorithm>

#include "skin/blit.h"

namespace zcd {

HeadlessWindowHost::HeadlessWindowHost(WindowClient* client, Rect geometry,
                                       HeadlessWindowHost* parent)
    : client_(client), parent_(parent), geometry_(geometry) {}

HeadlessWindowHost::~HeadlessWindowHost() {
  if (parent_ != nullptr)
    std::erase(parent_->children_, this);
}

void HeadlessWindowHost::SetTimer(int id, int interval_ms) {
  timers_[id] = interval_ms;
}

void HeadlessWindowHost::KillTimer(int id) {
  timers_.erase(id);
}

bool HeadlessWindowHost::FireTimer(int id) {
  if (!timers_.contains(id) || client_ == nullptr)
    return false;
  client_->OnTimer(id);
  return true;
}

void HeadlessWindowHost::WatchReadable(int fd, std::function<void()> ready) {
  readable_[fd] = std::move(ready);
}

std::vector<int> HeadlessWindowHost::watched_fds() const {
  std::vector<int> fds;
  for (const auto& [fd, ready] : readable_)
    fds.push_back(fd);
  return fds;
}

bool HeadlessWindowHost::FireReadable(int fd) {
  const auto it = readable_.find(fd);
  if (it == readable_.end())
    return false;
  // The watch may remove itself while it runs.
  const std::function<void()> ready = it->second;
  ready();
  return true;
}

void HeadlessWindowHost::Invalidate(const Rect&) {
  std::lock_guard guard(lock_);
  ++invalidations_;
}

int HeadlessWindowHost::invalidations() const {
  std::lock_guard guard(lock_);
  return invalidations_;
}

void HeadlessWindowHost::QueueAnswer(MessageBoxAnswer answer) {
  std::lock_guard guard(lock_);
  answers_.push_back(answer);
}

MessageBoxAnswer HeadlessWindowHost::ShowMessageBox(const std::string& text,
                                                    const std::string& caption,
                                                    MessageBoxStyle style,
                                                    MessageBoxButtons buttons) {
  std::lock_guard guard(lock_);
  message_boxes_.push_back({text, caption, style, buttons});
  if (!answers_.empty()) {
    const MessageBoxAnswer answer = answers_.front();
    answers_.pop_front();
    return answer;
  }
  // Unprepared boxes are dismissed the way Escape would.
  return buttons == MessageBoxButtons::kOk ? MessageBoxAnswer::kOk : MessageBoxAnswer::kCancel;
}

std::vector<HeadlessWindowHost::MessageBoxCall> HeadlessWindowHost::message_boxes() const {
  std::lock_guard guard(lock_);
  return message_boxes_;
}

std::unique_ptr<WindowHost> HeadlessWindowHost::CreateChild(WindowClient& client,
                                                            const Rect& rect) {
  auto child = std::make_unique<HeadlessWindowHost>(&client, rect, this);
  child->Show(ShowState::kNormal);
  children_.push_back(child.get());
  return child;
}

Surface HeadlessWindowHost::Snapshot() const {
  if (client_ == nullptr)
    return {};
  const Surface& own = client_->surface();
  Surface picture(own.width(), own.height());
  {
    std::lock_guard drawing(own.lock());
    CopySurface(picture, {0, 0, own.width(), own.height()}, own);
  }
  for (const HeadlessWindowHost* child : children_) {
    if (child->State() == ShowState::kHidden)
      continue;
    const Surface part = child->Snapshot();
    const Rect at = child->Geometry();
    CopySurface(picture, {at.x, at.y, part.width(), part.height()}, part);
  }
  return picture;
}

std::optional<int64_t> HeadlessWindowHost::PopupMenu(const Menu& menu, Point screen) {
  menus_.emplace_back(menu, screen);
  if (menu_choices_.empty())
    return std::nullopt;
  const std::optional<int64_t> choice = menu_choices_.front();
  menu_choices_.pop_front();
  return choice;
}

int HeadlessWindowHost::MenuTextWidth(const std::string& text) const {
  return static_cast<int>(text.size()) * kMenuCharWidth;
}

}  // namespace zcd
