#include "app/ui/preferences_sheet.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "app/ui/preferences_pages.h"

namespace zcd {

PreferencesSheet::PreferencesSheet(const Settings& settings, PreferencesContext context,
                                   Actions actions, QWidget* parent)
    : QDialog(parent),
      actions_(std::move(actions)),
      settings_(settings),
      registration_available_(context.shell_registration_available),
      registered_(context.registered),
      controls_([this] { MarkChanged(); }),
      tabs_(new QTabWidget(this)),
      buttons_(new QDialogButtonBox(
          QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this)) {
  setWindowTitle("Zentaro CD - Preferences");
  setModal(false);

  const StartupPage startup = MakeStartupPage(tabs_, controls_, context.cd_drive_count);
  register_player_ = startup.register_player;
  tabs_->addTab(startup.page, "Startup / Shutdown");
  tabs_->addTab(MakeGuiOptionsPage(tabs_, controls_), "GUI Options");
  tabs_->addTab(MakeCdOptionsPage(tabs_, controls_), "CD Options");

  controls_.Load(settings_);
  register_player_->setChecked(registered_);
  register_player_->setEnabled(registration_available_);
  connect(register_player_, &QCheckBox::toggled, this, &PreferencesSheet::MarkChanged);

  QPushButton* apply = buttons_->button(QDialogButtonBox::Apply);
  apply->setEnabled(false);
  connect(apply, &QPushButton::clicked, this, &PreferencesSheet::Apply);
  connect(buttons_, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &QDialog::reject);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons_);
}

void PreferencesSheet::ShowFirstPage() {
  tabs_->setCurrentIndex(0);
  show();
  raise();
  activateWindow();
}

void PreferencesSheet::Reload(const Settings& settings) {
  controls_.LoadChanged(settings_, settings);
  settings_ = settings;
}

void PreferencesSheet::MarkChanged() {
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(true);
}

void PreferencesSheet::Apply() {
  controls_.Store(settings_);
  if (actions_.apply)
    actions_.apply(settings_);
  const bool register_player = register_player_->isChecked();
  if (registration_available_ && register_player != registered_) {
    registered_ = register_player;
    if (actions_.set_registered)
      actions_.set_registered(register_player);
  }
  buttons_->button(QDialogButtonBox::Apply)->setEnabled(false);
}

// OK, Cancel, Escape and the window's close box all end here; a sheet
// already closed reports nothing more.
void PreferencesSheet::done(int result) {
  const bool was_open = isVisible();
  if (result == QDialog::Accepted && buttons_->button(QDialogButtonBox::Apply)->isEnabled())
    Apply();
  QDialog::done(result);
  if (was_open && actions_.closed)
    actions_.closed();
}

}  // namespace zcd
