#pragma once

#include <gtest/gtest.h>

#include <string>

#include "base/bitmap.h"
#include "base/surface.h"

namespace zcd::test {

// The picture as a bitmap, for comparing and saving.
Bitmap ToBitmap(const Surface& surface);

// Compares `image` pixel for pixel with tests/golden/<name>.bmp. On a
// mismatch the actual picture is written beside it as <name>.actual.bmp.
// With ZCD_UPDATE_GOLDEN=1 in the environment the expected file is
// (re)written instead, for a deliberate change of the look.
::testing::AssertionResult MatchesGolden(const Bitmap& image, const std::string& name);

}  // namespace zcd::test
