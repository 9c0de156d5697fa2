#pragma once

#include "cd/play_order.h"

namespace zcd {

// The editing rules the track box applies to the play order. Window thread only.

// Removed entries, and data entries while XData is on, take no press.
bool EntryPressable(const PlayOrderList& list, int index);

// Shift-drag: a copy of the entry's track at the end. The new index, or -1
// when the list is full or there is no such entry.
int AppendCopyOf(PlayOrderList& list, int index);

enum class SecondaryClick { kRefused, kToggled, kDeleted };
// A copy that is not removed goes away; any other entry has its removed flag
// toggled. Data entries refuse both while XData is on.
SecondaryClick ToggleOrDeleteEntry(PlayOrderList& list, int index);

// While playing and not paused, play again from the current position so the
// end of the run follows the edited list. The device result, 0 when idle.
int ReplayAfterEdit(PlayOrderList& list);

}  // namespace zcd
