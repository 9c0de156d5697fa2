#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QWidget;

namespace zcd {

// Turns the main window's keys into its commands. Installed on the window
// as an event filter; keys the table does not name pass on.
class KeyCommands : public QObject {
  Q_OBJECT
 public:
  KeyCommands(QWidget* window, std::function<void(int64_t command)> send);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(int64_t)> send_;
};

}  // namespace zcd
