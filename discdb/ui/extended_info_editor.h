#pragma once

#include "discdb/disc_edit.h"
#include "discdb/disc_record.h"

class QWidget;

namespace zcd {

// The modal "Zentaro CD Edit Extended Info" dialog on a record as the editor
// page shows it: titles and extended texts already in `edit` stand for the
// record's own. OK stores every text that now differs from what was shown
// into `edit` (in the stored, escaped form; an emptied text as empty) and
// returns true when anything changed. Window thread only.
bool RunExtendedInfoEditor(QWidget* parent, const DiscRecord& record, DiscEdit& edit);

}  // namespace zcd
