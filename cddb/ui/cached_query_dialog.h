#pragma once

#include "cddb/worker_host.h"

class QWidget;

namespace zcd {

// "Zentaro CD - Cached CD Query", modal on `parent`: what the cached pass
// does with a disc whose query failed. Closing the window answers with the
// option selected then, as OK does. Window thread only.
CachedQueryChoice RunCachedQueryDialog(QWidget* parent);

}  // namespace zcd
