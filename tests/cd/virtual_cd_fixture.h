#pragma once

#include <chrono>
#include <memory>
#include <optional>

#include "cd/cd_state.h"
#include "platform/drive_table.h"
#include "platform/virtual/clock.h"
#include "platform/virtual/virtual_drive.h"
#include "support/temp_dir.h"

namespace zcd::test {

// One virtual drive in a drive table with no machine drives, on a manual clock.
struct VirtualCdFixture {
  explicit VirtualCdFixture(std::optional<VirtualDisc> disc)
      : drive(VirtualDrive::Create(clock, std::move(disc))),
        index(*table.AddVirtualDrive(drive).index) {}

  void Advance(int seconds) { clock->Advance(std::chrono::seconds(seconds)); }

  std::shared_ptr<ManualClock> clock = std::make_shared<ManualClock>();
  TempDir empty_dev;
  DriveTable table{empty_dev.path(), clock};
  std::shared_ptr<VirtualDrive> drive;
  int index;
};

}  // namespace zcd::test
