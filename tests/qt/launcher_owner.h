#pragma once

#include <gtest/gtest.h>

#include "app/dialog_launcher.h"
#include "app/settings_file.h"
#include "support/temp_dir.h"

namespace zcd::test {

// The player's side as the dialog launcher sees it, writing the real
// settings file into the test's folder.
class LauncherOwner : public DialogOwner {
 public:
  explicit LauncherOwner(const TempDir& dir) : folder_{dir.path(), dir.path()} {}
  Settings& PlayerSettings() override { return settings_; }
  void SelectSkin(const std::string&) override {}
  void ApplyPreferences(const Settings&) override {}
  void SaveSettings() override {
    ASSERT_EQ(WriteSettings(settings_, folder_.ini_path(), folder_.data_dir), "");
  }
  int CdDriveCount() const override { return 1; }
  const DataFolder& PlayerFolder() const override { return folder_; }

 private:
  DataFolder folder_;
  Settings settings_;
};

}  // namespace zcd::test
