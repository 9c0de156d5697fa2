#include "discdb/ui/file_dialog.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

namespace zcd {

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request) {
  const bool save = request.mode == FileDialogRequest::Mode::kSave;
  const QFileInfo preset(request.preset);
  const QString folder = preset.isAbsolute() ? preset.absolutePath() : QDir::homePath();
  QFileDialog dialog(parent, QString(), folder);
  dialog.setNameFilters(request.filters);
  dialog.setDefaultSuffix(request.default_suffix);
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.selectFile(preset.fileName());
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
    return std::nullopt;
  return dialog.selectedFiles().front();
}

}  // namespace zcd
