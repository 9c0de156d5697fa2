#include "discdb/ui/database_sheet.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "discdb/ui/editor_page.h"
#include "discdb/ui/export_page.h"
#include "discdb/ui/import_page.h"
#include "discdb/ui/library_page.h"

namespace zcd {

DatabaseSheet::DatabaseSheet(const Settings& settings, DatabaseActions database, Actions actions,
                             QWidget* parent)
    : QDialog(parent),
      actions_(std::move(actions)),
      settings_(settings),
      tabs_(new QTabWidget(this)),
      library_(new LibraryPage(database, settings)),
      editor_(new EditorPage(database)),
      export_(new ExportPage(database.db_path, database.data_dir)),
      import_(new ImportPage(database.db_path, settings)),
      pages_{library_, editor_, export_, import_},
      busy_bar_(new QProgressBar),
      busy_text_(new QLabel),
      buttons_(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this)) {
  setWindowTitle("Zentaro CD - Database");
  setModal(false);
  resize(640, 480);
  tabs_->addTab(library_, "CD Library");
  tabs_->addTab(editor_, "CD Editor");
  tabs_->addTab(export_, "Export");
  tabs_->addTab(import_, "Import");
  for (DatabasePage* page : pages_) {
    connect(page, &DatabasePage::Changed, this, &DatabaseSheet::MarkChanged);
    connect(page, &DatabasePage::BusyChanged, this, &DatabaseSheet::BusyChanged);
  }
  connect(library_, &LibraryPage::EditRecord, this, [this](std::shared_ptr<DiscRecord> record) {
    editor_->SetRecord(std::move(record));
    ShowPage(kEditorPage);
  });
  connect(library_, &LibraryPage::ExportSection, this, [this](const std::string& section) {
    ShowPage(kExportPage);
    export_->ShowSection(section);
  });
  connect(library_, &LibraryPage::ShowExtendedInfo, this, [this](const std::string& disc_id) {
    if (actions_.show_extended_info)
      actions_.show_extended_info(disc_id);
  });
  // A close waits for the editor's save; a refused save keeps the sheet open
  // with the user's edits.
  connect(editor_, &EditorPage::SaveEnded, this, [this](bool saved) {
    if (saved)
      return;
    closing_.reset();
    MarkChanged();  // the edits are still there to apply
  });
  connect(tabs_, &QTabWidget::currentChanged, this, &DatabaseSheet::PageChanged);

  busy_bar_->setRange(0, 0);  // moves without a known end
  busy_bar_->setMaximumWidth(120);
  busy_bar_->hide();
  QPushButton* apply = buttons_->button(QDialogButtonBox::Apply);
  apply->setEnabled(false);
  connect(apply, &QPushButton::clicked, this, &DatabaseSheet::Apply);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* bottom = new QHBoxLayout;
  bottom->addWidget(busy_bar_);
  bottom->addWidget(busy_text_, 1);
  bottom->addWidget(buttons_);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addLayout(bottom);
}

DatabaseSheet::~DatabaseSheet() = default;

void DatabaseSheet::ShowPage(int page) {
  if (tabs_->currentIndex() == page)
    PageChanged(page);  // shown anew, e.g. for another record
  else
    tabs_->setCurrentIndex(page);
  show();
  raise();
  activateWindow();
}

void DatabaseSheet::PageChanged(int index) {
  DatabasePage* page = pages_[index];
  if (current_ != page && current_ != nullptr)
    current_->Deactivated();
  current_ = page;
  page->Activated();
}

bool DatabaseSheet::busy() const {
  return std::any_of(pages_.begin(), pages_.end(), [](DatabasePage* page) { return page->Busy(); });
}

void DatabaseSheet::BusyChanged() {
  const bool working = busy();
  busy_bar_->setVisible(working);
  busy_text_->setText(working ? QString("Working...") : QString());
  if (!working && closing_)
    CloseNow(*closing_);
}

void DatabaseSheet::MarkChanged() {
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(true);
}

void DatabaseSheet::Apply() {
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(false);
  for (DatabasePage* page : pages_)
    page->Apply(settings_);
  if (actions_.apply)
    actions_.apply(settings_);
}

// OK, Cancel, Escape and the close box end here. Work still running (a save,
// an import) is waited for, so that nothing is cut off half way.
void DatabaseSheet::done(int result) {
  if (closing_ || !isVisible())
    return;
  if (result == QDialog::Accepted && buttons_->button(QDialogButtonBox::Apply)->isEnabled())
    Apply();
  if (busy()) {
    closing_ = result;
    busy_text_->setText("Finishing before the window closes...");
    return;
  }
  CloseNow(result);
}

void DatabaseSheet::CloseNow(int result) {
  closing_.reset();
  if (current_ != nullptr)
    current_->Deactivated();
  current_ = nullptr;
  QDialog::done(result);
  if (actions_.closed)
    actions_.closed();
}

}  // namespace zcd
