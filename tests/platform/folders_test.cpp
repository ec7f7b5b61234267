#include "platform/folders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <array>
#include <optional>
#include <string>

#include "support/test_support.h"

namespace vmk::platform {
namespace {

namespace fs = std::filesystem;

// Gives every test its own home and XDG folders and puts the caller's environment back afterwards.
class FoldersTest : public ::testing::Test {
 protected:
  static constexpr std::array<const char*, 4> kVariables{"VELDMARK_ROOT", "HOME", "XDG_CONFIG_HOME",
                                                         "XDG_DATA_HOME"};

  void SetUp() override {
    for (std::size_t i = 0; i < kVariables.size(); ++i) {
      if (const char* value = getenv(kVariables[i])) saved_[i] = value;
    }
    Set("HOME", home_);
    Set("XDG_CONFIG_HOME", config_);
    Set("XDG_DATA_HOME", data_);
    unsetenv("VELDMARK_ROOT");
  }
  void TearDown() override {
    for (std::size_t i = 0; i < kVariables.size(); ++i) {
      if (saved_[i]) {
        setenv(kVariables[i], saved_[i]->c_str(), 1);
      } else {
        unsetenv(kVariables[i]);
      }
    }
  }
  static void Set(const char* name, const std::string& value) { setenv(name, value.c_str(), 1); }

  vmk::testing::TempDir dir_;
  std::string home_ = (dir_ / "home").string();
  std::string config_ = (dir_ / "cfg").string();
  std::string data_ = (dir_ / "data").string();
  std::array<std::optional<std::string>, 4> saved_;
};

constexpr int kUnknownFolders[] = {-1, 0, 1, 4, 6, 27, 29, 34, 36, 45, 47, 999};

TEST_F(FoldersTest, WithARootEveryPlaceLiesBelowIt) {
  const std::string root = (dir_ / "root").string();
  for (const std::string& value : {root, root + "/"}) {
    SCOPED_TRACE(value);
    Set("VELDMARK_ROOT", value);
    const struct {
      int number;
      std::string folder;
    } cases[] = {{kFolderCommonAppData, root + "/appdata/"},
                 {kFolderLocalAppData, root + "/appdata/"},
                 {kFolderAppData, root + "/config/"},
                 {kFolderCommonDocuments, root + "/documents/"},
                 {kFolderPersonalDocuments, root + "/documents/"}};
    for (const auto& c : cases) {
      SCOPED_TRACE(c.number);
      EXPECT_EQ(SpecialFolder(c.number), c.folder);
    }
    for (int number : kUnknownFolders) EXPECT_EQ(SpecialFolder(number), "") << number;
    EXPECT_EQ(ConfigFolder(), root + "/config/");
    EXPECT_EQ(DataDirectory(), root + "/appdata/" + kDataDirectoryName + "/");
  }
  EXPECT_FALSE(fs::exists(root)) << "asking creates nothing";
}

TEST_F(FoldersTest, WithoutARootTheXdgPlacesOfTheUser) {
  for (bool emptyRoot : {false, true}) {
    SCOPED_TRACE(emptyRoot);
    if (emptyRoot) Set("VELDMARK_ROOT", "");
    EXPECT_EQ(ConfigFolder(), config_ + "/veldmark/");
    EXPECT_EQ(SpecialFolder(kFolderAppData), config_ + "/");
    EXPECT_EQ(SpecialFolder(kFolderCommonAppData), data_ + "/veldmark/");
    EXPECT_EQ(SpecialFolder(kFolderLocalAppData), data_ + "/veldmark/");
    EXPECT_EQ(SpecialFolder(kFolderCommonDocuments), home_ + "/Documents/");
    EXPECT_EQ(SpecialFolder(kFolderPersonalDocuments), home_ + "/Documents/");
    EXPECT_EQ(DataDirectory(), data_ + "/veldmark/" + kDataDirectoryName + "/");
    for (int number : kUnknownFolders) EXPECT_EQ(SpecialFolder(number), "") << number;
  }
  EXPECT_FALSE(fs::exists(config_));
  EXPECT_FALSE(fs::exists(data_));
}

TEST_F(FoldersTest, UnsetOrRelativeXdgVariablesFallBackToTheHomeFolder) {
  unsetenv("XDG_CONFIG_HOME");
  Set("XDG_DATA_HOME", "relative/data");
  EXPECT_EQ(ConfigFolder(), home_ + "/.config/veldmark/");
  EXPECT_EQ(SpecialFolder(kFolderAppData), home_ + "/.config/");
  EXPECT_EQ(SpecialFolder(kFolderCommonAppData), home_ + "/.local/share/veldmark/");
}

TEST_F(FoldersTest, DocumentsFolderComesFromUserDirs) {
  struct Case {
    std::string dirs, documents;
  };
  const Case cases[] = {
      {"XDG_DOCUMENTS_DIR=\"$HOME/Dokumente\"\n", home_ + "/Dokumente/"},
      {"# written by xdg-user-dirs-update\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
       "XDG_DOCUMENTS_DIR=\"/srv/shared docs/\"\nXDG_MUSIC_DIR=\"$HOME/Music\"\n",
       "/srv/shared docs/"},
      {"  XDG_DOCUMENTS_DIR=\"$HOME/Eigene \\\"Dateien\\\"\"\r\n", home_ + "/Eigene \"Dateien\"/"},
      {"XDG_DOCUMENTS_DIR=\"$HOME/Old\"\nXDG_DOCUMENTS_DIR=\"$HOME/New\"\n", home_ + "/New/"},
      {"XDG_DOCUMENTS_DIR=\"$HOME\"\n", home_ + "/"},
      {"XDG_DOCUMENTS_DIR=\"relative/docs\"\n", home_ + "/Documents/"},
      {"XDG_DOCUMENTS_DIR=\"$HOMEWORK/docs\"\n", home_ + "/Documents/"},
      {"XDG_DOCUMENTS_DIRS=\"/elsewhere\"\n#XDG_DOCUMENTS_DIR=\"/commented\"\n", home_ + "/Documents/"},
      {"", home_ + "/Documents/"},
  };
  fs::create_directories(config_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dirs);
    vmk::testing::WriteFile(fs::path(config_) / "user-dirs.dirs", c.dirs);
    EXPECT_EQ(SpecialFolder(kFolderCommonDocuments), c.documents);
    EXPECT_EQ(SpecialFolder(kFolderPersonalDocuments), c.documents);
  }
}

TEST(ProgramFolders, AreThoseOfTheTestExecutable) {
  const std::string file = ProgramFile();
  const std::string folder = ProgramDirectory();
  ASSERT_TRUE(folder.starts_with("/")) << folder;
  ASSERT_TRUE(folder.ends_with("/")) << folder;
  EXPECT_EQ(fs::path(file).filename(), "test_platform");
  EXPECT_EQ(folder + "test_platform", file);
  EXPECT_TRUE(fs::is_regular_file(folder + "test_platform"));
}

}  // namespace
}  // namespace vmk::platform
