#include "discdb/ui/extended_text_view.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include "discdb/entry_text.h"
#include "platform/qt/windows1252.h"

namespace zcd {

QString ExtendedTextForField(std::string_view stored) {
  std::string text(stored);
  ToggleLineBreakEscapes(text);
  QString shown = FromWindows1252(text);
  shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  return shown;
}

QString FieldText(const QPlainTextEdit& field) {
  QString text = field.document()->toRawText();
  text.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
  text.replace(QChar::LineSeparator, QLatin1Char('\n'));
  return text;
}

}  // namespace zcd
