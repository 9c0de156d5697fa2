#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <semaphore>
#include <string>
#include <vector>

#include "app/cddb_workers.h"
#include "app/command_table.h"
#include "app/data_folder.h"
#include "app/dialog_launcher.h"
#include "app/message_queue.h"
#include "app/player_lookup.h"
#include "base/geometry.h"
#include "base/settings.h"
#include "base/window_host.h"
#include "cd/playback_monitor.h"
#include "mixer/mixer.h"
#include "skin/child_window.h"
#include "skin/control_strip.h"
#include "skin/idle_animation.h"
#include "skin/indicators.h"
#include "skin/position_slider.h"
#include "skin/scroll_thread.h"
#include "skin/skin_set.h"
#include "skin/text_display.h"

namespace zcd {

class MixerPanel;
class TrackBoxWindow;

inline constexpr char kAppCaption[] = "Zentaro CD";

// The player's window: its life cycle from start-up to the orderly end, the
// layout, painting and the child windows. Commands go through its command
// table; playback is the monitor's, which draws through this window as its
// PlayerView. Window thread only.
class MainWindow : public WindowClient, public PlayerView, public DialogOwner {
 public:
  struct Services {
    Settings& settings;
    DataFolder folder;
    CdDriveSource& drives;
    MessageQueue& queue;
    // Told about every message handled; may be empty.
    std::function<void(const std::string&)> trace;
    // Sends discs through the sound card (true) or lets drives play on
    // their own, for drives opened from then on; may be empty.
    std::function<void(bool digital)> route_sound;
  };

  // What the window shows of things drawn elsewhere or later: the tray
  // reads it from here.
  struct Shown {
    int32_t timer = 0;
    bool timer_lit = false;
    int status_word = 0;
    TrayPicture tray_picture = TrayPicture::kStopped;
    std::string tray_tip;
    OptText track_line;
  };

  explicit MainWindow(Services services);
  ~MainWindow() override;
  MainWindow(const MainWindow&) = delete;
  MainWindow& operator=(const MainWindow&) = delete;

  // Without one no dialog opens and their commands are greyed. The launcher
  // must outlive the window's use of it.
  void SetDialogLauncher(DialogLauncher* dialogs) { dialogs_ = dialogs; }
  // Opens the sound card's mixer once the host exists; without one the
  // mixer panel has nothing to turn.
  using MixerOpener = std::function<std::unique_ptr<MixerDevice>(WindowHost&)>;
  void SetMixerOpener(MixerOpener open) { open_mixer_ = std::move(open); }

  // Start-up from the work area on, once the host exists. The host must
  // outlive this window.
  void Start(WindowHost& host, const std::string& command_line);
  void HandleMessage(const Message& message);
  // The orderly end: play order saved, OnExit applied, settings written,
  // resources released, loop ended.
  void Destroy();

  // WindowClient
  const Surface& surface() const override { return surface_; }
  void OnTimer(int id) override;
  void OnCloseRequest() override { Destroy(); }
  void OnShowStateChanged(ShowState state) override;
  bool OnMouse(const MouseEvent& event) override;

  // DialogOwner
  Settings& PlayerSettings() override { return s_.settings; }
  void SelectSkin(const std::string& name) override;
  void ApplyPreferences(const Settings& edited) override;
  void SaveSettings() override;
  int CdDriveCount() const override { return monitor_.drive_list().count(); }
  const DataFolder& PlayerFolder() const override { return s_.folder; }
  CddbActions CddbSettingsActions() override;
  DatabaseActions DatabaseSheetActions() override;

  // The settings a worker takes with it: a copy, with this run's choices.
  Settings WorkerSettings() const;

  bool destroyed() const { return destroyed_; }
  LayoutMode layout() const { return layout_; }
  PlaybackMonitor& monitor() { return monitor_; }
  CdState* cd_state() { return monitor_.cd(); }
  PlayOrderList* play_order() { return monitor_.play_order(); }
  const CommandTable& commands() const { return commands_; }
  const Shown& shown() const { return shown_; }
  ControlStrip* control_strip() const { return strip_; }
  PositionSlider* slider() const { return slider_; }
  WindowHost* child_host(WindowId id) const;
  std::binary_semaphore& query_lock() { return query_lock_; }
  const SkinSet& skin() const { return skin_; }
  TextDisplay* text_display() { return text_.get(); }
  IdleAnimation* idle_animation() { return idle_.get(); }
  TrackBoxWindow* track_box() const { return tracks_; }

 private:
  struct Child {
    WindowId id;
    std::unique_ptr<ChildWindow> window;
    std::unique_ptr<WindowHost> host;
  };

  // PlayerView (main_window_view.cpp).
  void ShowTitleLine(const OptText& text) override;
  void ShowTrackLine(const OptText& text) override;
  void SetShadeLine(ShadeLine line) override;
  void ShowTimer(int32_t seconds, bool lit) override;
  void ShowSlider(int percent, bool forced) override;
  void ShowModeIndicators() override;
  void ShowStatusWord(int code) override;
  void SetCaption(const std::string& text) override;
  void SetTrayTip(const std::string& text) override;
  void SetTrayPicture(TrayPicture picture) override;
  void ShowTrackBox(bool shown) override;
  void RedrawTrackBox() override;
  void SetIdleAnimation(bool running) override;
  void StartTimer(PlayerTimer timer) override;
  void StopTimer(PlayerTimer timer) override;
  void RequestExit() override;

  // The command table and the menus (main_window_commands.cpp).
  void BuildCommands();
  bool HasDialog(Dialog dialog) const;
  void OpenDialog(Dialog dialog, int page = 0);
  int QueryCachedDiscs();
  // The CDDB workers (main_window_cddb.cpp).
  CddbWorkers::WindowSide CddbWindowSide();
  void StartCddbQuery(CdState& state, std::optional<ServerEntry> server = std::nullopt);
  void StartCachedPass(std::function<void(int cached)> counted);
  void SubmitDisc();
  // Sends an entry text, its revision already raised.
  void SubmitEntry(std::string entry);
  void ShowMenu(Menu menu, Point screen, uint32_t message = kMsgCommand);
  void ShowQuickTrackMenu(Point screen);
  void ShowMainMenu(Point screen);
  void ShowSystemMenu();

  // The skinned window for each child place; null for an id that is no
  // child place (main_window_children.cpp).
  std::unique_ptr<ChildWindow> MakeChild(WindowId id);
  void ShowMixerPanel(bool shown);
  Point ClientToScreen(Point client) const;

  // The main window's own mouse regions (main_window_mouse.cpp).
  bool OnLeftPress(const MouseEvent& event);
  void OnLeftRelease(Point at);
  bool OnRightPress(const MouseEvent& event);
  bool OnDoubleClick(Point at);
  void MoveWindow(Point screen);

  void ApplyStartState(int state);
  void ApplyLayout(LayoutMode mode);
  // The host's scale from WindowScale.
  void ApplyScale();
  void ApplyIconType(int old_icon_type);
  void Paint();
  void DrawTimerDigits();
  void DrawTimerNow(int32_t seconds, bool lit);
  void DrawIndicators();
  void DrawStatusWordNow();
  void DrawTitleButtonsPressed(TitleButtonsPressed pressed);
  void LoadDisc(int64_t reason);
  void HandleCommand(int64_t command, int64_t param);
  void HandleSysCommand(int64_t command);
  void ToggleAlwaysOnTop();
  void Trace(const std::string& text) const;
  void ReleaseResources();

  Services s_;
  DialogLauncher* dialogs_ = nullptr;
  WindowHost* host_ = nullptr;
  Surface surface_;
  SkinSet skin_;
  // After the surface they draw into, so they end before it goes.
  std::unique_ptr<TextDisplay> text_;
  std::unique_ptr<ScrollThread> title_scroller_;
  std::unique_ptr<ScrollThread> track_scroller_;
  std::unique_ptr<IdleAnimation> idle_;
  MixerOpener open_mixer_;
  // Before the children, which use it until they go.
  std::unique_ptr<Mixer> mixer_;
  MixerPanel* mixer_panel_ = nullptr;
  std::vector<Child> children_;
  // Owned by children_.
  ControlStrip* strip_ = nullptr;
  PositionSlider* slider_ = nullptr;
  // The track box among the children; the monitor's requests go to it.
  TrackBoxWindow* tracks_ = nullptr;
  PlayerLookup lookup_;
  PlaybackMonitor monitor_;
  CommandTable commands_;
  Shown shown_;
  LayoutMode layout_ = LayoutMode::kFull;
  TitleButtonsPressed title_buttons_;
  // Where the window was taken hold of while it is being moved, in screen
  // pixels from its top-left corner.
  std::optional<Point> grab_;
  bool destroyed_ = false;
  // "/netlog": the network log is written for this run, the setting kept.
  bool net_log_for_run_ = false;
  // One CDDB query, cached pass or submission at a time.
  std::binary_semaphore query_lock_{1};
  // After what its workers use, so that they end first.
  std::unique_ptr<CddbWorkers> cddb_;
};

}  // namespace zcd
