#pragma once

#include "audio/image_layout.h"
#include "audio/sector_source.h"

namespace zcd {

// The audio of an image's files. An empty layout (a disc described by its
// times alone) gives neither a source nor an error; a file of the layout
// that cannot be opened now gives an error naming it. Every file stays open
// with its read position, so playing on reads without seeking. A frame that
// lies in no file, or beyond the end of a file cut short since the image
// was measured, cannot be read.
SourceOpen OpenImageSource(const ImageLayout& layout);

}  // namespace zcd
