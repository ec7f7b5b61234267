#include "platform/vendor_config.h"

#include <gtest/gtest.h>

#include "support/test_support.h"

namespace vmk::platform {
namespace {

TEST(VendorConfig, DefaultsWithoutFileAndValuesFromTheVendorSection) {
  testing::TempDir dir;
  const VendorConfig defaults = ReadVendorConfig(dir / "veldmark.conf");
  EXPECT_EQ(defaults.mailServer, "");
  EXPECT_EQ(defaults.mailPort, "25");
  EXPECT_EQ(defaults.mailPassword, "8Tolvan574.%");
  EXPECT_EQ(defaults.supportAddress, "support@veldmark.example");
  EXPECT_EQ(defaults.updateServer, "");

  testing::WriteFile(
      dir / "veldmark.conf",
      "# vendor infrastructure\r\n[Other]\r\nMailServer = wrong\r\n[vendor]\r\n"
      "  mailserver =  127.0.0.1  \r\nMailPort=2525\r\n; comment\r\nInfoAddress = info@x.example\r\n"
      "UpdateServer = http://127.0.0.1:8080\r\n");
  const VendorConfig config = ReadVendorConfig(dir / "veldmark.conf");
  EXPECT_EQ(config.mailServer, "127.0.0.1");
  EXPECT_EQ(config.mailPort, "2525");
  EXPECT_EQ(config.infoAddress, "info@x.example");
  EXPECT_EQ(config.supportAddress, "support@veldmark.example");
  EXPECT_EQ(config.updateServer, "http://127.0.0.1:8080");
}

}  // namespace
}  // namespace vmk::platform
