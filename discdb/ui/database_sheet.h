#pragma once

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "base/settings.h"
#include "discdb/database_actions.h"

class QDialogButtonBox;
class QLabel;
class QProgressBar;
class QTabWidget;

namespace zcd {

class DatabasePage;
class EditorPage;
class ExportPage;
class ImportPage;
class LibraryPage;

// The modeless "Zentaro CD - Database" sheet: pages "CD Library",
// "CD Editor", "Export" and "Import" with OK, Cancel and Apply. Work that
// takes long runs off the window thread; the sheet shows while it is busy
// and closes only once it has ended. Window thread only.
//
// Like the other sheets it never deletes itself: the owner deletes it with
// deleteLater after `closed`.
class DatabaseSheet : public QDialog {
  Q_OBJECT
 public:
  enum Page { kLibraryPage = 0, kEditorPage = 1, kExportPage = 2, kImportPage = 3 };

  struct Actions {
    // OK or Apply: LibraryView and LoadINI as the pages hold them.
    std::function<void(const Settings& edited)> apply;
    // The sheet closed, whichever way.
    std::function<void()> closed;
    // "Extended Info" in the library: the window for a disc identifier.
    std::function<void(const std::string& disc_id)> show_extended_info;
  };

  DatabaseSheet(const Settings& settings, DatabaseActions database, Actions actions,
                QWidget* parent = nullptr);
  ~DatabaseSheet() override;

  // Brings the sheet forward at a page.
  void ShowPage(int page);
  void done(int result) override;

  LibraryPage* library() const { return library_; }
  EditorPage* editor() const { return editor_; }
  ExportPage* export_page() const { return export_; }
  ImportPage* import_page() const { return import_; }
  bool busy() const;

 private:
  void MarkChanged();
  void Apply();
  void PageChanged(int index);
  void BusyChanged();
  void CloseNow(int result);

  Actions actions_;
  Settings settings_;
  QTabWidget* tabs_;
  LibraryPage* library_;
  EditorPage* editor_;
  ExportPage* export_;
  ImportPage* import_;
  std::vector<DatabasePage*> pages_;
  DatabasePage* current_ = nullptr;
  QProgressBar* busy_bar_;
  QLabel* busy_text_;
  QDialogButtonBox* buttons_;
  // A close asked for while work ran: the result it closes with.
  std::optional<int> closing_;
};

}  // namespace zcd
