#include "app/main_window.h"

#include <algorithm>
#include <cstdio>

#include "app/command_line.h"
#include "app/settings_file.h"
#include "base/command_ids.h"
#include "base/message_names.h"
#include "cd/disc_lookup.h"
#include "discdb/database.h"
#include "discdb/disc_id.h"
#include "discdb/import_cdplayer_ini.h"
#include "skin/blit.h"

namespace zcd {
namespace {

TextSkin TextSkinOf(const SkinSet& skin) {
  return {skin.Shared(SkinFile::kCharset), skin.Shared(SkinFile::kNumberset),
          skin.Shared(SkinFile::kBody), skin.Shared(SkinFile::kWinshade)};
}

}  // namespace

// The own main window as the command line's target.
class MainWindow::LocalTarget : public CommandTarget {
 public:
  explicit LocalTarget(MainWindow& window) : window_(window) {}
  int CurrentDrive() const override { return window_.s_.settings.UseDrive; }
  void Post(const Message& message) override { window_.s_.queue.Post(message); }
  void Minimize() override { window_.host_->Show(ShowState::kMinimized); }
  void Restore() override { window_.host_->Show(ShowState::kNormal); }
  void EnableNetLogging() override { window_.s_.settings.NetLogging = 1; }

 private:
  MainWindow& window_;
};

// Where a new disc's information comes from besides the database.
class MainWindow::LookupHooks : public DiscLookupHooks {
 public:
  explicit LookupHooks(MainWindow& window) : window_(window) {}

  bool ImportCdPlayerIni(DiscRecord& record) override {
    const DataFolder& folder = window_.s_.folder;
    switch (
        zcd::ImportCdPlayerIni(record, folder.data_dir + "/cdplayer.ini", folder.database_path())) {
      case CdPlayerIniImport::kStored:
        return true;
      case CdPlayerIniImport::kNotStored:
        // The titles are there; only keeping them failed.
        ShowDbWriteError();
        return true;
      case CdPlayerIniImport::kNotFound:
        break;
    }
    return false;
  }
  // The network lookup plugs in here.
  void StartCddbQuery(CdState&) override { window_.Trace("cddb query requested"); }
  void SendCddbStatus(int code) override {
    window_.HandleMessage({WindowId::kMain, kMsgPlayer, kPlayerCddbStatus, code});
  }
  void ShowDbWriteError() override {
    window_.host_->ShowMessageBox(kDbWriteErrorText, kAppCaption, MessageBoxStyle::kExclamation,
                                  MessageBoxButtons::kOk);
  }

 private:
  MainWindow& window_;
};

MainWindow::MainWindow(Services services)
    : s_(std::move(services)),
      surface_(kClientWidth, ClientHeight(LayoutMode::kFull)),
      lookup_hooks_(std::make_unique<LookupHooks>(*this)) {}

MainWindow::~MainWindow() {
  ReleaseResources();
  // Children go before the host they live in.
  children_.clear();
}

std::unique_ptr<CdState> MainWindow::MakeCdState(int drive_index) {
  MessageQueue& queue = s_.queue;
  return std::make_unique<CdState>(s_.drives, drive_index, s_.settings.ShareCD != 0, [&queue] {
    queue.Post({WindowId::kMain, kMsgDeviceNotice, kNoticeSuccessful, 0});
  });
}

void MainWindow::Start(WindowHost& host, const std::string& command_line) {
  host_ = &host;
  Settings& settings = s_.settings;
  skin_ = LoadSkin(settings.SkinFolder, settings.SkinName);
  text_ = std::make_unique<TextDisplay>(surface_, host, TextSkinOf(skin_));
  text_->SetNameScrolling(settings.NameScrolling);
  title_scroller_ = std::make_unique<ScrollThread>(*text_, TextLine::kTitleLine);
  track_scroller_ = std::make_unique<ScrollThread>(*text_, TextLine::kTrackLine);
  idle_ = std::make_unique<IdleAnimation>(surface_, host);
  // Positions in the file are relative to the work area.
  const Rect work = host.WorkArea();
  settings.xWinPos += work.x;
  settings.yWinPos += work.y;
  host.SetCaption("ZCD");
  host.SetGeometry({settings.xWinPos, settings.yWinPos, kMainWidth, kMainFullHeight});

  for (const ChildPlacement& placement : kChildPlacements) {
    Child child{placement.id, std::make_unique<BlankWindow>(placement.full), nullptr};
    child.host = host.CreateChild(*child.window, placement.full);
    children_.push_back(std::move(child));
  }

  drive_list_ = ListCdDrives(s_.drives);
  const auto& found = drive_list_.indices;
  if (std::ranges::find(found, settings.UseDrive) == found.end() && !found.empty()) {
    settings.UseDrive = drive_list_.indices.front();
  }
  cd_ = MakeCdState(settings.UseDrive);

  // Without the taskbar bit the window stays off the taskbar.
  if ((settings.IconType & 2) == 0)
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
  LocalTarget target(*this);
  ParseCommandLine(target, command_line, false);
  host.SetTimer(kTimerDrivePoll, kDrivePollMs);
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
  layout_ = mode;
  const Rect main = host_->Geometry();
  host_->SetGeometry({main.x, main.y, kMainWidth, MainHeight(mode)});
  {
    std::lock_guard drawing(surface_.lock());
    surface_ = Surface(kClientWidth, ClientHeight(mode));
  }
  const bool playing = cd_ && cd_->playing;
  text_->SetLayout(mode);
  text_->SetShadeLineChoice(playing ? TextLine::kTrackLine : TextLine::kTitleLine);
  ShowDiscTitle();
  for (const ChildPlacement& placement : kChildPlacements) {
    WindowHost* child = child_host(placement.id);
    if (child == nullptr)
      continue;
    const Rect rect =
        mode == LayoutMode::kFull ? placement.full : placement.shade.value_or(placement.full);
    child->SetGeometry(rect);
    for (Child& c : children_) {
      if (c.id == placement.id)
        c.window->Resize(rect.w, rect.h);
    }
    // The slider has no place in the bar; it comes back with full mode.
    if (placement.id == WindowId::kSlider) {
      child->Show(mode == LayoutMode::kFull ? ShowState::kNormal : ShowState::kHidden);
    }
  }
  Paint();
}

void MainWindow::Paint() {
  const Bitmap& background =
      skin_[layout_ == LayoutMode::kFull ? SkinFile::kBody : SkinFile::kWinshade];
  {
    std::lock_guard drawing(surface_.lock());
    CopyBitmap(surface_, 0, 0, background);
  }
  for (Child& child : children_) {
    const Rect where = child.host->Geometry();
    child.window->ShowBackground(background, where);
    child.host->Invalidate({0, 0, where.w, where.h});
  }
  text_->Force(TextLine::kTitleLine);
  text_->Force(TextLine::kTrackLine);
  if (cd_ && cd_->playing)
    ShowTrackTitle();
  host_->Invalidate({0, 0, surface_.width(), surface_.height()});
}

void MainWindow::SelectSkin(const std::string& name) {
  if (destroyed_ || host_ == nullptr)
    return;
  Settings& settings = s_.settings;
  settings.SkinName = name;
  // Files are read before the lines' guards are taken; the swap is quick.
  skin_ = LoadSkin(settings.SkinFolder, settings.SkinName);
  text_->SetSkin(TextSkinOf(skin_));
  Paint();
  ShowDiscTitle();
  if (!cd_ || !cd_->playing)
    text_->SetLineText(TextLine::kTrackLine, std::nullopt);
  idle_->Stop();
}

void MainWindow::ShowDiscTitle() {
  text_->SetLineText(TextLine::kTitleLine, cd_ ? cd_->disc().DiscTitle() : std::nullopt);
  text_->Force(TextLine::kTitleLine);
}

void MainWindow::ShowTrackTitle() {
  if (!cd_ || !play_order_ || cd_->current_position < 0 ||
      cd_->current_position >= play_order_->EntryCount())
    return;
  const int track = play_order_->EntryTrack(cd_->current_position);
  text_->SetLineText(TextLine::kTrackLine, cd_->disc().TrackTitle(track - 1));
  text_->Force(TextLine::kTrackLine);
}

// The display of a player that is not playing: disc title only.
void MainWindow::ShowStopped() {
  text_->SetShadeLineChoice(TextLine::kTitleLine);
  text_->SetLineText(TextLine::kTrackLine, std::nullopt);
  text_->Force(TextLine::kTitleLine);
}

void MainWindow::StartIdleAnimation() {
  if (layout_ == LayoutMode::kFull)
    idle_->Start(s_.settings.SkinFolder, s_.settings.SkinName);
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
  if (message.target != WindowId::kMain)
    return;  // the child windows come with their skins
  switch (message.id) {
    case kMsgCommand:
      HandleCommand(message.wparam);
      break;
    case kMsgSysCommand:
      HandleSysCommand(message.wparam);
      break;
    case kMsgPlayer:
      if (message.wparam == kPlayerLoadDisc)
        LoadDisc(message.lparam);
      break;
    case kMsgDeviceNotice:
      if (message.wparam == kNoticeSuccessful)
        PlayEnded();
      break;
    default:
      break;
  }
}

void MainWindow::HandleSysCommand(int64_t command) {
  if (command == kSysMinimize)
    host_->Show(ShowState::kMinimized);
  if (command == kSysRestore)
    host_->Show(ShowState::kNormal);
}

void MainWindow::HandleCommand(int64_t command) {
  if (command >= kCmdDriveBase && command < kCmdDriveBase + kDriveIndexCount) {
    ChangeDrive(static_cast<int>(command - kCmdDriveBase));
    return;
  }
  switch (command) {
    case kCmdExit:
    case kCmdExitAlt:
      Destroy();
      break;
    case kCmdAlwaysOnTop:
    case kCmdAlwaysOnTopKey:
      ToggleAlwaysOnTop();
      break;
    case kCmdRestore:
      host_->Show(ShowState::kNormal);
      break;
    case kCmdToggleLayout:
    case kCmdToggleLayoutKey:
      ApplyLayout(layout_ == LayoutMode::kFull ? LayoutMode::kShade : LayoutMode::kFull);
      break;
    case kCmdPlay:
    case kCmdPlayKey:
      Play();
      break;
    case kCmdPause:
    case kCmdPauseKey:
      TogglePause();
      break;
    case kCmdStop:
    case kCmdStopKey:
      Stop();
      break;
    case kCmdEject:
    case kCmdEjectKey:
      Eject();
      break;
    case kCmdSkins:
    case kCmdSkinsKey:
      if (s_.open_skins_dialog)
        s_.open_skins_dialog();
      break;
    default:
      break;
  }
}

void MainWindow::ToggleAlwaysOnTop() {
  Settings& settings = s_.settings;
  // 8 is the menu's check-mark value, kept so the file reads as before.
  settings.AlwaysOnTop = settings.AlwaysOnTop != 0 ? 0 : 8;
  host_->SetTopmost(settings.AlwaysOnTop != 0);
}

// Plain transport through the play order until the transport strip and the
// playback monitor exist.
void MainWindow::Play() {
  if (!cd_ || !cd_->disc_loaded || !play_order_)
    return;
  if (cd_->paused) {
    TogglePause();
    return;
  }
  if (cd_->playing)
    return;
  const int first = play_order_->StepIndex(-1, true);
  if (first < 0)
    return;
  cd_->current_position = first;
  if (cd_->PlayFrom(first) == kResultOk) {
    cd_->playing = true;
    cd_->paused = false;
    text_->SetShadeLineChoice(TextLine::kTrackLine);
    ShowTrackTitle();
  }
}

// The end of one run: the entry after the run plays, or playback stops at
// the end of the play order.
void MainWindow::PlayEnded() {
  if (!cd_ || !cd_->playing || !play_order_)
    return;
  int last = cd_->current_position;
  if (const auto range = play_order_->RunRange(last)) {
    const int end = std::min(range->to, cd_->disc().TrackCount() + 1);
    for (int track = range->from + 1; track < end; ++track)
      last = play_order_->StepIndex(last, true);
  }
  const int next = play_order_->StepIndex(last, true);
  const bool repeat_all = (s_.settings.PlayType & kPlayTypeRepeatAll) != 0;
  if (next < 0 || (next <= last && !repeat_all)) {
    Stop();
    return;
  }
  cd_->current_position = next;
  if (cd_->PlayFrom(next) != kResultOk) {
    Stop();
    return;
  }
  ShowTrackTitle();
}

void MainWindow::TogglePause() {
  if (!cd_ || !cd_->playing)
    return;
  if (cd_->TogglePause() == kResultOk)
    cd_->paused = !cd_->paused;
}

void MainWindow::Stop() {
  if (!cd_)
    return;
  cd_->StopDevice();
  cd_->playing = false;
  cd_->paused = false;
  ShowStopped();
}

void MainWindow::Eject() {
  if (!cd_)
    return;
  SavePlayOrderIfAsked();
  cd_->playing = false;
  cd_->paused = false;
  ShowStopped();
  cd_->SetDoor(0);
}

void MainWindow::ChangeDrive(int drive_index) {
  Settings& settings = s_.settings;
  if (drive_index == settings.UseDrive)
    return;
  if (cd_ && (cd_->playing || cd_->paused))
    Stop();
  settings.UseDrive = drive_index;
  play_order_.reset();
  cd_.reset();
  cd_ = MakeCdState(drive_index);
  s_.queue.Post({WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadDriveChange});
}

void MainWindow::SetDiscCaption() {
  const OptText title = cd_->disc().DiscTitle();
  std::string caption = title ? "ZCD: " + *title : "ZCD";
  if (caption.size() > 100)
    caption.resize(100);
  host_->SetCaption(caption);
}

void MainWindow::LoadDisc(int64_t reason) {
  if (!cd_)
    return;
  HandleLoadResult(cd_->OpenDisc(), reason);
}

void MainWindow::HandleLoadResult(int code, int64_t reason) {
  CdState& cd = *cd_;
  const Settings& settings = s_.settings;
  if (code == kResultOk || code == kResultPlaying) {
    play_order_ = std::make_unique<PlayOrderList>(cd, settings);
    play_order_->BuildDefault();
    cd.disc_loaded = true;
    if (code == kResultPlaying)
      cd.playing = true;
    cd.door_open = false;
    LoadDiscInfo(*play_order_, settings, s_.folder.database_path(), *lookup_hooks_);
    if ((settings.PlayType & kPlayTypeShuffle) != 0) {
      play_order_->ReorderPlayOrder(settings.PlayType);
    }
    play_order_->StorePlayOrderSeconds();
    SetDiscCaption();
    idle_->Stop();
    ShowStopped();
    ShowDiscTitle();
    Trace("disc loaded: " + DiscIdText(ComputeCddbDiscId(cd.disc().Timing())));
    if (code == kResultPlaying) {
      play_order_->FollowDeviceTrack();
      // Playing again from here brings the end-of-play notice to us.
      if (settings.OnStart == 1) {
        Stop();
      } else {
        cd.PlayFrom(-1);
        text_->SetShadeLineChoice(TextLine::kTrackLine);
        ShowTrackTitle();
      }
    }
    const bool autoplay = (reason == kLoadStartup && settings.OnStart == 2) ||
                          (reason == kLoadInserted && settings.LoadPlay != 0);
    if (code == kResultOk && autoplay)
      Play();
    return;
  }
  if (code == kResultDriveEmpty) {
    ShowLoadFailure("drive empty");
    StartIdleAnimation();
    if (settings.EjectEmpty != 0)
      cd.SetDoor(kDoorForceOpen);
    return;
  }
  ShowLoadFailure(code == kResultOpenFailed     ? "can't open device"
                  : code == kResultStatusFailed ? "can't read cd"
                                                : "Doh! Unknown error");
}

void MainWindow::ShowLoadFailure(const char* title) {
  play_order_.reset();
  cd_->disc_loaded = false;
  cd_->door_open = false;
  cd_->disc().ClearDiscText();
  cd_->disc().SetDiscTitle(title);
  ShowStopped();
  ShowDiscTitle();
  Trace(std::string("disc load: ") + title);
}

void MainWindow::OnTimer(int id) {
  if (id == kTimerDrivePoll)
    DrivePoll();
}

void MainWindow::DrivePoll() {
  if (!cd_)
    return;
  const int mode = cd_->GetMode();
  if (mode == kResultOk && !cd_->disc_loaded) {
    s_.queue.Post({WindowId::kMain, kMsgPlayer, kPlayerLoadDisc, kLoadInserted});
  } else if (mode == kResultOk && cd_->playing && !cd_->paused) {
    // Playback ended without a notice.
    cd_->playing = false;
  } else if (mode == kResultDriveEmpty && cd_->disc_loaded) {
    SavePlayOrderIfAsked();
    cd_->disc_loaded = false;
    cd_->door_open = true;
    cd_->playing = false;
    cd_->paused = false;
    host_->SetCaption("ZCD");
    cd_->disc().ResetDisc();
    play_order_.reset();
    ShowStopped();
    ShowDiscTitle();
    Trace("disc removed");
    if (s_.settings.EjectQuit != 0) {
      Destroy();
      return;
    }
    StartIdleAnimation();
  }
}

void MainWindow::Destroy() {
  if (destroyed_ || host_ == nullptr)
    return;
  destroyed_ = true;
  Settings& settings = s_.settings;
  host_->KillTimer(kTimerDrivePoll);
  SavePlayOrderIfAsked();

  if (cd_) {
    switch (settings.OnExit) {
      case 0:
        // A plain play without notice keeps the drive playing after we are gone.
        if (cd_->playing && !cd_->paused)
          cd_->PlayFrom(-2);
        break;
      case 1:
        if (cd_->playing)
          cd_->StopDevice();
        break;
      case 2:
        if (cd_->disc_loaded)
          cd_->SetDoor(kDoorForceOpen);
        break;
      default:
        break;
    }
  }

  const bool minimized = host_->State() == ShowState::kMinimized;
  if (settings.StartWinState == 0) {
    settings.StartWinState = (layout_ == LayoutMode::kFull ? 4 : 6) + (minimized ? 1 : 0);
  }
  const Rect work = host_->WorkArea();
  const Rect where = host_->Geometry();
  settings.xWinPos = where.x - work.x;
  settings.yWinPos = where.y - work.y;
  const std::string error = WriteSettings(settings, s_.folder.ini_path(), s_.folder.data_dir);
  if (!error.empty()) {
    host_->ShowMessageBox(error, kAppCaption, MessageBoxStyle::kExclamation,
                          MessageBoxButtons::kOk);
  }
  ReleaseResources();
  host_->Quit(0);
}

void MainWindow::SavePlayOrderIfAsked() {
  if (!cd_ || !cd_->disc_loaded || !play_order_ || (s_.settings.PlayOrder & 2) == 0)
    return;
  if (SavePlayOrder(*play_order_, s_.folder.database_path()) == PlayOrderSave::kWriteFailed)
    lookup_hooks_->ShowDbWriteError();
}

void MainWindow::ReleaseResources() {
  // Drawing threads end before anything they draw from goes away.
  idle_.reset();
  track_scroller_.reset();
  title_scroller_.reset();
  play_order_.reset();
  if (cd_)
    cd_->disc().ResetDisc();
  cd_.reset();
}

}  // namespace zcd
