#include "discdb/ui/extended_info_window.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "base/text.h"
#include "discdb/database.h"
#include "discdb/entry_text.h"
#include "discdb/ui/extended_text_view.h"
#include "platform/qt/background_job.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

constexpr int kFollowIntervalMs = 500;
constexpr int kMaxEntryTracks = 100;

constexpr char kLengthLabel[] = "Disc length:";
constexpr char kRevisionLabel[] = "Entry Revision:";
constexpr char kSubmitterLabel[] = "Submitted to CDDB via:";
constexpr char kDiscIdLabel[] = "Disc ID:";

std::string TrackKey(const char* prefix, int track) {
  return prefix + std::to_string(track) + "=";
}

}  // namespace

struct ExtendedInfoWindow::Controls {
  Context context;
  QComboBox* items = nullptr;
  QPlainTextEdit* text = nullptr;
  QLabel* length = nullptr;
  QLabel* revision = nullptr;
  QLabel* submitter = nullptr;
  QLabel* disc_id_label = nullptr;
  QCheckBox* follow = nullptr;
  QTimer follow_timer;
  BackgroundJob reader;

  // The disc shown (or being read); none when cleared for want of a disc.
  std::optional<std::string> disc_id;
  // Its entry text once read; none when the disc has no entry.
  std::optional<std::string> entry;
  bool entry_read = false;
  // The item to select once the entry is in, from the playing track.
  int wanted_item = -1;
  // The playing track last followed, so that the user may look at other
  // items while the same track plays.
  int followed_track = -1;
  bool closed = false;
};

ExtendedInfoWindow::ExtendedInfoWindow(const std::string& disc_id, bool follow, QPoint position,
                                       Context context, QWidget* parent)
    : QWidget(parent, Qt::Window), controls_(std::make_unique<Controls>()) {
  Controls& c = *controls_;
  c.context = std::move(context);
  setWindowTitle("Zentaro CD Extended Info");

  c.items = new QComboBox(this);
  c.text = new QPlainTextEdit(this);
  c.text->setReadOnly(true);
  c.length = new QLabel(this);
  c.length->setObjectName("length");
  c.revision = new QLabel(this);
  c.revision->setObjectName("revision");
  c.submitter = new QLabel(this);
  c.submitter->setObjectName("submitter");
  c.disc_id_label = new QLabel(this);
  c.disc_id_label->setObjectName("disc_id");
  for (QLabel* label : {c.length, c.revision, c.submitter, c.disc_id_label})
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  c.follow = new QCheckBox("Sync with current CD", this);
  auto* close_button = new QPushButton("Close", this);

  auto* fields = new QVBoxLayout;
  fields->addWidget(c.length);
  fields->addWidget(c.revision);
  fields->addWidget(c.submitter);
  fields->addWidget(c.disc_id_label);
  fields->addStretch();
  auto* middle = new QHBoxLayout;
  middle->addWidget(c.text, 1);
  middle->addLayout(fields);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(c.follow);
  bottom->addStretch();
  bottom->addWidget(close_button);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(c.items);
  layout->addLayout(middle, 1);
  layout->addLayout(bottom);
  resize(480, 260);
  move(position);

  c.follow_timer.setInterval(kFollowIntervalMs);
  connect(&c.follow_timer, &QTimer::timeout, this, [this] { FollowCurrentDisc(); });
  connect(c.items, &QComboBox::currentIndexChanged, this, [this](int index) { ShowItem(index); });
  connect(close_button, &QPushButton::clicked, this, [this] { close(); });

  ClearToLabels();
  Load(disc_id);
  const std::optional<CurrentDisc> current =
      c.context.current_disc ? c.context.current_disc() : std::nullopt;
  const bool following = follow && current && EqualsIgnoringCase(current->disc_id, disc_id);
  c.follow->setChecked(following);
  connect(c.follow, &QCheckBox::toggled, this, [this](bool on) { SetFollow(on); });
  SetFollow(following);
}

ExtendedInfoWindow::~ExtendedInfoWindow() = default;

void ExtendedInfoWindow::SetFollow(bool on) {
  Controls& c = *controls_;
  if (!on) {
    c.follow_timer.stop();
    return;
  }
  c.followed_track = -1;
  FollowCurrentDisc();
  c.follow_timer.start();
}

void ExtendedInfoWindow::FollowCurrentDisc() {
  Controls& c = *controls_;
  const std::optional<CurrentDisc> current =
      c.context.current_disc ? c.context.current_disc() : std::nullopt;
  if (!current) {
    if (c.disc_id)
      ClearToLabels();
    return;
  }
  if (!c.disc_id || !EqualsIgnoringCase(*c.disc_id, current->disc_id)) {
    Load(current->disc_id);
    c.followed_track = -1;
  }
  if (current->track < 0 || current->track == c.followed_track)
    return;
  c.followed_track = current->track;
  c.wanted_item = current->track + 1;
  if (c.entry_read && c.wanted_item < c.items->count())
    c.items->setCurrentIndex(c.wanted_item);
}

void ExtendedInfoWindow::Load(const std::string& disc_id) {
  Controls& c = *controls_;
  ClearToLabels();
  c.disc_id = disc_id;
  c.disc_id_label->setText(QString(kDiscIdLabel) + ' ' + FromWindows1252(disc_id));
  if (disc_id.empty()) {
    c.entry_read = true;
    ShowEntry();
    return;
  }
  // A lookup in a big database reads its whole index: off the window thread.
  auto found = std::make_shared<std::optional<std::string>>();
  c.reader.Start([db_path = c.context.db_path, disc_id,
                  found](BackgroundJob&) { *found = DbFindEntry(db_path, disc_id); },
                 [this, found] {
                   controls_->entry = std::move(*found);
                   controls_->entry_read = true;
                   ShowEntry();
                 });
}

void ExtendedInfoWindow::ShowEntry() {
  Controls& c = *controls_;
  const QSignalBlocker quiet(c.items);
  c.items->clear();
  if (c.entry) {
    const std::string& entry = *c.entry;
    c.length->setText(QString("%1 %2 Seconds").arg(kLengthLabel).arg(EntryDiscSeconds(entry)));
    c.revision->setText(QString("%1 %2").arg(kRevisionLabel).arg(EntryRevision(entry)));
    c.submitter->setText(QString("%1\n%2").arg(
        kSubmitterLabel, FromWindows1252(GetEntryValue("# Submitted via: ", entry).value_or(""))));
    c.items->addItem(FromWindows1252(GetEntryValue("DTITLE=", entry).value_or("")));
    for (int track = 0; track < kMaxEntryTracks; ++track) {
      const std::optional<std::string> title = GetEntryValue(TrackKey("TTITLE", track), entry);
      if (!title)
        break;
      c.items->addItem(QString("%1.   %2").arg(track + 1).arg(FromWindows1252(*title)));
    }
  } else {
    c.items->addItem(QString());
  }
  const int item = c.wanted_item > 0 && c.wanted_item < c.items->count() ? c.wanted_item : 0;
  c.items->setCurrentIndex(item);
  ShowItem(item);
}

void ExtendedInfoWindow::ShowItem(int index) {
  Controls& c = *controls_;
  std::optional<std::string> value;
  if (c.entry && index >= 0)
    value =
        GetEntryValue(index == 0 ? std::string("EXTD=") : TrackKey("EXTT", index - 1), *c.entry);
  c.text->setPlainText(ExtendedTextForField(value.value_or("")));
}

void ExtendedInfoWindow::ClearToLabels() {
  Controls& c = *controls_;
  c.reader.Stop();
  c.disc_id.reset();
  c.entry.reset();
  c.entry_read = false;
  c.wanted_item = -1;
  {
    const QSignalBlocker quiet(c.items);
    c.items->clear();
  }
  c.text->clear();
  c.length->setText(kLengthLabel);
  c.revision->setText(kRevisionLabel);
  c.submitter->setText(kSubmitterLabel);
  c.disc_id_label->setText(kDiscIdLabel);
}

void ExtendedInfoWindow::closeEvent(QCloseEvent* event) {
  Controls& c = *controls_;
  c.follow_timer.stop();
  c.reader.Stop();
  event->accept();
  // close() may be called again on a closed window; the owner hears once.
  if (c.closed)
    return;
  c.closed = true;
  if (c.context.closed)
    c.context.closed(pos(), c.follow->isChecked());
}

void ExtendedInfoWindow::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) {
    close();
    return;
  }
  QWidget::keyPressEvent(event);
}

}  // namespace zcd
