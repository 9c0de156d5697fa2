#pragma once

#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "audio/digital_cd_device.h"
#include "cd/cd_device.h"
#include "platform/virtual/clock.h"
#include "platform/virtual/virtual_disc.h"
#include "platform/virtual/virtual_drive.h"

namespace zcd {

// The drives the player can choose from, by drive index (0 = A .. 25 = Z).
//
// The machine's CD drives are found as sr0, sr1, ... in the device folder and
// take letters from D: upward in device order. Virtual drives take the
// letters after them, in the order they are added:
//
//   DriveTable table(/*dev_dir=*/"/dev", clock);
//   DriveTable::AddResult added = table.AddVirtualDrive(cue_path);
//   if (!added.index) report(added.error);
//   std::unique_ptr<CdDevice> device = table.OpenDrive(*added.index, /*shared=*/true);
//   table.VirtualDriveAt(*added.index)->RemoveDisc();  // as a user would
//
// Drives are added during start-up on the window thread; afterwards the table
// only reads its list, so OpenDrive and the accessors may be used anywhere.
class DriveTable : public CdDriveSource {
 public:
  struct AddResult {
    std::optional<int> index;
    std::string error;  // why there is no index
  };

  DriveTable(std::filesystem::path dev_dir, std::shared_ptr<const Clock> clock);

  // A drive holding the disc a cue sheet describes.
  AddResult AddVirtualDrive(const std::filesystem::path& cue_path);
  // A drive holding a disc built in code.
  AddResult AddVirtualDisc(VirtualDisc disc);
  // A drive made elsewhere, e.g. one a test keeps a handle on.
  AddResult AddVirtualDrive(std::shared_ptr<VirtualDrive> drive);

  std::vector<int> CdDriveIndices() const override;
  // With a digital output, a machine drive and a virtual drive whose disc has
  // audio files are played through the sound card; a virtual disc of times
  // alone keeps its silent clock.
  std::unique_ptr<CdDevice> OpenDrive(int drive_index, bool shared) override;

  // Drives opened from now on play through `output`, or, with none, on their
  // own. Any thread.
  void SetDigitalOutput(std::optional<DigitalOutput> output);
  bool digital() const;

  // "D:" for a known drive, empty otherwise.
  std::string LetterOf(int drive_index) const;
  // Null unless the index is a virtual drive.
  std::shared_ptr<VirtualDrive> VirtualDriveAt(int drive_index) const;
  // The device file of a machine drive.
  std::optional<std::filesystem::path> DevicePathAt(int drive_index) const;
  // One line per drive, for --help and diagnostics.
  std::string Describe() const;

  const std::shared_ptr<const Clock>& clock() const { return clock_; }

 private:
  struct Entry {
    int index = 0;
    std::filesystem::path device;                 // a machine drive
    std::shared_ptr<VirtualDrive> virtual_drive;  // or a virtual one
    std::string source;                           // what the virtual drive came from
  };

  const Entry* Find(int drive_index) const;
  AddResult AddEntry(Entry entry);

  std::shared_ptr<const Clock> clock_;
  std::vector<Entry> entries_;
  mutable std::mutex output_lock_;
  std::optional<DigitalOutput> output_;
};

// The sr<n> entries of a device folder, in device order.
std::vector<std::filesystem::path> FindCdDeviceFiles(const std::filesystem::path& dev_dir);

}  // namespace zcd
