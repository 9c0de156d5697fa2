#pragma once

#include <QIcon>

namespace zcd {

// The library tree's 16 x 16 icons, drawn here so that they need no files
// and stay sharp at any scale.
enum class LibraryIcon { kClosedGroup, kOpenGroup, kArtist, kDisc };

QIcon MakeLibraryIcon(LibraryIcon icon);

}  // namespace zcd
