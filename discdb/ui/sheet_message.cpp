#include "discdb/ui/sheet_message.h"

#include "platform/qt/windows1252.h"

namespace zcd {

QMessageBox::StandardButton ShowSheetMessage(QWidget* parent, const std::string& text,
                                             const char* caption, QMessageBox::Icon icon,
                                             QMessageBox::StandardButtons buttons) {
  QMessageBox box(icon, caption, FromWindows1252(text), buttons, parent);
  return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace zcd
