#pragma once

#include <QPointer>

#include "app/dialog_launcher.h"

class QWidget;

namespace zcd {

class SkinsDialog;

// The dialogs as Qt windows owned by the main window's widget. Each is made
// when first asked for and deleted when its user closes it. Window thread
// only; the owner and the parent must outlive the launcher.
class QtDialogLauncher : public DialogLauncher {
 public:
  QtDialogLauncher(DialogOwner& owner, QWidget* parent) : owner_(owner), parent_(parent) {}

  bool Available(Dialog dialog) const override;
  void Open(Dialog dialog, int page = 0) override;

 private:
  void OpenSkins();

  DialogOwner& owner_;
  QWidget* parent_;
  QPointer<SkinsDialog> skins_;
};

}  // namespace zcd
