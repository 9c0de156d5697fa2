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

}  // namespace
}  // namespace zcd
