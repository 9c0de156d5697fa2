#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <cstdint>
#include <memory>
#include <vector>

#include "discdb/library_index.h"

namespace zcd {

// The library tree as a model over the groups the page shows, so that a
// million discs cost no widget items: rows are made as the view scrolls to
// them. Discs without a group name stand at the top level before the groups.
// The groups are shared, not copied: unfiltered they are the index's own.
// Window thread only.
class LibraryModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  static constexpr int kDiscIdRole = Qt::UserRole;  // uint32_t; none on a group

  explicit LibraryModel(QObject* parent = nullptr);

  // Shows these groups, sorted by name, so that a nameless group is first.
  void Reset(std::shared_ptr<std::vector<LibraryGroup>> groups, LibraryGrouping grouping);
  // Takes every item of the disc away from the shown groups, and a named
  // group left without discs. Returns how many disc items went.
  int RemoveDisc(uint32_t disc_id);
  // The category view's groups show an open folder while expanded.
  void SetExpanded(const QModelIndex& group, bool expanded);

  bool IsGroup(const QModelIndex& index) const;
  // The stored bytes of an item's text (a group's name, a disc's text).
  std::string ItemText(const QModelIndex& index) const;

  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

 private:
  // Top-level rows: the discs of the nameless group (the first, if there is
  // one; it stays, emptied or not), then the named groups.
  int first_named() const { return has_loose_ ? 1 : 0; }
  int loose_count() const { return has_loose_ ? static_cast<int>((*groups_)[0].discs.size()) : 0; }
  int GroupOfRow(int row) const { return row - loose_count() + first_named(); }
  int RowOfGroup(int group) const { return group - first_named() + loose_count(); }
  const LibraryDisc* Disc(const QModelIndex& index) const;

  std::shared_ptr<std::vector<LibraryGroup>> groups_ =
      std::make_shared<std::vector<LibraryGroup>>();
  bool has_loose_ = false;
  std::vector<bool> expanded_;
  LibraryGrouping grouping_ = LibraryGrouping::kByCategory;
  QIcon closed_;
  QIcon open_;
  QIcon artist_;
  QIcon disc_;
};

}  // namespace zcd
