#include "cddb/client_identity.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace zcd {
namespace {

TEST(ClientIdentityTest, CapsNamesFillsInUnknownAndReplacesBlanks) {
  using Name = std::optional<std::string>;
  struct Case {
    Name user, host;
    std::string want_user, want_host;
  };
  const std::string long_name(200, 'n');
  const Case cases[] = {
      {"John Smith", "my box", "John_Smith", "my_box"},
      {"jo", "b", "jo", "unknown"},  // a one-character host name
      {"j", "bx", "j", "bx"},
      {std::nullopt, std::nullopt, "unknown", "unknown"},
      {"", "", "unknown", "unknown"},
      {long_name, " " + long_name, std::string(127, 'n'), "_" + std::string(126, 'n')},
  };
  for (const Case& c : cases) {
    const ClientIdentity id = MakeClientIdentity(c.user, c.host);
    EXPECT_EQ(id.user, c.want_user);
    EXPECT_EQ(id.host, c.want_host);
  }
}

TEST(ClientIdentityTest, AnAddressStandsForUserAndHostOnlyWhenAskedAndWhole) {
  const ClientIdentity system = MakeClientIdentity(SystemUserName(), SystemHostName());
  EXPECT_NE(system.user, "unknown");  // the test runs as a user with a name
  const ClientIdentity email = WorkerClientIdentity(true, "jo doe@mail.example");
  EXPECT_EQ(email.user, "jo_doe");
  EXPECT_EQ(email.host, "mail.example");
  for (const char* unusable : {"nobody", "@mail.example", "jo@", ""}) {
    const ClientIdentity id = WorkerClientIdentity(true, std::string(unusable));
    EXPECT_EQ(id.user, system.user) << unusable;
    EXPECT_EQ(id.host, system.host) << unusable;
  }
  EXPECT_EQ(WorkerClientIdentity(false, "jo@mail.example").user, system.user);
  EXPECT_EQ(WorkerClientIdentity(true, std::nullopt).host, system.host);
}

}  // namespace
}  // namespace zcd
