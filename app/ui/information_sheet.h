#pragma once

#include <QDialog>
#include <functional>

class QTabWidget;

namespace zcd {

// The modeless "Zentaro CD Information" sheet: the credits and the help.
// Window thread only.
//
// The owner creates it, shows it, and destroys it after `closed` with
// deleteLater: `closed` runs inside the sheet's own event handling. The
// sheet never deletes itself.
class InformationSheet : public QDialog {
  Q_OBJECT
 public:
  struct Actions {
    // The sheet closed (Close, the window's close box, Escape).
    std::function<void()> closed;
  };

  explicit InformationSheet(Actions actions, QWidget* parent = nullptr);

  // Brings the open sheet forward and selects its first page.
  void ShowFirstPage();

  void done(int result) override;

 private:
  Actions actions_;
  QTabWidget* tabs_;
};

}  // namespace zcd
