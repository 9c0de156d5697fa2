#include "discdb/ui/import_page.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QCheckBox>
#include <QFile>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <array>
#include <atomic>
#include <chrono>
#include <mutex>

#include "base/unique_fd.h"
#include "discdb/import_database.h"
#include "discdb/ui/sheet_message.h"
#include "platform/qt/background_job.h"

namespace zcd {
namespace {

constexpr char kCaption[] = "Zentaro CD";
// Often enough to see the counts move, rarely enough not to flood the window thread.
constexpr auto kStatusInterval = std::chrono::milliseconds(100);

struct RuleButton {
  DuplicateRule rule;
  const char* text;
};
constexpr RuleButton kRuleButtons[] = {
    {DuplicateRule::kOverwrite, "Overwrite with imported info"},
    {DuplicateRule::kKeep, "Keep current info"},
    {DuplicateRule::kPrompt, "Prompt user for each"},
};

std::string ToPath(const QString& text) {
  return QFile::encodeName(text).toStdString();
}

// A regular file this process can open for reading. Non-blocking, so that a
// named pipe does not hang the window.
bool ReadableFile(const std::string& path) {
  if (path.empty())
    return false;
  const UniqueFd fd(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
  struct stat info {};
  return fd.valid() && fstat(fd.get(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

struct ImportPage::Controls {
  std::string db_path;
  QLineEdit* current = nullptr;
  QLineEdit* path = nullptr;
  QPushButton* browse = nullptr;
  std::array<QRadioButton*, std::size(kRuleButtons)> rules{};
  QPushButton* start = nullptr;
  QPushButton* cancel = nullptr;
  QLabel* status = nullptr;
  QCheckBox* load_ini = nullptr;
  FileDialog file_dialog = RunFileDialog;
  // The running import's; none before the first.
  std::shared_ptr<Run> run;
  BackgroundJob job;
};

// What the window thread and one running import share.
struct ImportPage::Run {
  std::atomic<bool> cancel{false};
  mutable std::mutex mutex;
  std::string status;  // the latest status text; guarded by mutex

  // Any thread.
  void SetStatus(const std::string& text) {
    const std::lock_guard lock(mutex);
    status = text;
  }
  std::string Status() const {
    const std::lock_guard lock(mutex);
    return status;
  }
};

// The import's questions and messages go to the window thread; the import
// waits for each answer.
class ImportPage::RunUi : public ImportUi {
 public:
  RunUi(ImportPage& page, BackgroundJob& job, std::shared_ptr<Run> run)
      : page_(page), job_(job), run_(std::move(run)) {}

  void SetStatus(const std::string& text) override {
    run_->SetStatus(text);
    const auto now = std::chrono::steady_clock::now();
    if (now - last_shown_ < kStatusInterval)
      return;
    last_shown_ = now;
    job_.Post([page = &page_, run = run_] {
      page->controls_->status->setText(QString::fromStdString(run->Status()));
    });
  }

  DuplicateAnswer AskDuplicate(const std::string& question) override {
    return job_.Ask<DuplicateAnswer>(
        [&] {
          switch (ShowSheetMessage(&page_, question, kCaption, QMessageBox::Question,
                                   QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
            case QMessageBox::Yes:
              return DuplicateAnswer::kYes;
            case QMessageBox::No:
              return DuplicateAnswer::kNo;
            default:
              return DuplicateAnswer::kCancel;
          }
        },
        DuplicateAnswer::kCancel);
  }

  void ShowCorrupt(const std::string& text) override { Show(text); }
  // The text may name the database's path, which is not a disc text.
  void ShowError(const std::string& text) override { Show(text); }

  bool Stopped() override { return run_->cancel || job_.stop_requested(); }

 private:
  void Show(const std::string& text) {
    job_.Ask<bool>(
        [&] {
          QMessageBox box(QMessageBox::Warning, kCaption, QFile::decodeName(text.c_str()),
                          QMessageBox::Ok, &page_);
          box.exec();
          return true;
        },
        false);
  }

  ImportPage& page_;
  BackgroundJob& job_;
  std::shared_ptr<Run> run_;
  std::chrono::steady_clock::time_point last_shown_{};
};

ImportPage::ImportPage(std::string db_path, const Settings& settings, QWidget* parent)
    : DatabasePage(parent), controls_(std::make_unique<Controls>()) {
  Controls& c = *controls_;
  c.db_path = std::move(db_path);

  c.current = new QLineEdit(QFile::decodeName(c.db_path.c_str()), this);
  c.current->setObjectName("current");
  c.current->setReadOnly(true);
  c.path = new QLineEdit(this);
  c.path->setObjectName("path");
  c.browse = new QPushButton("...", this);
  auto* rules = new QGroupBox("For equivalent entries", this);
  auto* rule_layout = new QVBoxLayout(rules);
  for (size_t i = 0; i < c.rules.size(); ++i) {
    c.rules[i] = new QRadioButton(kRuleButtons[i].text, rules);
    rule_layout->addWidget(c.rules[i]);
  }
  c.rules[0]->setChecked(true);
  c.start = new QPushButton("Start Import", this);
  c.cancel = new QPushButton("Cancel", this);
  c.status = new QLabel(this);
  c.status->setObjectName("status");
  auto* ini = new QGroupBox("Import from CDPlayer.ini", this);
  c.load_ini = new QCheckBox("Obtain CD Information from CDPlayer.ini", ini);
  c.load_ini->setChecked(settings.LoadINI != 0);
  auto* note = new QLabel(
      "Due to inadequacies in the CDPlayer.ini format, only the information for the current CD "
      "in your CDROM can be imported.",
      ini);
  note->setWordWrap(true);
  auto* ini_layout = new QVBoxLayout(ini);
  ini_layout->addWidget(c.load_ini);
  ini_layout->addWidget(note);

  auto* path_row = new QHBoxLayout;
  path_row->addWidget(c.path, 1);
  path_row->addWidget(c.browse);
  auto* files = new QFormLayout;
  files->addRow("Current ZCD Database:", c.current);
  files->addRow("ZCD database to import:", path_row);
  auto* buttons = new QHBoxLayout;
  buttons->addWidget(c.start);
  buttons->addWidget(c.cancel);
  buttons->addStretch();
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(files);
  layout->addWidget(rules);
  layout->addLayout(buttons);
  layout->addWidget(c.status);
  layout->addWidget(ini);
  layout->addStretch();

  connect(c.path, &QLineEdit::textChanged, this, [this] { UpdateButtons(); });
  connect(c.browse, &QPushButton::clicked, this, [this] { Browse(); });
  connect(c.start, &QPushButton::clicked, this, [this] { StartImport(); });
  connect(c.cancel, &QPushButton::clicked, this, [this] {
    if (controls_->run)
      controls_->run->cancel = true;
  });
  connect(c.load_ini, &QCheckBox::clicked, this, [this] { emit Changed(); });
  UpdateButtons();
}

ImportPage::~ImportPage() = default;

void ImportPage::SetFileDialog(FileDialog dialog) {
  controls_->file_dialog = std::move(dialog);
}

void ImportPage::Apply(Settings& settings) {
  settings.LoadINI = controls_->load_ini->isChecked() ? 1 : 0;
}

bool ImportPage::Busy() const {
  return controls_->job.running();
}

void ImportPage::UpdateButtons() {
  Controls& c = *controls_;
  const bool running = c.job.running();
  c.start->setEnabled(!running && ReadableFile(ToPath(c.path->text())));
  c.cancel->setEnabled(running);
}

void ImportPage::Browse() {
  Controls& c = *controls_;
  const std::optional<QString> chosen =
      c.file_dialog(this, {FileDialogRequest::Mode::kOpenExisting,
                           {"ZCD Database (*.zdb)", "All Files (*.*)"},
                           "zdb",
                           "ZCD.zdb"});
  if (chosen)
    c.path->setText(*chosen);
}

void ImportPage::StartImport() {
  Controls& c = *controls_;
  if (c.job.running())
    return;
  DuplicateRule rule = DuplicateRule::kOverwrite;
  for (size_t i = 0; i < c.rules.size(); ++i) {
    if (c.rules[i]->isChecked())
      rule = kRuleButtons[i].rule;
  }
  auto run = std::make_shared<Run>();
  c.run = run;
  c.status->clear();
  c.job.Start(
      [this, run, rule, db_path = c.db_path, path = ToPath(c.path->text())](BackgroundJob& job) {
        RunUi ui(*this, job, run);
        ImportDatabase(db_path, path, rule, ui);
      },
      [this, run] { ImportEnded(*run); });
  UpdateButtons();
  emit BusyChanged();
}

void ImportPage::ImportEnded(const Run& run) {
  // The last counts always show, however the updates were thinned out.
  const std::string status = run.Status();
  if (!status.empty())
    controls_->status->setText(QString::fromStdString(status));
  UpdateButtons();
  emit BusyChanged();
}

}  // namespace zcd
