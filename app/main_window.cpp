#include "app/main_window.h"

#include <algorithm>

#include "app/command_line.h"
#include "app/preference_fields.h"
#include "app/settings_file.h"
#include "app/track_box_window.h"
#include "base/command_ids.h"
#include "base/message_names.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"

namespace zcd {
namespace {

TextSkin TextSkinOf(const SkinSet& skin) {
  return {skin.Shared(SkinFile::kCharset), skin.Shared(SkinFile::kNumberset),
          skin.Shared(SkinFile::kBody), skin.Shared(SkinFile::kWinshade)};
}

// Screen pixels per skin pixel. Following the screen needs nothing of our
// own: the desktop's pixel ratio already enlarges every window.
int WindowScaleOf(const Settings& settings) {
  return settings.WindowScale == 2 ? 2 : 1;
}

// The own main window as the command line's target.
class LocalTarget : public CommandTarget {
 public:
  LocalTarget(Settings& settings, MessageQueue& queue, WindowHost& host, bool& net_log)
      : settings_(settings), queue_(queue), host_(host), net_log_(net_log) {}
  int CurrentDrive() const override { return settings_.UseDrive; }
  void Post(const Message& message) override { queue_.Post(message); }
  void Minimize() override { host_.Show(ShowState::kMinimized); }
  void Restore() override { host_.Show(ShowState::kNormal); }
  // For this run only: the setting in the file stays as the user chose it.
  void EnableNetLogging() override { net_log_ = true; }

 private:
  Settings& settings_;
  MessageQueue& queue_;
  WindowHost& host_;
  bool& net_log_;
};

}  // namespace

MainWindow::MainWindow(Services services)
    : s_(std::move(services)),
      surface_(kClientWidth, ClientHeight(LayoutMode::kFull)),
      lookup_(s_.folder, {[this](int code) { monitor_.CddbStatus(code); },
                          [this] {
                            host_->ShowMessageBox(kDbWriteErrorText, kAppCaption,
                                                  MessageBoxStyle::kExclamation,
                                                  MessageBoxButtons::kOk);
                          },
                          [this](const std::string& text) { Trace(text); },
                          [this](CdState& state) { StartCddbQuery(state); }}),
      monitor_({s_.settings, s_.drives, *this, lookup_,
                [&queue = s_.queue](const Message& message) { queue.Post(message); },
                s_.folder.database_path()}) {
  cddb_ = std::make_unique<CddbWorkers>(s_.queue, query_lock_, s_.folder.database_path(),
                                        s_.folder.data_dir, CddbWindowSide());
  BuildCommands();
}

MainWindow::~MainWindow() {
  ReleaseResources();
  // Children go before the host they live in.
  children_.clear();
}

void MainWindow::Start(WindowHost& host, const std::string& command_line) {
  host_ = &host;
  const Settings& settings = s_.settings;
  skin_ = LoadSkin(settings.SkinFolder, settings.SkinName);
  text_ = std::make_unique<TextDisplay>(surface_, host, TextSkinOf(skin_));
  text_->SetNameScrolling(settings.NameScrolling);
  title_scroller_ = std::make_unique<ScrollThread>(*text_, TextLine::kTitleLine);
  track_scroller_ = std::make_unique<ScrollThread>(*text_, TextLine::kTrackLine);
  idle_ = std::make_unique<IdleAnimation>(surface_, host);
  // Positions in the file are relative to the work area.
  const Rect work = host.WorkArea();
  host.SetCaption("ZCD");
  host.SetScale(WindowScaleOf(settings));
  host.SetGeometry(
      {settings.xWinPos + work.x, settings.yWinPos + work.y, kMainWidth, kMainFullHeight});

  mixer_ = std::make_unique<Mixer>(open_mixer_ ? open_mixer_(host) : nullptr);
  for (const ChildPlacement& placement : kChildPlacements) {
    const WindowId id = placement.id;
    std::unique_ptr<ChildWindow> window = MakeChild(id);
    if (!window)
      continue;
    window->SetLayout(LayoutMode::kFull, placement.full);
    std::unique_ptr<WindowHost> child = host.CreateChild(*window, placement.full);
    window->Attach(*child);
    children_.push_back({id, std::move(window), std::move(child)});
  }

  monitor_.Start();
  // Without the taskbar bit the window stays off the taskbar.
  if ((settings.IconType & kIconTaskbar) == 0)
    host.SetToolWindow(true);
  ApplyStartState(settings.StartWinState);
  for (const ChildPlacement& placement : kChildPlacements) {
    if (WindowHost* child = child_host(placement.id)) {
      const bool shown =
          placement.shown_at_start && (layout_ == LayoutMode::kFull || placement.shade.has_value());
      child->Show(shown ? ShowState::kNormal : ShowState::kHidden);
    }
  }

  s_.queue.Post({WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadStartup});
  LocalTarget target(s_.settings, s_.queue, host, net_log_for_run_);
  ParseCommandLine(target, command_line, false);
}

WindowHost* MainWindow::child_host(WindowId id) const {
  for (const Child& child : children_) {
    if (child.id == id)
      return child.host.get();
  }
  return nullptr;
}

void MainWindow::ApplyStartState(int state) {
  const bool shade = state == 3 || state == 6 || state == 7;
  ApplyLayout(shade ? LayoutMode::kShade : LayoutMode::kFull);
  if (s_.settings.AlwaysOnTop != 0)
    host_->SetTopmost(true);
  const bool minimized = state == 2 || state == 5 || state == 7;
  // A stored 0 can only come from an edited file: show the window normally.
  host_->Show(minimized ? ShowState::kMinimized : ShowState::kNormal);
  // A saved state is used once; the setting goes back to "as at exit".
  if (state > 3)
    s_.settings.StartWinState = 0;
}

void MainWindow::ApplyLayout(LayoutMode mode) {
  // The bar has no room for the sprite, and it stays away on return.
  if (mode == LayoutMode::kShade)
    idle_->Stop();
  const Rect main = host_->Geometry();
  const Rect work = host_->WorkArea();
  const int scale = host_->Scale();
  // A window resting on the bottom of the work area stays there.
  const bool docked = main.y + main.h * scale == work.y + work.h && layout_ != mode;
  layout_ = mode;
  const int height = MainHeight(mode);
  host_->SetGeometry(
      {main.x, docked ? work.y + work.h - height * scale : main.y, kMainWidth, height});
  {
    std::lock_guard drawing(surface_.lock());
    surface_ = Surface(kClientWidth, ClientHeight(mode));
  }
  text_->SetLayout(mode);
  text_->SetShadeLineChoice(monitor_.shade_line() == ShadeLine::kTrack ? TextLine::kTrackLine
                                                                       : TextLine::kTitleLine);
  for (Child& child : children_) {
    const ChildPlacement* placement = nullptr;
    for (const ChildPlacement& p : kChildPlacements) {
      if (p.id == child.id)
        placement = &p;
    }
    const Rect rect =
        mode == LayoutMode::kFull ? placement->full : placement->shade.value_or(placement->full);
    child.host->SetGeometry(rect);
    child.window->SetLayout(mode, rect);
    // The slider has no place in the bar; it comes back with full mode.
    if (child.id == WindowId::kSlider)
      child.host->Show(mode == LayoutMode::kFull ? ShowState::kNormal : ShowState::kHidden);
  }
  Paint();
}

void MainWindow::ApplyScale() {
  const int old_scale = host_->Scale();
  host_->SetScale(WindowScaleOf(s_.settings));
  const int scale = host_->Scale();
  if (scale == old_scale)
    return;
  const Rect main = host_->Geometry();
  const Rect work = host_->WorkArea();
  const int right = work.x + work.w;
  const int bottom = work.y + work.h;
  int x = main.x;
  int y = main.y;
  // A window resting on the bottom of the work area stays there; one that
  // grows past the right or the bottom is pulled back, never past the left
  // or the top.
  if (main.y + main.h * old_scale == bottom)
    y = bottom - main.h * scale;
  if (scale > old_scale) {
    x = std::max(std::min(x, right - main.w * scale), std::min(main.x, work.x));
    y = std::max(std::min(y, bottom - main.h * scale), std::min(main.y, work.y));
  }
  host_->SetGeometry({x, y, main.w, main.h});
}

void MainWindow::SelectSkin(const std::string& name) {
  if (destroyed_ || host_ == nullptr)
    return;
  Settings& settings = s_.settings;
  settings.SkinName = name;
  // Files are read before the lines' guards are taken; the swap is quick.
  skin_ = LoadSkin(settings.SkinFolder, settings.SkinName);
  text_->SetSkin(TextSkinOf(skin_));
  // The sprite is drawn from the skin too: it stops before the repaint, so
  // no frame of the old skin lands on the new picture, and starts again.
  const bool bouncing = idle_->running();
  idle_->Stop();
  Paint();
  if (bouncing)
    SetIdleAnimation(true);
}

void MainWindow::ApplyPreferences(const Settings& edited) {
  Settings& settings = s_.settings;
  const Settings old = settings;
  CopyPreferenceFields(edited, settings);
  if (settings.NameScrolling != old.NameScrolling)
    text_->SetNameScrolling(settings.NameScrolling);
  if (settings.IconType != old.IconType)
    ApplyIconType(old.IconType);
  if (settings.IgnoreSec != old.IgnoreSec)
    monitor_.RebuildPlayOrder();
  if (settings.XData != old.XData && monitor_.play_order())
    RedrawTrackBox();
  // The drive is opened anew, so the next play takes the new way.
  if (settings.DigitalPlayback != old.DigitalPlayback && s_.route_sound) {
    s_.route_sound(settings.DigitalPlayback != 0);
    monitor_.ReopenDrive();
  }
}

void MainWindow::ApplyIconType(int old_icon_type) {
  const int icon_type = s_.settings.IconType;
  if ((icon_type & kIconTaskbar) == (old_icon_type & kIconTaskbar))
    return;
  const bool taskbar = (icon_type & kIconTaskbar) != 0;
  host_->SetToolWindow(!taskbar);
  host_->Show(ShowState::kNormal);
}

// The window's place is read now, not kept in the settings while the
// player runs, so the file always gets where the window really is.
void MainWindow::SaveSettings() {
  // The log's first start may have chosen the default file.
  if (s_.settings.LogFile.empty())
    s_.settings.LogFile = cddb_->log().log_file();
  Settings settings = s_.settings;
  const Rect work = host_->WorkArea();
  const Rect where = host_->Geometry();
  settings.xWinPos = where.x - work.x;
  settings.yWinPos = where.y - work.y;
  s_.settings.xWinPos = settings.xWinPos;
  s_.settings.yWinPos = settings.yWinPos;
  const std::string error = WriteSettings(settings, s_.folder.ini_path(), s_.folder.data_dir);
  if (!error.empty()) {
    host_->ShowMessageBox(error, kAppCaption, MessageBoxStyle::kExclamation,
                          MessageBoxButtons::kOk);
  }
}

Settings MainWindow::WorkerSettings() const {
  Settings copy = s_.settings;
  if (net_log_for_run_)
    copy.NetLogging = 1;
  return copy;
}

void MainWindow::Trace(const std::string& text) const {
  if (s_.trace)
    s_.trace(text);
}

void MainWindow::HandleMessage(const Message& message) {
  if (destroyed_)
    return;
  if (s_.trace)
    Trace("message " + DescribeMessage(message));
  switch (message.id) {
    case kMsgCommand:
      HandleCommand(message.wparam, message.lparam);
      break;
    case kMsgSysCommand:
      HandleSysCommand(message.wparam);
      break;
    case kMsgPlayer:
      if (message.wparam == kPlayerLoadDisc)
        LoadDisc(message.lparam);
      else if (message.wparam == kPlayerCddbStatus)
        monitor_.CddbStatus(static_cast<int>(message.lparam));
      else if (message.wparam == kPlayerWindowCall)
        cddb_->RunWindowCall(message.lparam);
      break;
    case kMsgDeviceNotice:
      if (message.wparam == kNoticeSuccessful)
        monitor_.PlayEndNotice(message.lparam);
      break;
    case kMsgTransport:
      if (message.wparam >= 0 && message.wparam <= static_cast<int64_t>(Transport::kPlay))
        monitor_.Run(static_cast<Transport>(message.wparam));
      break;
    case kMsgPlayEntry:
      if (tracks_ != nullptr)
        tracks_->PlayEntry(static_cast<int>(message.wparam));
      break;
    case kMsgPlayTrack:
      if (tracks_ != nullptr)
        tracks_->PlayTrack(static_cast<int>(message.wparam));
      break;
    default:
      break;
  }
}

void MainWindow::LoadDisc(int64_t reason) {
  monitor_.LoadDisc(reason);
  if (!s_.trace || monitor_.cd() == nullptr)
    return;
  const DiscRecord& disc = monitor_.cd()->disc();
  if (monitor_.disc_loaded())
    Trace("disc loaded: " + DiscIdText(ComputeCddbDiscId(disc.Timing())));
  else
    Trace("disc load: " + disc.DiscTitle().value_or(""));
}

void MainWindow::HandleCommand(int64_t command, int64_t param) {
  if (!commands_.Run(command, param) && !commands_.Known(command))
    Trace("no such command: " + std::to_string(command));
}

void MainWindow::HandleSysCommand(int64_t command) {
  switch (command) {
    case kSysMinimize:
      host_->Show(ShowState::kMinimized);
      break;
    case kSysRestore:
      host_->Show(ShowState::kNormal);
      break;
    case kSysClose:
      Destroy();
      break;
    case kSysKeyMenu:
      ShowSystemMenu();
      break;
    case kSysPreferences:
      OpenDialog(Dialog::kPreferences);
      break;
    default:
      if (command >= kCmdEntryBase)
        commands_.Run(command);
      break;
  }
}

void MainWindow::OnTimer(int id) {
  if (id == SpecOf(PlayerTimer::kDrivePoll).id)
    monitor_.DrivePoll();
  else if (id == SpecOf(PlayerTimer::kPlaybackTick).id)
    monitor_.PlaybackTick();
  else if (id == SpecOf(PlayerTimer::kDisplayRestore).id)
    monitor_.DisplayRestore();
}

// A player that lives in the tray alone leaves the desktop when minimized.
void MainWindow::OnShowStateChanged(ShowState state) {
  const int icon_type = s_.settings.IconType;
  if (state == ShowState::kMinimized && (icon_type & kIconTray) && !(icon_type & kIconTaskbar))
    host_->Show(ShowState::kHidden);
}

void MainWindow::ToggleAlwaysOnTop() {
  Settings& settings = s_.settings;
  // 8 is the menu's check-mark value, kept so the file reads as before.
  settings.AlwaysOnTop = settings.AlwaysOnTop != 0 ? 0 : 8;
  host_->SetTopmost(settings.AlwaysOnTop != 0);
}

void MainWindow::Destroy() {
  if (destroyed_ || host_ == nullptr)
    return;
  destroyed_ = true;
  // Workers end first: nothing they would still write is left half done.
  cddb_->StopAll();
  Settings& settings = s_.settings;
  StopTimer(PlayerTimer::kDrivePoll);
  monitor_.Finish();
  if (settings.StartWinState == 0) {
    const bool minimized = host_->State() == ShowState::kMinimized;
    settings.StartWinState = (layout_ == LayoutMode::kFull ? 4 : 6) + (minimized ? 1 : 0);
  }
  SaveSettings();
  ReleaseResources();
  host_->Quit(0);
}

void MainWindow::ReleaseResources() {
  // Drawing threads end before anything they draw from goes away.
  idle_.reset();
  track_scroller_.reset();
  title_scroller_.reset();
  monitor_.Release();
}

}  // namespace zcd
