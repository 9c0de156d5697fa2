#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QPointer>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/data_folder.h"
#include "app/long_options.h"
#include "app/main_window.h"
#include "app/message_queue.h"
#include "app/settings_file.h"
#include "app/ui/qt_dialog_launcher.h"
#include "base/command_ids.h"
#include "platform/drive_table.h"
#include "platform/linux/alsa_mixer.h"
#include "platform/linux/instance_socket.h"
#include "platform/qt/key_commands.h"
#include "platform/qt/qt_window_host.h"
#include "platform/sound_route.h"
#include "platform/stream_volume_mixer.h"
#include "platform/virtual/clock.h"

namespace {

using namespace zcd;

// A second start's view of the running player: everything it asks for is
// collected and sent over. It has read no settings, so drive A counts as
// current; "/netlog" only concerns the second start itself.
class ForwardingTarget : public CommandTarget {
 public:
  int CurrentDrive() const override { return 0; }
  void Post(const Message& message) override { messages.push_back(message); }
  void Minimize() override {
    messages.push_back({WindowId::kMain, kMsgSysCommand, kSysMinimize, 0});
  }
  void Restore() override { messages.push_back({WindowId::kMain, kMsgSysCommand, kSysRestore, 0}); }
  void EnableNetLogging() override {}

  std::vector<Message> messages;
};

// SIGTERM and SIGINT end the player the orderly way, settings written.
int g_signal_pipe[2] = {-1, -1};

void OnSignal(int) {
  const char byte = 1;
  [[maybe_unused]] const ssize_t written = write(g_signal_pipe[1], &byte, 1);
}

void Warn(const std::string& text) {
  std::fprintf(stderr, "zcd: %s\n", text.c_str());
}

}  // namespace

int main(int argc, char** argv) {
  const LongOptions options = TakeLongOptions(std::vector<std::string>(argv + 1, argv + argc));
  if (!options.error.empty()) {
    Warn(options.error + " (see zcd --help)");
    return 2;
  }
  if (options.help) {
    std::fputs(UsageText().c_str(), stdout);
    return 0;
  }
  if (options.version) {
    std::printf("zcd %s\n", ZCD_VERSION);
    return 0;
  }

  const EnvLookup env = ProcessEnvironment();
  const DataFolder folder = LocateDataFolder(options.home, ExecutablePath(), env);
  std::string socket_error;
  const std::string socket_path =
      InstanceSocketPath(folder.data_dir, env("XDG_RUNTIME_DIR"), &socket_error);

  // Of any number of starts for this data folder exactly one becomes the
  // player; the others hand it their command line and end, with no display.
  std::unique_ptr<InstanceServer> server;
  if (!socket_path.empty()) {
    ForwardingTarget target;
    ParseCommandLine(target, options.rest, true);
    InstanceClaim claim = ClaimInstance(socket_path, target.messages);
    switch (claim.outcome) {
      case InstanceClaim::Outcome::kForwarded:
        return 0;
      case InstanceClaim::Outcome::kFailed:
        Warn(claim.error);
        return 1;
      case InstanceClaim::Outcome::kPlayer:
        server = std::move(claim.server);
        socket_error = claim.error;
        break;
    }
  }
  // Qt keeps runtime files too, and complains on every start without a
  // folder for them: give it the private one the socket lives in.
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    if (const std::string runtime = PrivateRuntimeFolder(std::nullopt, nullptr); !runtime.empty())
      qputenv("XDG_RUNTIME_DIR", runtime.c_str());
  }

  // The window is tiny and repaints a few thin strips a second; X shared
  // memory costs a round trip per repaint and saves nothing at this size.
  if (qEnvironmentVariableIsEmpty("QT_XCB_NO_MITSHM"))
    qputenv("QT_XCB_NO_MITSHM", "1");
  // A skin is pixel art: a screen ratio of 1.5 would show its pixels one
  // and two screen pixels wide by turns, so the ratio is rounded to whole
  // screen pixels (QT_SCALE_FACTOR_ROUNDING_POLICY still overrides this).
  QGuiApplication::setHighDpiScaleFactorRoundingPolicy(Qt::HighDpiScaleFactorRoundingPolicy::Round);
  QApplication app(argc, argv);
  std::vector<std::string> problems;
  if (const std::string error = CreateDataFolder(folder); !error.empty())
    problems.push_back(error);

  Settings settings = ReadSettings(folder.ini_path(), folder.data_dir, env);
  DriveTable drives("/dev", std::make_shared<SteadyClock>());
  for (const std::string& cue : options.virtual_drives) {
    const DriveTable::AddResult added = drives.AddVirtualDrive(cue);
    if (!added.index)
      problems.push_back(added.error);
  }

  // The CD volume and balance knobs turn this while discs play digitally.
  auto stream_gain = std::make_shared<StreamGain>();
  auto route_sound = [&drives, stream_gain](bool digital) {
    const std::string why = RouteSound(drives, digital, stream_gain);
    if (!why.empty())
      std::fprintf(stderr, "zcd: %s; CDs play through the drive\n", why.c_str());
  };
  route_sound(settings.DigitalPlayback != 0);

  MessageQueue queue;
  // The host is made first so it outlives the window and its children.
  QtWindowHost host;
  MainWindow::Services services{settings, folder, drives, queue, {}, route_sound};
  if (options.verbose) {
    services.trace = [](const std::string& text) {
      std::fprintf(stderr, "zcd: %s\n", text.c_str());
      std::fflush(stderr);
    };
  }
  MainWindow window(services);
  // Declared after the window, so it goes first; its dialogs belong to the
  // host's widget.
  QtDialogLauncher dialogs(window, host.widget());
  window.SetDialogLauncher(&dialogs);
  window.SetMixerOpener([&drives, stream_gain](WindowHost& window_host) {
    return std::make_unique<StreamVolumeMixer>(OpenAlsaMixer(window_host), stream_gain, window_host,
                                               [&drives] { return drives.digital(); });
  });
  host.set_client(&window);
  new KeyCommands(host.widget(), [&queue](const Message& message) { queue.Post(message); });

  QObject drainer;
  queue.SetWakeup([&queue, &window, &drainer] {
    QMetaObject::invokeMethod(
        &drainer,
        [&queue, &window] {
          queue.Drain([&window](const Message& m) { window.HandleMessage(m); });
        },
        Qt::QueuedConnection);
  });

  // Starts that came while the window was being made were held until now.
  if (server)
    server->DeliverTo([&queue](const Message& m) { queue.Post(m); });
  else
    problems.push_back("other starts cannot reach this player: " + socket_error);

  std::unique_ptr<QSocketNotifier> signal_notifier;
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, g_signal_pipe) == 0) {
    signal_notifier = std::make_unique<QSocketNotifier>(g_signal_pipe[0], QSocketNotifier::Read);
    QObject::connect(signal_notifier.get(), &QSocketNotifier::activated, [&queue] {
      char byte;
      [[maybe_unused]] const ssize_t got = read(g_signal_pipe[0], &byte, 1);
      queue.Post(CommandMessage(kCmdExit));
    });
    std::signal(SIGTERM, OnSignal);
    std::signal(SIGINT, OnSignal);
  }

  window.Start(host, options.rest);
  for (const std::string& problem : problems) {
    Warn(problem);
    host.ShowMessageBox(problem, kAppCaption, MessageBoxStyle::kExclamation,
                        MessageBoxButtons::kOk);
  }
  // The player may have been ended while a problem was on screen.
  const int exit_code = window.destroyed() ? 0 : app.exec();
  server.reset();
  return exit_code;
}
