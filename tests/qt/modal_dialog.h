#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDeadlineTimer>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "qt/user_input.h"

namespace zcd::test {

// Runs `act` on the modal dialog a following exec() shows, from that
// dialog's own event loop; `act` is expected to close it. One it leaves
// open is closed after the deadline with a failure, so a dialog that
// ignores its buttons fails the test instead of hanging it.
inline void WhenModal(std::function<void(QDialog&)> act,
                      QDeadlineTimer deadline = QDeadlineTimer(10000)) {
  QTimer::singleShot(1, [act = std::move(act), deadline]() mutable {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (dialog == nullptr || !dialog->isVisible()) {
      if (deadline.hasExpired()) {
        ADD_FAILURE() << "no modal dialog was shown";
        return;
      }
      WhenModal(std::move(act), deadline);
      return;
    }
    act(*dialog);
    QTimer::singleShot(10000, dialog, [dialog] {
      if (dialog->isVisible()) {
        ADD_FAILURE() << "the dialog stayed open";
        dialog->reject();
      }
    });
  });
}

// The texts of the dialog's push buttons, in the order they were made.
inline QStringList ButtonTexts(const QDialog& dialog) {
  QStringList texts;
  for (const QPushButton* button : dialog.findChildren<QPushButton*>())
    texts << button->text();
  return texts;
}

// Clicks the push button showing `text`; a failure when there is none.
inline void ClickButton(const QDialog& dialog, const QString& text) {
  for (QPushButton* button : dialog.findChildren<QPushButton*>()) {
    if (button->text() == text) {
      Click(button);
      return;
    }
  }
  ADD_FAILURE() << "no button " << text.toStdString();
}

// Clicks the radio button showing `text`; a failure when there is none.
inline void ClickRadio(const QDialog& dialog, const QString& text) {
  for (QRadioButton* button : dialog.findChildren<QRadioButton*>()) {
    if (button->text() == text) {
      ClickBox(button);
      return;
    }
  }
  ADD_FAILURE() << "no option " << text.toStdString();
}

// What a message box showed.
struct SeenBox {
  QString caption, text;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QStringList buttons;
};

// Answers the next message box with `button`, after noting what it showed
// and running `before` while it is still open.
inline void AnswerNextBox(SeenBox& seen, QMessageBox::StandardButton button = QMessageBox::Ok,
                          std::function<void()> before = {}) {
  WhenModal([&seen, button, before = std::move(before)](QDialog& dialog) {
    auto* box = qobject_cast<QMessageBox*>(&dialog);
    ASSERT_NE(box, nullptr);
    seen = {box->windowTitle(), box->text(), box->icon(), ButtonTexts(*box)};
    if (before)
      before();
    box->button(button)->click();
  });
}

}  // namespace zcd::test
