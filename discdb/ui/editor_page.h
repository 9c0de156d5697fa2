#pragma once

#include <memory>
#include <string>

#include "discdb/database_actions.h"
#include "discdb/disc_edit.h"
#include "discdb/ui/database_page.h"
#include "platform/qt/background_job.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QLabel;

namespace zcd {

// The "CD Editor" page: artist, album, category and track titles of one
// disc, the disc in the drive or one chosen in the library, saved when the
// sheet's changes are applied. The page keeps only what the user changed,
// and the save runs off the window thread. Window thread only.
class EditorPage : public DatabasePage {
  Q_OBJECT
 public:
  explicit EditorPage(DatabaseActions actions, QWidget* parent = nullptr);
  ~EditorPage() override;

  // The record to edit from now on; none for the disc in the drive. Shown
  // at once when the page is current, else when it is next shown.
  void SetRecord(std::shared_ptr<DiscRecord> library_record);

  void Activated() override;
  // Starts the save of what was changed.
  void Apply(Settings& settings) override;
  bool Busy() const override { return save_.running(); }

  // For tests and screenshots.
  QTreeWidget* tracks() const { return tracks_; }

 signals:
  // A save ended; saved is false when it was refused or failed (the page
  // keeps the edits) and true when it was stored or there was nothing to do.
  void SaveEnded(bool saved);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // The record the page works on; none when it edits the drive's disc and
  // no disc is loaded.
  std::shared_ptr<DiscRecord> Record() const;
  void ShowRecord();
  void SetFieldsEnabled(bool enabled);
  void FillCategories();
  void EditExtendedInfo();
  void Saved(DiscSaveResult result, bool bound);

  DatabaseActions actions_;
  std::shared_ptr<DiscRecord> library_record_;
  std::shared_ptr<DiscRecord> shown_;  // the record the fields were filled from
  DiscEdit edit_;
  bool showing_ = false;  // the fields are being filled, not typed in
  QLineEdit* artist_;
  QLineEdit* album_;
  QComboBox* category_;
  QPushButton* extended_info_;
  QTreeWidget* tracks_;
  QLabel* status_;
  BackgroundJob categories_;
  BackgroundJob save_;
};

}  // namespace zcd
