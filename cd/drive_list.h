#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cd/cd_device.h"

namespace zcd {

// Drive indices run from 0 (A) to 25 (Z); settings, menus and the command line
// name drives by letter.
inline constexpr int kDriveIndexCount = 26;

// The machine's CD drives, built once at start-up and kept for the run.
struct CdDriveList {
  std::vector<int> indices;  // ascending
  int count() const { return static_cast<int>(indices.size()); }
};

CdDriveList ListCdDrives(const CdDriveSource& drives);

// 'A' + index; none outside 0..25.
std::optional<char> DriveLetter(int drive_index);
// "%c:" of the drive letter, e.g. "D:"; empty outside 0..25.
std::string DriveLetterName(int drive_index);
// Accepts "d", "D" or "D:".
std::optional<int> DriveIndexOfName(const std::string& name);

}  // namespace zcd
