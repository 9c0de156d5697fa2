// The CD Library page at collection scale, under the offscreen platform:
// how long after Refresh the tree shows 10k, 100k and 1M discs, the longest
// time the window thread did not answer meanwhile, the filter's answer at
// 100k and 1M, and a delete at 1M. Targets: 100k shown in 1 s, 1M in 3 s,
// the filter within 100 ms at 100k, no stall over 100 ms.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QThread>
#include <QTimer>
#include <QTreeView>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "db_generator.h"
#include "discdb/ui/library_model.h"
#include "discdb/ui/library_page.h"

namespace zcd::bench {
namespace {

// The longest gap between ticks of a 5 ms timer while `until` is false.
struct StallMeter {
  QTimer timer;
  QElapsedTimer since;
  qint64 longest = 0;
  StallMeter() {
    timer.setInterval(5);
    QObject::connect(&timer, &QTimer::timeout,
                     [this] { longest = std::max(longest, since.restart()); });
  }
  void Start() {
    longest = 0;
    since.start();
    timer.start();
  }
  qint64 Stop() {
    timer.stop();
    return std::max(longest, since.elapsed());
  }
};

void RunUntil(const std::function<bool()>& done) {
  while (!done())
    QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
}

void Fill(size_t entries, const std::string& db) {
  DatabaseActions actions;
  actions.db_path = db;
  auto owned = std::make_unique<LibraryPage>(actions, Settings{});
  LibraryPage& page = *owned;
  page.resize(640, 480);
  page.show();
  StallMeter stall;
  QElapsedTimer clock;
  clock.start();
  stall.Start();
  page.Activated();
  RunUntil([&] { return !page.filling(); });
  page.tree()->viewport()->repaint();  // the rows in view are drawn
  const qint64 shown = clock.elapsed();
  const qint64 longest = stall.Stop();
  std::printf("%8zu discs: shown after %5lld ms, window thread stalled at most %4lld ms\n", entries,
              static_cast<long long>(shown), static_cast<long long>(longest));

  if (entries < 100'000)
    return;
  auto* filter = page.findChildren<QLineEdit*>()[0];
  stall.Start();
  clock.restart();
  filter->setText("river of gl");
  RunUntil([&] { return !page.filling(); });
  page.tree()->viewport()->repaint();
  const qint64 filtered = clock.elapsed();
  std::printf("%8zu discs: filter answered in %5lld ms (%d groups), stalled at most %4lld ms\n",
              entries, static_cast<long long>(filtered), page.tree()->model()->rowCount(),
              static_cast<long long>(stall.Stop()));
  filter->clear();
  RunUntil([&] { return !page.filling(); });

  // Refresh replaces a whole index, which then goes.
  stall.Start();
  clock.restart();
  page.Refresh();
  RunUntil([&] { return !page.filling(); });
  std::printf("%8zu discs: refreshed after %5lld ms, stalled at most %4lld ms\n", entries,
              static_cast<long long>(clock.elapsed()), static_cast<long long>(stall.Stop()));

  QThread::sleep(1);  // the replaced index is freed meanwhile
  clock.restart();
  owned.reset();
  std::printf("%8zu discs: the page went in %5lld ms\n", entries,
              static_cast<long long>(clock.elapsed()));
}

}  // namespace
}  // namespace zcd::bench

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  for (const size_t entries : {size_t{10'000}, size_t{100'000}, size_t{1'000'000}}) {
    const std::string db = zcd::bench::CachedDatabase(entries);
    if (db.empty()) {
      std::fprintf(stderr, "cannot make the database of %zu entries\n", entries);
      return 1;
    }
    zcd::bench::Fill(entries, db);
  }
  return 0;
}
