#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace zcd {

// What a page asks of a file dialog.
struct FileDialogRequest {
  enum class Mode { kOpenExisting, kSave };
  Mode mode = Mode::kOpenExisting;
  QStringList filters;  // "Text Files (*.txt)", ... the first one selected
  QString default_suffix;
  // The name (or path) shown at first; a bare name starts in the home folder.
  QString preset;
};

// The chosen path, or none when the user cancels. Window thread only.
using FileDialog =
    std::function<std::optional<QString>(QWidget* parent, const FileDialogRequest& request)>;

// The desktop's file dialog.
std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request);

}  // namespace zcd
