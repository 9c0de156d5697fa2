#pragma once

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QList>
#include <QMouseEvent>
#include <QString>
#include <QWidget>

namespace zcd::test {

// A left click at pos in widget, delivered as the desktop would.
inline void ClickAt(QWidget* widget, QPointF pos) {
  const QPointF global = widget->mapToGlobal(pos);
  QMouseEvent press(QEvent::MouseButtonPress, pos, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

// A double click at pos in widget: press, release, the second press as a
// double click, release, as the desktop delivers them.
inline void DoubleClickAt(QWidget* widget, QPointF pos) {
  ClickAt(widget, pos);
  const QPointF global = widget->mapToGlobal(pos);
  QMouseEvent twice(QEvent::MouseButtonDblClick, pos, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &twice);
  QMouseEvent release(QEvent::MouseButtonRelease, pos, global, Qt::LeftButton, Qt::NoButton,
                      Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

// A click in the middle, as on a push button.
inline void Click(QWidget* widget) {
  ClickAt(widget, QRectF(widget->rect()).center());
}

// A click on the box or dot of a check box or radio button: a laid-out one
// may be far wider than its text, and only the box and text take clicks.
inline void ClickBox(QWidget* widget) {
  ClickAt(widget, QPointF(6, widget->height() / 2.0));
}

inline void PressKey(QWidget* widget, int key, const QString& text = {},
                     Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
  QApplication::sendEvent(widget, &press);
  QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
  QApplication::sendEvent(widget, &release);
}

// Types text into widget one character at a time; a character outside the
// Basic Multilingual Plane arrives as one key, as a keyboard delivers it.
inline void Type(QWidget* widget, const QString& text) {
  for (const char32_t c : text.toUcs4()) {
    const bool named = (c >= U'0' && c <= U'9') || (c >= U'A' && c <= U'Z');
    PressKey(widget, named ? static_cast<int>(c) : int{Qt::Key_unknown}, QString::fromUcs4(&c, 1));
  }
}

// The one button of kind T under root showing `text`; a failure when there is none.
template <typename T = QAbstractButton>
T* Showing(const QWidget& root, const QString& text) {
  for (T* button : root.findChildren<T*>()) {
    if (button->text() == text)
      return button;
  }
  ADD_FAILURE() << "no button " << text.toStdString();
  return nullptr;
}

}  // namespace zcd::test
