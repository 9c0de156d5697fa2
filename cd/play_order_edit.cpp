#include "cd/play_order_edit.h"

namespace zcd {
namespace {

inline constexpr int kPlayCurrentRun = -1;

bool DataLocked(const PlayOrderList& list, const TrackCell& cell) {
  return cell.data && list.settings().XData != 0;
}

}  // namespace

bool EntryPressable(const PlayOrderList& list, int index) {
  if (index < 0 || index >= list.EntryCount())
    return false;
  const TrackCell& cell = list.cells()[index];
  return !cell.removed && !DataLocked(list, cell);
}

int AppendCopyOf(PlayOrderList& list, int index) {
  if (index < 0 || index >= list.EntryCount())
    return -1;
  return list.AppendEntry(list.cells()[index].track, {.copy = true});
}

SecondaryClick ToggleOrDeleteEntry(PlayOrderList& list, int index) {
  if (index < 0 || index >= list.EntryCount())
    return SecondaryClick::kRefused;
  const TrackCell& cell = list.cells()[index];
  if (DataLocked(list, cell))
    return SecondaryClick::kRefused;
  if (cell.copy && !cell.removed) {
    list.RemoveEntry(index);
    return SecondaryClick::kDeleted;
  }
  list.SetRemoved(index, !cell.removed);
  return SecondaryClick::kToggled;
}

int ReplayAfterEdit(PlayOrderList& list) {
  CdState& state = list.state();
  if (!state.playing || state.paused)
    return kResultOk;
  return state.PlayFrom(kPlayCurrentRun);
}

}  // namespace zcd
