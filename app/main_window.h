#pragma once

#include <functional>
#include <memory>
#include <semaphore>
#include <string>
#include <vector>

#include "app/data_folder.h"
#include "app/message_queue.h"
#include "base/geometry.h"
#include "base/settings.h"
#include "base/window_host.h"
#include "cd/cd_state.h"
#include "cd/drive_list.h"
#include "cd/play_order.h"
#include "skin/blank_window.h"
#include "skin/idle_animation.h"
#include "skin/scroll_thread.h"
#include "skin/skin_set.h"
#include "skin/text_display.h"

namespace zcd {

// Main window timers.
inline constexpr int kTimerPlaybackTick = 2;
inline constexpr int kTimerDisplayRestore = 4;
inline constexpr int kTimerTrayClick = 10;
inline constexpr int kTimerDrivePoll = 12;
inline constexpr int kDrivePollMs = 3000;

inline constexpr char kAppCaption[] = "Zentaro CD";

// The player's hub: it receives every command and message, owns the child
// windows and the CdState, and runs start-up and the orderly end.
// Window thread only.
class MainWindow : public WindowClient {
 public:
  struct Services {
    Settings& settings;
    DataFolder folder;
    CdDriveSource& drives;
    MessageQueue& queue;
    // Told about every message handled; may be empty.
    std::function<void(const std::string&)> trace;
    // Opens the skins dialog, or brings the open one forward; may be empty.
    std::function<void()> open_skins_dialog;
  };

  explicit MainWindow(Services services);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Start-up from the work area on, once the host exists. The host must
  // outlive this window.
  void Start(WindowHost& host, const std::string& command_line);
  void HandleMessage(const Message& message);
  // Switches to the skin `name` (stored as the chosen skin) and redraws.
  void SelectSkin(const std::string& name);
  // The orderly end: settings written, resources released, loop ended.
  void Destroy();

  const Surface& surface() const override { return surface_; }
  void OnTimer(int id) override;
  void OnCloseRequest() override { Destroy(); }

  bool destroyed() const { return destroyed_; }
  LayoutMode layout() const { return layout_; }
  CdState* cd_state() { return cd_.get(); }
  PlayOrderList* play_order() { return play_order_.get(); }
  const CdDriveList& drive_list() const { return drive_list_; }
  WindowHost* child_host(WindowId id) const;
  std::binary_semaphore& query_lock() { return query_lock_; }
  const SkinSet& skin() const { return skin_; }
  TextDisplay* text_display() { return text_.get(); }
  IdleAnimation* idle_animation() { return idle_.get(); }

 private:
  class LocalTarget;
  class LookupHooks;
  struct Child {
    WindowId id;
    std::unique_ptr<BlankWindow> window;
    std::unique_ptr<WindowHost> host;
  };

  void ApplyStartState(int state);
  void ApplyLayout(LayoutMode mode);
  void Paint();
  void ShowDiscTitle();
  void ShowTrackTitle();
  void ShowStopped();
  void StartIdleAnimation();
  void HandleCommand(int64_t command);
  void HandleSysCommand(int64_t command);
  void LoadDisc(int64_t reason);
  void HandleLoadResult(int code, int64_t reason);
  void ShowLoadFailure(const char* title);
  void DrivePoll();
  void ChangeDrive(int drive_index);
  void ToggleAlwaysOnTop();
  void Play();
  void TogglePause();
  void Stop();
  void Eject();
  void SetDiscCaption();
  void PlayEnded();
  void SavePlayOrderIfAsked();
  void ReleaseResources();
  std::unique_ptr<CdState> MakeCdState(int drive_index);
  void Trace(const std::string& text) const;

  Services s_;
  WindowHost* host_ = nullptr;
  Surface surface_;
  SkinSet skin_;
  // After the surface they draw into, so they end before it goes.
  std::unique_ptr<TextDisplay> text_;
  std::unique_ptr<ScrollThread> title_scroller_;
  std::unique_ptr<ScrollThread> track_scroller_;
  std::unique_ptr<IdleAnimation> idle_;
  std::vector<Child> children_;
  std::unique_ptr<CdState> cd_;
  // Declared after cd_: the play order refers to it and must go first.
  std::unique_ptr<PlayOrderList> play_order_;
  std::unique_ptr<LookupHooks> lookup_hooks_;
  CdDriveList drive_list_;
  LayoutMode layout_ = LayoutMode::kFull;
  bool destroyed_ = false;
  // One CDDB query, cached pass or submission at a time.
  std::binary_semaphore query_lock_{1};
};

}  // namespace zcd
