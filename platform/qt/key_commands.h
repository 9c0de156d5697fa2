#pragma once

#include <QObject>
#include <functional>

#include "base/message.h"

class QWidget;

namespace zcd {

// Turns the main window's keys into its messages. Installed on the window
// as an event filter; keys the table does not name pass on.
class KeyCommands : public QObject {
  Q_OBJECT
 public:
  KeyCommands(QWidget* window, std::function<void(const Message&)> send);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  std::function<void(const Message&)> send_;
};

}  // namespace zcd
