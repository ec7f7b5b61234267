#include "app/settings_binding.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include "platform/folders.h"
#include "support/test_support.h"

namespace vmk::app {
namespace {

// The test programs are built beside VMK21.so, so their program directory holds the library.
class SettingsBindingTest : public ::testing::Test {
 protected:
  void SetUp() override { setenv("VELDMARK_ROOT", root_.path().c_str(), 1); }
  void TearDown() override { unsetenv("VELDMARK_ROOT"); }
  testing::TempDir root_;
};

TEST_F(SettingsBindingTest, CallsTheExportsByNameWithAndWithoutAGroup) {
  SettingsBinding settings(platform::ProgramDirectory());
  {
    SettingsBinding::Group startup(settings);
    EXPECT_EQ(settings.Startup(), 0);
    EXPECT_EQ(settings.ReadPath(35), platform::DataDirectory());
    {
      SettingsBinding::Group inner(settings);
      EXPECT_EQ(settings.ReadPhonetik(), "0");
    }
    EXPECT_EQ(settings.ReadSelectedUNDisplayItems(), std::string(20, '1'));
  }
  settings.WritePhonetik("2");
  settings.WritePerson(5, "Berlin");
  settings.SetProxyInfo("10.1.2.3:80", 1);
  settings.SetProxyStorage(1);
  settings.WriteSelectedDisplayItems("1", "0", "1", "0");
  EXPECT_EQ(settings.ExtMail("smtp.local", "25", "u", "pw"), 1);
  EXPECT_EQ(settings.ReadPhonetik(), "2");
  EXPECT_EQ(settings.ReadPerson(5), "Berlin");
  EXPECT_EQ(settings.GetProxyInfo(), "10.1.2.3:80");
  EXPECT_EQ(settings.ReadSelectedUKDisplayItems(), "1");
  EXPECT_EQ(settings.ReadExtMailServer(), "smtp.local");
  EXPECT_FALSE(settings.Failed()) << settings.Error();
}

TEST_F(SettingsBindingTest, MissingLibraryGivesEmptyResultsAndSaysWhy) {
  SettingsBinding settings(root_.path());
  EXPECT_EQ(settings.Startup(), 0);
  EXPECT_EQ(settings.ReadSavePath(), "");
  EXPECT_TRUE(settings.Failed());
  EXPECT_NE(settings.Error().find("VMK21.so"), std::string::npos) << settings.Error();
  SettingsBinding::Group group(settings);
  EXPECT_EQ(settings.GetLanguage(), 0);
}

}  // namespace
}  // namespace vmk::app
