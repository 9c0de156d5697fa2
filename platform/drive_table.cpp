#include "platform/drive_table.h"

#include <algorithm>
#include <charconv>

#include "audio/image_sector_source.h"
#include "audio/paranoia_sector_source.h"
#include "cd/drive_list.h"
#include "platform/linux/linux_cd_device.h"
#include "platform/virtual/cue_sheet.h"

namespace zcd {
namespace {

constexpr int kFirstCdLetterIndex = 3;  // D:

// The n of "sr<n>", none for other names.
std::optional<int> DeviceNumber(const std::string& name) {
  if (name.size() < 3 || name.size() > 6 || name.compare(0, 2, "sr") != 0)
    return std::nullopt;
  int number = 0;
  auto [end, error] = std::from_chars(name.data() + 2, name.data() + name.size(), number);
  if (error != std::errc() || end != name.data() + name.size())
    return std::nullopt;
  return number;
}

}  // namespace

std::vector<std::filesystem::path> FindCdDeviceFiles(const std::filesystem::path& dev_dir) {
  std::vector<std::pair<int, std::filesystem::path>> found;
  std::error_code error;
  for (const auto& item : std::filesystem::directory_iterator(dev_dir, error)) {
    if (auto number = DeviceNumber(item.path().filename().string()))
      found.emplace_back(*number, item.path());
  }
  std::sort(found.begin(), found.end());
  std::vector<std::filesystem::path> paths;
  for (auto& [number, path] : found)
    paths.push_back(std::move(path));
  return paths;
}

DriveTable::DriveTable(std::filesystem::path dev_dir, std::shared_ptr<const Clock> clock)
    : clock_(std::move(clock)) {
  for (auto& device : FindCdDeviceFiles(dev_dir)) {
    Entry entry;
    entry.device = std::move(device);
    AddEntry(std::move(entry));
  }
}

DriveTable::AddResult DriveTable::AddEntry(Entry entry) {
  int index = entries_.empty() ? kFirstCdLetterIndex : entries_.back().index + 1;
  if (index >= kDriveIndexCount)
    return {std::nullopt, "no drive letter is left after Z:"};
  entry.index = index;
  entries_.push_back(std::move(entry));
  return {index, {}};
}

DriveTable::AddResult DriveTable::AddVirtualDrive(const std::filesystem::path& cue_path) {
  CueSheetResult sheet = LoadCueSheet(cue_path);
  if (!sheet.disc)
    return {std::nullopt, cue_path.string() + ": " + sheet.error};
  Entry entry;
  entry.virtual_drive = VirtualDrive::Create(clock_, std::move(sheet.disc));
  entry.source = cue_path.string();
  return AddEntry(std::move(entry));
}

DriveTable::AddResult DriveTable::AddVirtualDisc(VirtualDisc disc) {
  return AddVirtualDrive(VirtualDrive::Create(clock_, std::move(disc)));
}

DriveTable::AddResult DriveTable::AddVirtualDrive(std::shared_ptr<VirtualDrive> drive) {
  if (!drive)
    return {std::nullopt, "no virtual drive given"};
  Entry entry;
  entry.virtual_drive = std::move(drive);
  entry.source = "built in code";
  return AddEntry(std::move(entry));
}

const DriveTable::Entry* DriveTable::Find(int drive_index) const {
  auto it = std::find_if(entries_.begin(), entries_.end(),
                         [&](const Entry& entry) { return entry.index == drive_index; });
  return it == entries_.end() ? nullptr : &*it;
}

std::vector<int> DriveTable::CdDriveIndices() const {
  std::vector<int> indices;
  for (const Entry& entry : entries_)
    indices.push_back(entry.index);
  return indices;
}

std::unique_ptr<CdDevice> DriveTable::OpenDrive(int drive_index, bool shared) {
  const Entry* entry = Find(drive_index);
  if (!entry)
    return nullptr;
  std::unique_ptr<CdDevice> device = entry->virtual_drive
                                         ? entry->virtual_drive->Open(shared)
                                         : LinuxCdDevice::Open(entry->device.string(), shared);
  std::optional<DigitalOutput> output;
  {
    std::lock_guard guard(output_lock_);
    output = output_;
  }
  if (!device || !output)
    return device;
  if (entry->virtual_drive) {
    std::optional<VirtualDisc> disc = entry->virtual_drive->Disc();
    if (!disc || disc->audio.empty())
      return device;
    return std::make_unique<DigitalCdDevice>(
        std::move(device), [layout = disc->audio] { return OpenImageSource(layout); },
        std::move(*output));
  }
  return std::make_unique<DigitalCdDevice>(
      std::move(device), [path = entry->device.string()] { return OpenParanoiaSource(path); },
      std::move(*output));
}

void DriveTable::SetDigitalOutput(std::optional<DigitalOutput> output) {
  std::lock_guard guard(output_lock_);
  output_ = std::move(output);
}

bool DriveTable::digital() const {
  std::lock_guard guard(output_lock_);
  return output_.has_value();
}

std::string DriveTable::LetterOf(int drive_index) const {
  return Find(drive_index) ? DriveLetterName(drive_index) : std::string();
}

std::shared_ptr<VirtualDrive> DriveTable::VirtualDriveAt(int drive_index) const {
  const Entry* entry = Find(drive_index);
  return entry ? entry->virtual_drive : nullptr;
}

std::optional<std::filesystem::path> DriveTable::DevicePathAt(int drive_index) const {
  const Entry* entry = Find(drive_index);
  if (!entry || entry->virtual_drive)
    return std::nullopt;
  return entry->device;
}

std::string DriveTable::Describe() const {
  if (entries_.empty())
    return "no CD drives\n";
  std::string text;
  for (const Entry& entry : entries_) {
    text += DriveLetterName(entry.index) + " ";
    if (!entry.virtual_drive) {
      text += entry.device.string() + "\n";
      continue;
    }
    text += "virtual drive (" + entry.source + "): ";
    std::optional<VirtualDisc> disc = entry.virtual_drive->Disc();
    if (!disc) {
      text += "no disc\n";
      continue;
    }
    if (!disc->title.empty())
      text += "\"" + disc->title + "\", ";
    text += std::to_string(disc->tracks.size()) + " tracks\n";
  }
  return text;
}

}  // namespace zcd
