#include "cd/drive_list.h"

#include <algorithm>
#include <cctype>

namespace zcd {

CdDriveList ListCdDrives(const CdDriveSource& drives) {
  CdDriveList list;
  for (int index : drives.CdDriveIndices()) {
    if (index >= 0 && index < kDriveIndexCount)
      list.indices.push_back(index);
  }
  std::sort(list.indices.begin(), list.indices.end());
  list.indices.erase(std::unique(list.indices.begin(), list.indices.end()), list.indices.end());
  return list;
}

std::optional<char> DriveLetter(int drive_index) {
  if (drive_index < 0 || drive_index >= kDriveIndexCount)
    return std::nullopt;
  return static_cast<char>('A' + drive_index);
}

std::string DriveLetterName(int drive_index) {
  std::optional<char> letter = DriveLetter(drive_index);
  if (!letter)
    return {};
  return std::string{*letter, ':'};
}

std::optional<int> DriveIndexOfName(const std::string& name) {
  if (name.empty() || name.size() > 2 || (name.size() == 2 && name[1] != ':'))
    return std::nullopt;
  int letter = std::toupper(static_cast<unsigned char>(name[0]));
  if (letter < 'A' || letter > 'Z')
    return std::nullopt;
  return letter - 'A';
}

}  // namespace zcd
