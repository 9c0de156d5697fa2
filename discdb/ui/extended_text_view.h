#pragma once

#include <QString>
#include <string>
#include <string_view>

class QPlainTextEdit;

namespace zcd {

// An extended text as a multi-line field shows it: every backslash+"n"
// escape becomes a line break (a raw CR LF, which no written entry holds,
// shows as the escape, as the toggle makes it).
QString ExtendedTextForField(std::string_view stored);

// What the field holds, as typed: line breaks as "\n", nothing else changed
// (a no-break space stays one, unlike QPlainTextEdit::toPlainText).
QString FieldText(const QPlainTextEdit& field);

}  // namespace zcd
