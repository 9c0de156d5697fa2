#include "platform/qt/key_commands.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QWidget>

#include "app/accelerators.h"

namespace zcd {

KeyCommands::KeyCommands(QWidget* window, std::function<void(const Message&)> send)
    : QObject(window), send_(std::move(send)) {
  window->installEventFilter(this);
}

bool KeyCommands::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::KeyPress)
    return QObject::eventFilter(watched, event);
  const auto* key = static_cast<QKeyEvent*>(event);
  // A key of the keypad means the same as its twin on the main block.
  const QKeySequence pressed(key->keyCombination().key() |
                             (key->modifiers() & ~Qt::KeypadModifier));
  for (const Accelerator& accelerator : kAccelerators) {
    if (QKeySequence(QString::fromLatin1(accelerator.key)) == pressed) {
      send_(accelerator.ToMessage());
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace zcd
