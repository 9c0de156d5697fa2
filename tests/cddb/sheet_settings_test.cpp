#include "cddb/sheet_settings.h"

#include <gtest/gtest.h>

namespace zcd {
namespace {

TEST(SheetSettingsTest, ProxyIsOnOnlyWithHostAndPortAndAuthOnlyWithBothCredentials) {
  struct Case {
    ProxyInput input;
    int use_proxy;
    int port;
    int use_auth;
  };
  const Case cases[] = {
      {{true, true, "gate", "3128", "me", "pw"}, 1, 3128, 1},
      {{true, true, "", "3128", "me", "pw"}, 0, 3128, 1},
      {{true, false, "gate", "0", "", ""}, 0, 0, 0},
      {{true, false, "gate", "", "", ""}, 0, 0, 0},
      {{true, false, "gate", "70000", "", ""}, 0, 0, 0},
      {{true, false, "gate", "80x", "", ""}, 0, 0, 0},
      {{true, true, "gate", "8080", "me", ""}, 1, 8080, 0},
      {{true, true, "gate", "8080", "", "pw"}, 1, 8080, 0},
      {{false, true, "gate", "8080", "me", "pw"}, 0, 8080, 1},
      {{true, false, "gate", "8080", "me", "pw"}, 1, 8080, 0},
  };
  for (const Case& c : cases) {
    Settings settings;
    settings.UseProxy = 1;
    settings.useProxyAuth = 1;
    StoreProxy(c.input, settings);
    SCOPED_TRACE(c.input.host + ":" + c.input.port + " " + c.input.user + "/" + c.input.password);
    EXPECT_EQ(settings.UseProxy, c.use_proxy);
    EXPECT_EQ(settings.Port, c.port);
    EXPECT_EQ(settings.useProxyAuth, c.use_auth);
    // Empty boxes are stored as no value, not as empty texts.
    EXPECT_EQ(settings.HostName.has_value(), !c.input.host.empty());
    EXPECT_EQ(settings.Username.has_value(), !c.input.user.empty());
    EXPECT_EQ(settings.Password.has_value(), !c.input.password.empty());
  }
}

TEST(SheetSettingsTest, CopyTakesTheSheetsValuesAndNothingElse) {
  Settings edited;
  edited.NetTimeout = 5;
  edited.LogFile = "/tmp/log.txt";
  edited.UserEmail = "me@example.org";
  edited.NumServers = 1;
  edited.Server = {std::string("a 888 CDDBP - 1 .")};
  edited.NoCacheData = 1;
  edited.Password = "pw";
  edited.xWinPos = 500;  // moved while the sheet was open: not the sheet's
  edited.SkinName = "Other";
  Settings player;
  player.xWinPos = 7;
  CopyCddbSettings(edited, player);
  Settings expected = edited;
  expected.xWinPos = 7;
  expected.SkinName = "";
  EXPECT_EQ(player, expected);
}

TEST(SheetSettingsTest, CachedCountWording) {
  EXPECT_EQ(CachedCountText(0), "0 entries cached");
  EXPECT_EQ(CachedCountText(1), "1 entry cached");
  EXPECT_EQ(CachedCountText(3), "3 entries cached");
  EXPECT_EQ(CachedCountText(-1), "");
}

}  // namespace
}  // namespace zcd
