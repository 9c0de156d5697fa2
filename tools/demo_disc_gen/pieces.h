#pragma once

#include <cstddef>

#include "tools/demo_disc_gen/composer.h"

namespace zcd::demo_gen {

// The style of the music on audio track `track` (from 0).
const PieceStyle& PieceFor(size_t track);

}  // namespace zcd::demo_gen
