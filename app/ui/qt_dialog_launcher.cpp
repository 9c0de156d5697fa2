#include "app/ui/qt_dialog_launcher.h"

#include "skin/ui/skins_dialog.h"

namespace zcd {
namespace {

void BringForward(QWidget* window) {
  window->show();
  window->raise();
  window->activateWindow();
}

}  // namespace

bool QtDialogLauncher::Available(Dialog dialog) const {
  return dialog == Dialog::kSkins;
}

void QtDialogLauncher::Open(Dialog dialog, int /*page*/) {
  if (dialog == Dialog::kSkins)
    OpenSkins();
}

void QtDialogLauncher::OpenSkins() {
  if (!skins_) {
    SkinsDialog::Actions actions{
        [this](const std::string& name) { owner_.SelectSkin(name); },
        [this] { skins_->deleteLater(); }};
    // Owned by the main window's widget until it closes.
    skins_ = new SkinsDialog(std::move(actions), owner_.PlayerSettings(), parent_);
  }
  BringForward(skins_);
}

}  // namespace zcd
