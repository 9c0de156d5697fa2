#pragma once

#include "base/rect.h"

// The pieces of "mixerset.bmp" the mixer panel and the volume bar draw.
namespace zcd {

inline constexpr Rect kMasterFacePiece{0, 0, 61, 28};
inline constexpr Rect kCdVolumeFacePiece{0, 28, 61, 28};
inline constexpr Rect kTrebleFacePiece{62, 0, 61, 28};
inline constexpr Rect kBassFacePiece{62, 28, 61, 28};
inline constexpr Rect kBalanceFacePiece{124, 0, 61, 56};
inline constexpr Rect kKnobPointerPiece{221, 0, 13, 13};
inline constexpr Point kKnobPointerMaskAt{221, 14};

inline constexpr Rect kVolumeTopHiddenPiece{186, 0, 33, 15};
inline constexpr Rect kVolumeTopShownPiece{186, 26, 33, 15};
inline constexpr Rect kVolumeBarHiddenPiece{186, 15, 33, 10};
inline constexpr Rect kVolumeBarShownPiece{186, 41, 33, 10};
inline constexpr Rect kVolumeThumbPiece{221, 28, 5, 9};
inline constexpr Point kVolumeThumbMaskAt{221, 38};

}  // namespace zcd
