#include "cddb/ui/cddb_settings_sheet.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "cddb/ui/connection_pages.h"
#include "cddb/ui/lookup_pages.h"
#include "cddb/ui/servers_page.h"

namespace zcd {

CddbSettingsSheet::CddbSettingsSheet(const Settings& settings, CddbSheetContext context,
                                     Actions actions, QWidget* parent)
    : QDialog(parent),
      actions_(std::move(actions)),
      settings_(settings),
      tabs_(new QTabWidget(this)),
      buttons_(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this)) {
  setWindowTitle("Zentaro CD - CDDB Settings");
  setModal(false);

  const auto changed = [this] { MarkChanged(); };
  const std::pair<SheetPage*, const char*> pages[] = {
      {new ServersPage(settings_, context.actions, changed, tabs_), "Servers"},
      {new ProxyPage(settings_, changed, tabs_), "Proxy"},
      {new QueryingPage(settings_, context.cached_count, context.actions, changed, tabs_),
       "Querying"},
      {new SubmittingPage(settings_, changed, tabs_), "Submitting"},
      {new NetworkDebugPage(settings_, context.default_log_file, changed, tabs_), "Network Debug"},
  };
  for (const auto& [page, title] : pages) {
    tabs_->addTab(page, title);
    pages_.push_back(page);
  }

  QPushButton* apply = buttons_->button(QDialogButtonBox::Apply);
  apply->setEnabled(false);
  connect(apply, &QPushButton::clicked, this, &CddbSettingsSheet::Apply);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons_);
}

void CddbSettingsSheet::ShowPage(int page) {
  tabs_->setCurrentIndex(page);
  show();
  raise();
  activateWindow();
}

void CddbSettingsSheet::MarkChanged() {
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(true);
}

bool CddbSettingsSheet::Apply() {
  for (SheetPage* page : pages_) {
    if (!page->Check()) {
      tabs_->setCurrentWidget(page);
      return false;
    }
  }
  for (const SheetPage* page : pages_)
    page->Store(settings_);
  if (actions_.apply)
    actions_.apply(settings_);
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(false);
  return true;
}

// OK, Cancel, Escape and the window's close box all end here. OK with a
// page that refuses its values keeps the sheet open.
void CddbSettingsSheet::done(int result) {
  const bool was_open = isVisible();
  if (result == QDialog::Accepted && buttons_->button(QDialogButtonBox::Apply)->isEnabled() &&
      !Apply())
    return;
  QDialog::done(result);
  if (was_open && actions_.closed)
    actions_.closed();
}

}  // namespace zcd
