#include "discdb/ui/export_page.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <chrono>

#include "discdb/export_run.h"
#include "platform/qt/background_job.h"
#include "platform/qt/windows1252.h"

namespace zcd {
namespace {

constexpr int kCheckBoxCount = 6;
constexpr int kRadioCount = 3;
constexpr char kCaption[] = "Zentaro CD";
constexpr char kSpecificText[] = "Export Specific";
constexpr char kAllScopeText[] =
    "All CD's\n\nTo export a specific section of your CD Library (such as a Category, Artist, "
    "or CD), choose it from within the CD Library dialog and click 'Export' to bring it here.";
constexpr char kChoiceText[] =
    "You may choose between exporting this section of the CD Library or the entire collection.";
// Often enough to see it move, rarely enough not to flood the window thread.
constexpr auto kStatusInterval = std::chrono::milliseconds(100);

struct SectionKind {
  std::string_view word;
  const char* heading;
  const char* button;
};
constexpr SectionKind kSectionKinds[] = {
    {"CAT", "Category:\n", "Export Category"},
    {"ART", "Artist:\n", "Export Artist"},
    {"CDS", "Album:\n", "Export Album"},
};

QString Entries(int64_t count) {
  return count == 1 ? QString("1 entry") : QString("%1 entries").arg(count);
}

}  // namespace

struct ExportPage::Controls {
  std::string db_path;
  std::string data_dir;
  QRadioButton* specific = nullptr;
  QRadioButton* all = nullptr;
  QLabel* section = nullptr;
  QComboBox* format = nullptr;
  std::array<QCheckBox*, kCheckBoxCount> checks{};
  std::array<QRadioButton*, kRadioCount> radios{};
  QPushButton* export_button = nullptr;
  QLabel* status = nullptr;
  // The section the library handed over; empty before one came.
  std::string scope;
  std::vector<std::unique_ptr<Exporter>> exporters;
  FileDialog file_dialog = RunFileDialog;
  BackgroundJob job;
};

struct ExportPage::Outcome {
  bool ok = false;
  std::string error;
  int64_t exported = 0;
  std::string file;
};

ExportPage::ExportPage(std::string db_path, std::string data_dir, QWidget* parent)
    : DatabasePage(parent), controls_(std::make_unique<Controls>()) {
  Controls& c = *controls_;
  c.db_path = std::move(db_path);
  c.data_dir = std::move(data_dir);

  c.specific = new QRadioButton(kSpecificText, this);
  c.all = new QRadioButton("Export All CD's", this);
  auto* scope_group = new QButtonGroup(this);
  scope_group->addButton(c.specific);
  scope_group->addButton(c.all);
  c.section = new QLabel(this);
  c.section->setObjectName("section");
  c.section->setWordWrap(true);
  c.section->setFrameShape(QFrame::StyledPanel);
  c.section->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  c.format = new QComboBox(this);
  auto* options = new QGroupBox(this);
  auto* option_grid = new QGridLayout(options);
  for (int i = 0; i < kCheckBoxCount; ++i) {
    c.checks[i] = new QCheckBox(QString("Option%1").arg(i + 1), options);
    option_grid->addWidget(c.checks[i], i / 2, i % 2);
  }
  // A group apart from the scope's radio buttons.
  auto* radio_group = new QButtonGroup(this);
  for (int i = 0; i < kRadioCount; ++i) {
    c.radios[i] = new QRadioButton(options);
    radio_group->addButton(c.radios[i]);
    option_grid->addWidget(c.radios[i], kCheckBoxCount / 2 + i, 0, 1, 2);
  }
  c.export_button = new QPushButton("Export", this);
  c.status = new QLabel(this);
  c.status->setObjectName("status");

  auto* scope_row = new QHBoxLayout;
  scope_row->addWidget(c.specific);
  scope_row->addWidget(c.all);
  scope_row->addStretch();
  auto* run_row = new QHBoxLayout;
  run_row->addWidget(c.export_button);
  run_row->addWidget(c.status, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(scope_row);
  layout->addWidget(c.section);
  layout->addWidget(c.format);
  layout->addWidget(options);
  layout->addLayout(run_row);
  layout->addStretch();

  EnsureExporters();
  for (const std::unique_ptr<Exporter>& exporter : c.exporters)
    c.format->addItem(QString::fromStdString(exporter->FormatName()));
  c.format->setCurrentIndex(0);
  ShowAllScope();
  ShowFormatOptions();
  connect(c.format, &QComboBox::currentIndexChanged, this, [this] { ShowFormatOptions(); });
  connect(c.export_button, &QPushButton::clicked, this, [this] { Export(); });
}

ExportPage::~ExportPage() = default;

void ExportPage::SetFileDialog(FileDialog dialog) {
  controls_->file_dialog = std::move(dialog);
}

void ExportPage::EnsureExporters() {
  if (controls_->exporters.empty())
    controls_->exporters = MakeExporters(controls_->data_dir);
}

void ExportPage::Activated() {
  EnsureExporters();
}

void ExportPage::Deactivated() {
  controls_->exporters.clear();
}

void ExportPage::Apply(Settings& /*settings*/) {
  ShowAllScope();
}

bool ExportPage::Busy() const {
  return controls_->job.running();
}

void ExportPage::ShowAllScope() {
  Controls& c = *controls_;
  c.scope.clear();
  c.section->setText(kAllScopeText);
  c.specific->setText(kSpecificText);
  c.specific->setEnabled(false);
  c.all->setChecked(true);
}

void ExportPage::ShowSection(const std::string& section) {
  Controls& c = *controls_;
  const std::string_view first_line = std::string_view(section).substr(0, section.find('\n'));
  const size_t blank = first_line.find(' ');
  const std::string_view word = first_line.substr(0, blank);
  const std::string_view rest =
      blank == std::string_view::npos ? std::string_view() : first_line.substr(blank + 1);
  for (const SectionKind& kind : kSectionKinds) {
    if (kind.word != word)
      continue;
    c.scope = section;
    c.section->setText(kind.heading + FromWindows1252(rest) + "\n\n" + kChoiceText);
    c.specific->setText(kind.button);
    c.specific->setEnabled(true);
    c.specific->setChecked(true);
    return;
  }
}

void ExportPage::ShowFormatOptions() {
  Controls& c = *controls_;
  EnsureExporters();
  const int index = c.format->currentIndex();
  if (index < 0 || index >= static_cast<int>(c.exporters.size()))
    return;
  const Exporter& exporter = *c.exporters[index];
  const std::vector<std::string> labels = exporter.OptionLabels();
  const uint32_t shown = exporter.ShowOptions();
  const bool radios = exporter.OptionStyle() == ExportOptionStyle::kRadioButtons;
  auto show = [&](QAbstractButton* button, size_t i, bool own_style) {
    const bool used = own_style && i < labels.size();
    button->setVisible(used);
    if (!used)
      return;
    button->setText(QString::fromStdString(labels[i]));
    button->setChecked((shown & (1u << i)) != 0);
  };
  for (size_t i = 0; i < c.checks.size(); ++i)
    show(c.checks[i], i, !radios);
  for (size_t i = 0; i < c.radios.size(); ++i)
    show(c.radios[i], i, radios);
}

uint32_t ExportPage::OptionsChosen() const {
  const Controls& c = *controls_;
  uint32_t options = 0;
  auto read = [&](const QAbstractButton* button, size_t i) {
    if (!button->isHidden() && button->isChecked())
      options |= 1u << i;
  };
  for (size_t i = 0; i < c.checks.size(); ++i)
    read(c.checks[i], i);
  for (size_t i = 0; i < c.radios.size(); ++i)
    read(c.radios[i], i);
  return options;
}

void ExportPage::Export() {
  Controls& c = *controls_;
  if (c.job.running())
    return;
  EnsureExporters();
  const int index = c.format->currentIndex();
  if (index < 0 || index >= static_cast<int>(c.exporters.size()))
    return;
  Exporter& exporter = *c.exporters[index];
  exporter.ReadOptions(OptionsChosen());
  exporter.set_scope(c.specific->isChecked() && !c.scope.empty() ? c.scope : kExportAllScope);
  std::string file = exporter.DefaultFileName();
  if (exporter.AsksForFileName()) {
    const std::optional<QString> chosen =
        c.file_dialog(this, {FileDialogRequest::Mode::kSave,
                             {"Text Files (*.txt)", "All Files (*.*)"},
                             "txt",
                             QFile::decodeName(file.c_str())});
    if (!chosen)
      return;
    file = QFile::encodeName(*chosen).toStdString();
  }
  exporter.set_file_name(file);

  // The run has an exporter of its own: the page's go when the page is left.
  std::shared_ptr<Exporter> run = std::move(MakeExporters(c.data_dir)[index]);
  run->ReadOptions(exporter.options());
  run->set_scope(exporter.scope());
  run->set_file_name(exporter.file_name());
  run->set_open_mode(exporter.open_mode());
  auto outcome = std::make_shared<Outcome>();
  outcome->file = file;

  c.status->setText("Exporting...");
  c.job.Start(
      [this, db_path = c.db_path, run, outcome](BackgroundJob& job) {
        auto last = std::chrono::steady_clock::now();
        auto progress = [&](int64_t written) {
          const auto now = std::chrono::steady_clock::now();
          if (now - last < kStatusInterval)
            return;
          last = now;
          job.Post([this, written] {
            controls_->status->setText("Exporting... " + Entries(written) + " written");
          });
        };
        outcome->ok = DbForEachEntry(db_path, *run, &outcome->error, &outcome->exported, progress);
      },
      [this, outcome] { ExportEnded(*outcome); });
  c.export_button->setEnabled(false);
  emit BusyChanged();
}

void ExportPage::ExportEnded(const Outcome& outcome) {
  Controls& c = *controls_;
  c.export_button->setEnabled(true);
  emit BusyChanged();
  if (outcome.ok) {
    c.status->setText("Exported " + Entries(outcome.exported) + " to " +
                      QFile::decodeName(outcome.file.c_str()));
    return;
  }
  c.status->clear();
  QMessageBox box(QMessageBox::Warning, kCaption, QFile::decodeName(outcome.error.c_str()),
                  QMessageBox::Ok, this);
  box.exec();
}

}  // namespace zcd
