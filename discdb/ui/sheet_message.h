#pragma once

#include <QMessageBox>
#include <string>

namespace zcd {

// A modal message box over the sheet; the answer's standard button.
// Window thread only.
QMessageBox::StandardButton ShowSheetMessage(
    QWidget* parent, const std::string& text, const char* caption, QMessageBox::Icon icon,
    QMessageBox::StandardButtons buttons = QMessageBox::Ok);

}  // namespace zcd
