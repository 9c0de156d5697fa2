#pragma once

#include <cstdint>

#include "base/surface.h"

// The built-in skin's colours: graphite furniture around black display panels,
// read-outs in ice cyan, an amber accent for the network status only.
namespace zcd::skin_gen::palette {

inline constexpr uint32_t kBlack = Rgb(0, 0, 0);
inline constexpr uint32_t kWhite = Rgb(255, 255, 255);

// Body and furniture.
inline constexpr uint32_t kBodyTop = Rgb(0x3A, 0x3F, 0x48);
inline constexpr uint32_t kBodyBottom = Rgb(0x22, 0x25, 0x2B);
inline constexpr uint32_t kBodyHighlight = Rgb(0x5C, 0x63, 0x6E);
inline constexpr uint32_t kBodyShadow = Rgb(0x10, 0x12, 0x15);
inline constexpr uint32_t kTitleTop = Rgb(0x2C, 0x30, 0x37);
inline constexpr uint32_t kTitleBottom = Rgb(0x1B, 0x1E, 0x23);
inline constexpr uint32_t kTrayFloor = Rgb(0x15, 0x17, 0x1B);
inline constexpr uint32_t kEngraving = Rgb(0x8A, 0x93, 0x9F);
inline constexpr uint32_t kEngravingDim = Rgb(0x5A, 0x62, 0x6D);

// Display panels: black glass in a dark blue bezel.
inline constexpr uint32_t kGlass = Rgb(0, 0, 0);
inline constexpr uint32_t kBezelOuter = Rgb(0x0B, 0x0D, 0x11);
inline constexpr uint32_t kBezelInner = Rgb(0x10, 0x22, 0x36);
inline constexpr uint32_t kBezelLip = Rgb(0x4A, 0x52, 0x5E);

// Read-outs.
inline constexpr uint32_t kLit = Rgb(0x8C, 0xF0, 0xFF);
inline constexpr uint32_t kLitCore = Rgb(0xC8, 0xFA, 0xFF);
inline constexpr uint32_t kDim = Rgb(0x2B, 0x6E, 0x80);
inline constexpr uint32_t kOff = Rgb(0x1C, 0x3A, 0x46);
inline constexpr uint32_t kLabel = Rgb(0x5E, 0x86, 0x9A);
inline constexpr uint32_t kAccent = Rgb(0xFF, 0xB4, 0x4A);
inline constexpr uint32_t kAlert = Rgb(0xFF, 0x55, 0x4D);

// Buttons.
inline constexpr uint32_t kButtonTop = Rgb(0x4A, 0x50, 0x5A);
inline constexpr uint32_t kButtonBottom = Rgb(0x2C, 0x30, 0x37);
inline constexpr uint32_t kButtonLitTop = Rgb(0x50, 0x5A, 0x66);
inline constexpr uint32_t kButtonLitBottom = Rgb(0x2E, 0x36, 0x40);
inline constexpr uint32_t kButtonPressedTop = Rgb(0x1A, 0x1C, 0x20);
inline constexpr uint32_t kButtonPressedBottom = Rgb(0x2A, 0x2E, 0x34);
inline constexpr uint32_t kButtonEdge = Rgb(0x0C, 0x0D, 0x10);
inline constexpr uint32_t kButtonShine = Rgb(0x6C, 0x74, 0x80);
inline constexpr uint32_t kIcon = Rgb(0xD2, 0xD8, 0xE0);

}  // namespace zcd::skin_gen::palette
