#pragma once

#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "base/window_host.h"

namespace zcd {

// A host without a screen, for tests: it records what the window asks for,
// fires timers when told to, and answers message boxes from a prepared list.
class HeadlessWindowHost : public WindowHost {
 public:
  struct MessageBoxCall {
    std::string text;
    std::string caption;
    MessageBoxStyle style;
    MessageBoxButtons buttons;
  };

  explicit HeadlessWindowHost(WindowClient* client, Rect geometry = {},
                              HeadlessWindowHost* parent = nullptr);
  ~HeadlessWindowHost() override;
  HeadlessWindowHost(const HeadlessWindowHost&) = delete;
  HeadlessWindowHost& operator=(const HeadlessWindowHost&) = delete;

  void SetTimer(int id, int interval_ms) override;
  void KillTimer(int id) override;
  void SetGeometry(const Rect& rect) override { geometry_ = rect; }
  Rect Geometry() const override { return geometry_; }
  void Show(ShowState state) override { state_ = state; }
  ShowState State() const override { return state_; }
  void SetTopmost(bool topmost) override { topmost_ = topmost; }
  void SetCaption(const std::string& caption) override { caption_ = caption; }
  void SetToolWindow(bool tool) override { tool_window_ = tool; }
  Rect WorkArea() const override { return work_area_; }
  void Invalidate(const Rect& rect) override;
  MessageBoxAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                                  MessageBoxStyle style, MessageBoxButtons buttons) override;
  std::unique_ptr<WindowHost> CreateChild(WindowClient& client, const Rect& rect) override;
  // Answers from QueueMenuChoice, else dismisses the menu.
  std::optional<int64_t> PopupMenu(const Menu& menu, Point screen) override;
  // Every character is kMenuCharWidth pixels wide.
  int MenuTextWidth(const std::string& text) const override;
  void Quit(int exit_code) override { exit_code_ = exit_code; }
  // Children have their window's scale.
  void SetScale(int scale) override { scale_ = scale; }
  int Scale() const override { return parent_ != nullptr ? parent_->Scale() : scale_; }
  void WatchReadable(int fd, std::function<void()> ready) override;
  void UnwatchReadable(int fd) override { readable_.erase(fd); }

  static constexpr int kMenuCharWidth = 7;

  // For tests.
  const std::map<int, int>& timers() const { return timers_; }
  bool FireTimer(int id);
  // Hands a mouse event to the window, the cursor going where it happens;
  // whether the window used it.
  bool Mouse(const MouseEvent& event) {
    cursor_ = event.at;
    return client_ != nullptr && client_->OnMouse(event);
  }
  std::optional<Point> CursorPosition() const override { return cursor_; }
  void set_cursor(std::optional<Point> at) { cursor_ = at; }
  void MoveCursor(Point at) override { cursor_ = at; }
  bool topmost() const { return topmost_; }
  bool tool_window() const { return tool_window_; }
  const std::string& caption() const { return caption_; }
  void set_work_area(const Rect& rect) { work_area_ = rect; }
  std::optional<int> exit_code() const { return exit_code_; }
  void QueueAnswer(MessageBoxAnswer answer);
  std::vector<MessageBoxCall> message_boxes() const;
  // The next menu shown answers with this command.
  void QueueMenuChoice(std::optional<int64_t> command) { menu_choices_.push_back(command); }
  // The menus shown so far and where.
  const std::vector<std::pair<Menu, Point>>& menus() const { return menus_; }
  int invalidations() const;
  // The window as a screen would show it: its picture with every shown
  // child's picture over it, in skin pixels.
  Surface Snapshot() const;
  // The descriptors watched now, in order.
  std::vector<int> watched_fds() const;
  // Runs the watch of `fd` as the event loop would when it became
  // readable; false when nothing watches it.
  bool FireReadable(int fd);
  // The children created so far, in order of creation.
  const std::vector<HeadlessWindowHost*>& children() const { return children_; }

 private:
  WindowClient* client_;
  HeadlessWindowHost* parent_;
  Rect geometry_;
  int scale_ = 1;
  Rect work_area_{0, 0, 1920, 1080};
  ShowState state_ = ShowState::kHidden;
  bool topmost_ = false;
  bool tool_window_ = false;
  std::string caption_;
  std::map<int, int> timers_;
  std::map<int, std::function<void()>> readable_;
  std::optional<int> exit_code_;
  std::optional<Point> cursor_;
  std::vector<HeadlessWindowHost*> children_;
  std::deque<std::optional<int64_t>> menu_choices_;
  std::vector<std::pair<Menu, Point>> menus_;
  mutable std::mutex lock_;  // guards what other threads may touch
  std::deque<MessageBoxAnswer> answers_;
  std::vector<MessageBoxCall> message_boxes_;
  int invalidations_ = 0;
};

}  // namespace zcd
