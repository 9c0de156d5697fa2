#pragma once

#include <QAbstractItemModel>
#include <QIcon>
#include <cstdint>
#include <vector>

#include "discdb/library_index.h"

namespace zcd {

// The library tree as a model over the groups the page shows, so that a
// million discs cost no widget items: rows are made as the view scrolls to
// them. Discs without a group name stand at the top level before the groups.
// Window thread only.
class LibraryModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  static constexpr int kDiscIdRole = Qt::UserRole;  // uint32_t; none on a group

  explicit LibraryModel(QObject* parent = nullptr);

  // Shows these groups.
  void Reset(std::vector<LibraryGroup> groups, LibraryGrouping grouping);
  // Takes every item of the disc away, and a group left without discs.
  // Returns how many disc items went.
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
  int loose_count() const { return static_cast<int>(loose_.size()); }
  // The group of a top-level row at or after the loose discs.
  int GroupOfRow(int row) const { return row - loose_count(); }
  const LibraryDisc* Disc(const QModelIndex& index) const;

  // Top-level rows: the discs without a group, then the groups.
  std::vector<LibraryDisc> loose_;
  std::vector<LibraryGroup> groups_;
  std::vector<bool> expanded_;
  LibraryGrouping grouping_ = LibraryGrouping::kByCategory;
  QIcon closed_;
  QIcon open_;
  QIcon artist_;
  QIcon disc_;
};

}  // namespace zcd
