#include "cddb/base64.h"

#include <gtest/gtest.h>

#include <string>

namespace zcd {
namespace {

TEST(Base64Test, EncodesGroupsPaddingAndBreaksEvery72Characters) {
  const std::string x57(57, 'x');  // 19 groups: 76 characters
  const std::string e57 = EncodeBase64(x57);
  const std::string e54 = EncodeBase64(std::string(54, 'x'));
  const std::string e108 = EncodeBase64(std::string(108, 'x'));
  const std::string e114 = EncodeBase64(std::string(114, 'x'));
  EXPECT_EQ(EncodeBase64(""), "");
  EXPECT_EQ(EncodeBase64("a"), "YQ==");
  EXPECT_EQ(EncodeBase64("ab"), "YWI=");
  EXPECT_EQ(EncodeBase64("abc"), "YWJj");
  EXPECT_EQ(EncodeBase64(std::string("\xff\x00\xfb", 3)), "/wD7");
  EXPECT_EQ(EncodeBase64("user:pass"), "dXNlcjpwYXNz");
  // 54 bytes fill exactly one line: no break at the very end.
  std::string xxx18;
  for (int i = 0; i < 18; ++i)
    xxx18 += "eHh4";
  EXPECT_EQ(e54, xxx18);
  EXPECT_EQ(e57.size(), 72u + 2 + 4);
  EXPECT_EQ(e57.substr(72, 2), "\r\n");
  EXPECT_EQ(e57.substr(0, 72) + e57.substr(74), EncodeBase64Unbroken(x57));
  EXPECT_EQ(e57.substr(0, 72), e54);
  // Two full lines, then the end: one break only.
  EXPECT_EQ(e108.size(), 72u + 2 + 72);
  EXPECT_EQ(e114.size(), 72u + 2 + 72 + 2 + 8);
  EXPECT_EQ(e114.substr(146, 2), "\r\n");
  EXPECT_EQ(EncodeBase64Unbroken(std::string(114, 'x')).find('\r'), std::string::npos);
}

}  // namespace
}  // namespace zcd
