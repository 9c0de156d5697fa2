#include "support/golden.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "skin/bmp_codec.h"

namespace zcd::test {
namespace {

std::string GoldenPath(const std::string& name, std::string_view suffix) {
  const std::string folder = std::string(ZCD_SOURCE_DIR) + "/tests/golden";
  std::error_code ignored;
  std::filesystem::create_directories(folder, ignored);
  return folder + "/" + name + std::string(suffix);
}

}  // namespace

Bitmap ToBitmap(const Surface& surface) {
  std::lock_guard lock(surface.lock());
  Bitmap bitmap(surface.width(), surface.height());
  for (int y = 0; y < surface.height(); ++y) {
    for (int x = 0; x < surface.width(); ++x)
      bitmap.At(x, y) = surface.At(x, y) | kOpaque;
  }
  return bitmap;
}

::testing::AssertionResult MatchesGolden(const Bitmap& image, const std::string& name) {
  const std::string expected_path = GoldenPath(name, ".bmp");
  const std::string actual_path = GoldenPath(name, ".actual.bmp");
  const char* update = std::getenv("ZCD_UPDATE_GOLDEN");
  if (update != nullptr && std::string_view(update) == "1") {
    std::string error;
    if (!SaveBmpFile(image, expected_path, &error))
      return ::testing::AssertionFailure() << "cannot write " << expected_path << ": " << error;
    return ::testing::AssertionSuccess();
  }
  std::string error;
  const std::optional<Bitmap> expected = LoadBmpFile(expected_path, &error);
  if (expected && *expected == image) {
    std::remove(actual_path.c_str());
    return ::testing::AssertionSuccess();
  }
  SaveBmpFile(image, actual_path);
  auto failure = ::testing::AssertionFailure();
  if (!expected)
    return failure << "no golden image " << expected_path << " (" << error
                   << "); actual written to " << actual_path;
  if (expected->width != image.width || expected->height != image.height) {
    return failure << name << ": size " << image.width << "x" << image.height << ", expected "
                   << expected->width << "x" << expected->height << "; actual in " << actual_path;
  }
  int differing = 0;
  int first_x = -1;
  int first_y = -1;
  for (int y = 0; y < image.height; ++y) {
    for (int x = 0; x < image.width; ++x) {
      if (image.At(x, y) != expected->At(x, y) && differing++ == 0) {
        first_x = x;
        first_y = y;
      }
    }
  }
  return failure << name << ": " << differing << " pixels differ, the first at " << first_x << ","
                 << first_y << "; actual in " << actual_path;
}

}  // namespace zcd::test
