#pragma once

#include <QPointer>
#include <cstdint>
#include <memory>
#include <string>

#include "discdb/database_actions.h"
#include "discdb/library_index.h"
#include "discdb/ui/database_page.h"
#include "platform/qt/background_job.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;

namespace zcd {

class LibraryModel;

inline constexpr char kStaleEntryText[] =
    "Could not read CD information for this CD.\n\nTry clicking Refresh.\n\nIf the problem "
    "remains make sure the ZCD database\nhas not been corrupted.";

// The "CD Library" page: every disc of the database in a tree by category or
// by artist, a filter above it, and the buttons that work on the chosen
// disc. Reading the database and writing it run off the window thread.
// Window thread only.
class LibraryPage : public DatabasePage {
  Q_OBJECT
 public:
  LibraryPage(DatabaseActions actions, const Settings& settings, QWidget* parent = nullptr);
  ~LibraryPage() override;

  // The tree is first filled when the page is first shown.
  void Activated() override;
  void Apply(Settings& settings) override;
  bool Busy() const override;

  // Reads the database anew into the tree.
  void Refresh();

  // For tests and screenshots.
  QTreeView* tree() const { return tree_; }
  int entry_count() const { return index_->entry_count; }
  // The tree is being read or filtered.
  bool filling() const { return fill_.running() || filter_job_.running(); }

 signals:
  // "Edit Entry": the record to edit, or none for the disc in the drive.
  void EditRecord(std::shared_ptr<DiscRecord> record);
  // "Export": a section text for the Export page.
  void ExportSection(const std::string& section);
  // "Extended Info" for a disc identifier.
  void ShowExtendedInfo(const std::string& disc_id);

 private:
  LibraryGrouping grouping() const;
  // shown: the filtered groups, none for all of them.
  void Filled(std::shared_ptr<LibraryIndex> index,
              std::shared_ptr<std::vector<LibraryGroup>> shown);
  void ShowAll();
  void ApplyFilter();
  void SelectionChanged();
  std::string ChosenId() const;
  void EditEntry();
  void DeleteEntry();
  void Submit();
  void Export();
  // Runs a database operation off the window thread, the page showing it is busy.
  void RunOperation(std::function<void(BackgroundJob& job)> work, std::function<void()> done);
  void UpdateBusy();

  DatabaseActions actions_;
  int library_view_;
  std::shared_ptr<LibraryIndex> index_ = std::make_shared<LibraryIndex>();
  bool filled_once_ = false;
  LibraryModel* model_;
  QLineEdit* filter_;
  QTreeView* tree_;
  QRadioButton* by_category_;
  QRadioButton* by_artist_;
  QLineEdit* entries_;
  QLineEdit* disc_id_;
  QLabel* status_;
  QPushButton* extended_info_;
  QPushButton* edit_;
  QPushButton* delete_;
  QPushButton* submit_;
  QPushButton* export_;
  QPushButton* refresh_;
  BackgroundJob fill_;
  // Reads index_ while it runs; stopped before index_ changes.
  BackgroundJob filter_job_;
  BackgroundJob release_;
  BackgroundJob operation_;
};

}  // namespace zcd
