#include "app/main_window.h"
#include "app/menus.h"
#include "base/command_ids.h"

// The main window's commands as one table, and the menus that offer them.
namespace zcd {
namespace {

inline constexpr int kCddbSubmittingPage = 3;
inline constexpr int64_t kSubmittingRequest = 11;

// TimerType of each timer-menu command.
int TimerTypeOf(int64_t command) {
  switch (command) {
    case kCmdTimerTrackRemaining:
      return 2;
    case kCmdTimerCdElapsed:
      return 1;
    case kCmdTimerCdRemaining:
      return 3;
    default:
      return 0;
  }
}

}  // namespace

void MainWindow::BuildCommands() {
  using Id = int64_t;
  CommandTable& table = commands_;
  PlaybackMonitor& monitor = monitor_;
  const auto done = [](auto action) {
    return [action](Id, int64_t) {
      action();
      return 0;
    };
  };
  const auto transport = [&](Transport command) {
    return done([&monitor, command] { monitor.Run(command); });
  };
  const auto with_disc = [&monitor](Id) { return monitor.disc_loaded(); };
  const auto dialog = [this](Dialog which) {
    return [this, which](Id, int64_t param) {
      OpenDialog(which, which == Dialog::kCddbSettings && param == kSubmittingRequest
                            ? kCddbSubmittingPage
                            : 0);
      return 0;
    };
  };
  const auto has_dialog = [this](Dialog which) {
    return [this, which](Id) { return HasDialog(which); };
  };

  table.Add({kCmdPlay, kCmdPlayKey}, transport(Transport::kPlay));
  table.Add({kCmdPause, kCmdPauseKey}, transport(Transport::kPause), {},
            [&monitor](Id) { return monitor.paused(); });
  table.Add({kCmdStop, kCmdStopKey}, transport(Transport::kStop));
  table.Add({kCmdEject, kCmdEjectKey}, transport(Transport::kEject));
  table.Add({kCmdNextTrack, kCmdNextTrackKey}, transport(Transport::kTrackForward));
  table.Add({kCmdPrevTrack, kCmdPrevTrackKey}, transport(Transport::kTrackBack));
  table.Add({kCmdExit, kCmdExitAlt}, done([this] { Destroy(); }));
  table.Add({kCmdRestore}, done([this] { host_->Show(ShowState::kNormal); }));
  table.Add({kCmdAlwaysOnTop, kCmdAlwaysOnTopKey}, done([this] { ToggleAlwaysOnTop(); }), {},
            [this](Id) { return s_.settings.AlwaysOnTop != 0; });
  table.Add({kCmdToggleLayout, kCmdToggleLayoutKey}, done([this] {
              ApplyLayout(layout_ == LayoutMode::kFull ? LayoutMode::kShade : LayoutMode::kFull);
            }),
            {}, [this](Id) { return layout_ == LayoutMode::kShade; });
  table.Add({kCmdDoubleSize}, done([this] {
              s_.settings.WindowScale = s_.settings.WindowScale == 2 ? 0 : 2;
              ApplyScale();
            }),
            {}, [this](Id) { return s_.settings.WindowScale == 2; });
  table.Add({kCmdInvertRemoved}, done([&monitor] { monitor.InvertRemoved(); }), with_disc);
  table.Add(
      kCmdTimerTrackElapsed, kCmdTimerCdRemaining,
      [&monitor](Id id, int64_t) {
        monitor.SetTimerType(TimerTypeOf(id));
        return 0;
      },
      {}, [this](Id id) { return s_.settings.TimerType == TimerTypeOf(id); });
  table.Add(
      kCmdDriveBase, kCmdDriveBase + kDriveIndexCount - 1,
      [&monitor](Id id, int64_t) {
        monitor.ChangeDrive(static_cast<int>(id - kCmdDriveBase));
        return 0;
      },
      {}, [&monitor](Id id) { return id - kCmdDriveBase == monitor.current_drive(); });
  table.Add(
      kCmdEntryBase, kCmdEntryBase + kMaxPlayOrderEntries - 1,
      [&monitor](Id id, int64_t) {
        monitor.PlayEntry(static_cast<int>(id - kCmdEntryBase));
        return 0;
      },
      [&monitor](Id id) {
        const PlayOrderList* order = monitor.play_order();
        const int index = static_cast<int>(id - kCmdEntryBase);
        return monitor.disc_loaded() && order && index < order->EntryCount() &&
               !order->EntryRemoved(index);
      },
      [&monitor](Id id) {
        return monitor.playing() && monitor.current_entry() == id - kCmdEntryBase;
      });

  table.Add({kCmdInfo}, dialog(Dialog::kInformation), has_dialog(Dialog::kInformation));
  table.Add({kCmdPreferences, kCmdPreferencesKey}, dialog(Dialog::kPreferences),
            has_dialog(Dialog::kPreferences));
  table.Add({kCmdCddbSettings, kCmdCddbSettingsKey}, dialog(Dialog::kCddbSettings),
            has_dialog(Dialog::kCddbSettings));
  table.Add({kCmdDatabase, kCmdDatabaseKey}, dialog(Dialog::kDatabase),
            has_dialog(Dialog::kDatabase));
  table.Add({kCmdExtendedInfo, kCmdExtendedInfoKey}, dialog(Dialog::kExtendedInfo),
            has_dialog(Dialog::kExtendedInfo));
  table.Add({kCmdSkins, kCmdSkinsKey}, dialog(Dialog::kSkins), has_dialog(Dialog::kSkins));

  table.Add({kCmdQueryCddb, kCmdQueryCddbKey},
            done([this, &monitor] { lookup_.StartCddbQuery(*monitor.cd()); }), with_disc);
  table.Add({kCmdSubmit}, done([this] { SubmitDisc(); }), with_disc);
  table.Add({kCmdQueryCached}, [this](Id, int64_t) { return QueryCachedDiscs(); });
}

bool MainWindow::HasDialog(Dialog dialog) const {
  return dialogs_ != nullptr && dialogs_->Available(dialog);
}

void MainWindow::OpenDialog(Dialog dialog, int page) {
  if (HasDialog(dialog))
    dialogs_->Open(dialog, page);
}

Point MainWindow::ClientToScreen(Point client) const {
  const Rect window = host_->Geometry();
  const int scale = host_->Scale();
  return {window.x + (kMainBorder + client.x) * scale, window.y + (kMainBorder + client.y) * scale};
}

void MainWindow::ShowMenu(Menu menu, Point screen, uint32_t message) {
  commands_.ApplyTo(menu);
  // The host has no skin of its own; submenus show no banner.
  for (MenuItem& item : menu) {
    if (item.kind == MenuItem::Kind::kGraphic)
      item.sheet = skin_.Shared(SkinFile::kMenugraphic);
  }
  if (const std::optional<int64_t> chosen = host_->PopupMenu(menu, screen))
    s_.queue.Post({WindowId::kMain, message, *chosen, 0});
}

void MainWindow::ShowQuickTrackMenu(Point screen) {
  if (const PlayOrderList* order = monitor_.play_order()) {
    ShowMenu(
        BuildQuickTrackMenu(*order, s_.settings.QTTimes != 0,
                            [this](const std::string& text) { return host_->MenuTextWidth(text); }),
        screen);
  }
}

void MainWindow::ShowMainMenu(Point screen) {
  ShowMenu(BuildMainMenu(BuildDriveMenu(monitor_.drive_list())), screen);
}

void MainWindow::ShowSystemMenu() {
  std::optional<Menu> quick_track;
  if (const PlayOrderList* order = monitor_.play_order(); order && monitor_.disc_loaded()) {
    quick_track =
        BuildQuickTrackMenu(*order, s_.settings.QTTimes != 0,
                            [this](const std::string& text) { return host_->MenuTextWidth(text); });
  }
  ShowMenu(BuildSystemMenu(std::move(quick_track), host_->State() == ShowState::kMinimized),
           ClientToScreen({0, kTitleStrip.y + kTitleStrip.h}), kMsgSysCommand);
}

}  // namespace zcd
