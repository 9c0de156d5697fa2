#include "discdb/ui/library_model.h"

#include "discdb/ui/library_icons.h"
#include "platform/qt/windows1252.h"

namespace zcd {

// A disc item in a group has the group's number + 1 as internal id; a
// top-level item has 0.
LibraryModel::LibraryModel(QObject* parent)
    : QAbstractItemModel(parent),
      closed_(MakeLibraryIcon(LibraryIcon::kClosedGroup)),
      open_(MakeLibraryIcon(LibraryIcon::kOpenGroup)),
      artist_(MakeLibraryIcon(LibraryIcon::kArtist)),
      disc_(MakeLibraryIcon(LibraryIcon::kDisc)) {}

void LibraryModel::Reset(std::shared_ptr<std::vector<LibraryGroup>> groups,
                         LibraryGrouping grouping) {
  beginResetModel();
  groups_ = std::move(groups);
  has_loose_ = !groups_->empty() && groups_->front().name.empty();
  grouping_ = grouping;
  expanded_.assign(groups_->size(), false);
  endResetModel();
}

int LibraryModel::RemoveDisc(uint32_t disc_id) {
  std::vector<LibraryGroup>& groups = *groups_;
  int removed = 0;
  for (int g = static_cast<int>(groups.size()) - 1; g >= 0; --g) {
    auto& discs = groups[g].discs;
    const bool loose = g == 0 && has_loose_;
    const QModelIndex parent = loose ? QModelIndex() : index(RowOfGroup(g), 0);
    for (int d = static_cast<int>(discs.size()) - 1; d >= 0; --d) {
      if (discs[d].disc_id != disc_id)
        continue;
      ++removed;
      if (!loose && discs.size() == 1) {
        beginRemoveRows({}, parent.row(), parent.row());
        groups.erase(groups.begin() + g);
        expanded_.erase(expanded_.begin() + g);
        endRemoveRows();
        break;
      }
      beginRemoveRows(parent, d, d);
      discs.erase(discs.begin() + d);
      endRemoveRows();
    }
  }
  return removed;
}

void LibraryModel::SetExpanded(const QModelIndex& group, bool expanded) {
  if (!IsGroup(group))
    return;
  expanded_[GroupOfRow(group.row())] = expanded;
  emit dataChanged(group, group, {Qt::DecorationRole});
}

bool LibraryModel::IsGroup(const QModelIndex& index) const {
  return index.isValid() && index.internalId() == 0 && index.row() >= loose_count();
}

const LibraryDisc* LibraryModel::Disc(const QModelIndex& index) const {
  if (!index.isValid() || IsGroup(index))
    return nullptr;
  if (index.internalId() == 0)
    return &(*groups_)[0].discs[index.row()];
  return &(*groups_)[index.internalId() - 1].discs[index.row()];
}

std::string LibraryModel::ItemText(const QModelIndex& index) const {
  if (IsGroup(index))
    return (*groups_)[GroupOfRow(index.row())].name;
  const LibraryDisc* disc = Disc(index);
  return disc ? disc->text : std::string();
}

QModelIndex LibraryModel::index(int row, int column, const QModelIndex& parent) const {
  if (column != 0 || row < 0 || row >= rowCount(parent))
    return {};
  if (!parent.isValid())
    return createIndex(row, 0, quintptr{0});
  return createIndex(row, 0, quintptr(GroupOfRow(parent.row()) + 1));
}

QModelIndex LibraryModel::parent(const QModelIndex& child) const {
  if (!child.isValid() || child.internalId() == 0)
    return {};
  const int g = static_cast<int>(child.internalId()) - 1;
  return createIndex(RowOfGroup(g), 0, quintptr{0});
}

int LibraryModel::rowCount(const QModelIndex& parent) const {
  if (!parent.isValid())
    return loose_count() + static_cast<int>(groups_->size()) - first_named();
  if (!IsGroup(parent))
    return 0;
  return static_cast<int>((*groups_)[GroupOfRow(parent.row())].discs.size());
}

int LibraryModel::columnCount(const QModelIndex& /*parent*/) const {
  return 1;
}

QVariant LibraryModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid())
    return {};
  const bool group = IsGroup(index);
  switch (role) {
    case Qt::DisplayRole:
      return FromWindows1252(ItemText(index));
    case Qt::DecorationRole:
      if (!group)
        return disc_;
      if (grouping_ == LibraryGrouping::kByArtist)
        return artist_;
      return expanded_[GroupOfRow(index.row())] ? open_ : closed_;
    case kDiscIdRole:
      return group ? QVariant() : QVariant(Disc(index)->disc_id);
    default:
      return {};
  }
}

}  // namespace zcd
