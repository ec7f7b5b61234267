#include "platform/registry.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "support/test_support.h"

namespace vmk::platform {
namespace {

namespace fs = std::filesystem;
using ::testing::internal::CaptureStderr;
using ::testing::internal::GetCapturedStderr;

constexpr RegistryRoot kUser = RegistryRoot::CurrentUser;
constexpr RegistryRoot kMachine = RegistryRoot::LocalMachine;
constexpr const char* kSettingsKey = "Software\\Brandell\\Veldmark";
constexpr const char* kCommunicationKey = "Software\\Brandell\\Veldmark\\Communication";

unsigned Mode(const fs::path& path) {
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

class RegistryTest : public ::testing::Test {
 protected:
  vmk::testing::TempDir dir_;
  // The folder is missing too: creating the first key has to make it.
  fs::path file_ = dir_ / "config" / "registry.sqlite";
  Registry registry_{file_};
};

TEST_F(RegistryTest, MissingStoreReadsAsAbsentAndDropsWritesWithoutCreatingTheFile) {
  EXPECT_FALSE(registry_.KeyExists(kUser, kSettingsKey));
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Phonetik"), "");
  EXPECT_EQ(registry_.ReadDword(kUser, kSettingsKey, "Language"), 0u);
  EXPECT_FALSE(registry_.WriteString(kUser, kSettingsKey, "Phonetik", "1"));
  EXPECT_FALSE(registry_.WriteDword(kUser, kSettingsKey, "Language", 1));
  EXPECT_FALSE(registry_.DeleteValue(kUser, kSettingsKey, "Phonetik"));
  EXPECT_FALSE(registry_.DeleteKey(kUser, kSettingsKey));
  EXPECT_FALSE(fs::exists(file_.parent_path()));
}

TEST_F(RegistryTest, EmptyStoreFileJustCreatedElsewhereReadsAsEmptyWithoutWarning) {
  fs::create_directories(file_.parent_path());
  vmk::testing::WriteFile(file_, "");
  unsetenv("VELDMARK_REGISTRY_WARNED");
  CaptureStderr();
  EXPECT_FALSE(registry_.KeyExists(kUser, kSettingsKey));
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Phonetik"), "");
  EXPECT_FALSE(registry_.WriteString(kUser, kSettingsKey, "Phonetik", "1"));
  EXPECT_EQ(GetCapturedStderr(), "");
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  EXPECT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Phonetik", "1"));
}

TEST_F(RegistryTest, CreateKeyMakesEveryParentAndAPrivateFile) {
  ASSERT_TRUE(registry_.CreateKey(kUser, kCommunicationKey));
  for (const char* key : {"Software", "Software\\Brandell", kSettingsKey, kCommunicationKey}) {
    SCOPED_TRACE(key);
    EXPECT_TRUE(registry_.KeyExists(kUser, key));
  }
  EXPECT_FALSE(registry_.KeyExists(kUser, "Software\\Brandell\\Other"));
  EXPECT_FALSE(registry_.KeyExists(kUser, "Software\\Brand"));
  EXPECT_EQ(Mode(file_), 0600u);
  EXPECT_EQ(Mode(file_.parent_path()), 0700u);
  EXPECT_TRUE(registry_.CreateKey(kUser, kCommunicationKey)) << "an existing key is no failure";
}

TEST_F(RegistryTest, WriteIntoAMissingKeyOfAnExistingStoreIsDropped) {
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  EXPECT_FALSE(registry_.WriteString(kUser, kCommunicationKey, "SMTPServer", "mail"));
  EXPECT_FALSE(registry_.KeyExists(kUser, kCommunicationKey));
  EXPECT_EQ(registry_.ReadString(kUser, kCommunicationKey, "SMTPServer"), "");
}

TEST_F(RegistryTest, KeyPathsAndValueNamesIgnoreCaseALeadingAndATrailingBackslash) {
  ASSERT_TRUE(registry_.CreateKey(kUser, "\\Software\\Brandell\\Veldmark"));
  ASSERT_TRUE(registry_.WriteDword(kUser, kSettingsKey, "Autosequence", 3));
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Firma Zusatz", "Einkauf"));
  for (const char* key : {"Software\\Brandell\\Veldmark", "\\Software\\Brandell\\Veldmark",
                          "SOFTWARE\\brandell\\VeldMark", "software\\brandell\\veldmark\\"}) {
    SCOPED_TRACE(key);
    EXPECT_TRUE(registry_.KeyExists(kUser, key));
    EXPECT_EQ(registry_.ReadDword(kUser, key, "AutoSequence"), 3u);
    EXPECT_EQ(registry_.ReadString(kUser, key, "FIRMA ZUSATZ"), "Einkauf");
  }
  // Another spelling names the same value: it is replaced, not added.
  ASSERT_TRUE(registry_.WriteDword(kUser, "\\SOFTWARE\\BRANDELL\\VELDMARK", "AUTOSEQUENCE", 5));
  EXPECT_EQ(registry_.ReadDword(kUser, kSettingsKey, "Autosequence"), 5u);
  ASSERT_TRUE(registry_.DeleteValue(kUser, kSettingsKey, "autosequence"));
  EXPECT_FALSE(registry_.DeleteValue(kUser, kSettingsKey, "AutoSequence"));
}

TEST_F(RegistryTest, ValuesReadOnlyWithTheirOwnType) {
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Phonetik", "2"));
  ASSERT_TRUE(registry_.WriteDword(kUser, kSettingsKey, "Language", 0xFFFFFFFFu));
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Phonetik"), "2");
  EXPECT_EQ(registry_.ReadDword(kUser, kSettingsKey, "Phonetik"), 0u);
  EXPECT_EQ(registry_.ReadDword(kUser, kSettingsKey, "Language"), 0xFFFFFFFFu);
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Language"), "");
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Missing"), "");
  EXPECT_EQ(registry_.ReadDword(kUser, kSettingsKey, "Missing"), 0u);

  // Writing the other type replaces value and type.
  ASSERT_TRUE(registry_.WriteDword(kUser, kSettingsKey, "Phonetik", 7));
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Phonetik"), "");
  EXPECT_EQ(registry_.ReadDword(kUser, kSettingsKey, "Phonetik"), 7u);
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Language", "1"));
  EXPECT_EQ(registry_.ReadDword(kUser, kSettingsKey, "Language"), 0u);
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Language"), "1");
}

TEST_F(RegistryTest, StringsRoundTripByteExactAndTheEmptyStringIsAValue) {
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  const std::string texts[] = {"\xC4\xDF", vmk::text::Win1252("Müller & Söhne, Straße 5"), "\x80\x81\xFF",
                               "plain"};
  for (const std::string& value : texts) {
    SCOPED_TRACE(value);
    ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Strasse", value));
    EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Strasse"), value);
  }
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Firma", ""));
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Firma"), "");
  EXPECT_TRUE(registry_.DeleteValue(kUser, kSettingsKey, "Firma")) << "the empty string is stored as a value";
}

TEST_F(RegistryTest, DeleteKeyRemovesOnlyAKeyWithoutSubkeysWithItsValues) {
  ASSERT_TRUE(registry_.CreateKey(kUser, kCommunicationKey));
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Phonetik", "1"));
  ASSERT_TRUE(registry_.WriteString(kUser, kCommunicationKey, "Port", "25"));

  EXPECT_FALSE(registry_.DeleteKey(kUser, "SOFTWARE\\BRANDELL\\VELDMARK")) << "has a subkey";
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Phonetik"), "1");

  EXPECT_TRUE(registry_.DeleteKey(kUser, "\\software\\brandell\\veldmark\\COMMUNICATION"));
  EXPECT_FALSE(registry_.KeyExists(kUser, kCommunicationKey));
  EXPECT_FALSE(registry_.DeleteKey(kUser, kCommunicationKey)) << "already gone";
  ASSERT_TRUE(registry_.CreateKey(kUser, kCommunicationKey));
  EXPECT_EQ(registry_.ReadString(kUser, kCommunicationKey, "Port"), "") << "values went with the key";

  EXPECT_TRUE(registry_.DeleteKey(kUser, kCommunicationKey));
  EXPECT_TRUE(registry_.DeleteKey(kUser, kSettingsKey));
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Phonetik"), "");
  EXPECT_TRUE(registry_.KeyExists(kUser, "Software\\Brandell"));
}

TEST_F(RegistryTest, TheTwoRootsAreSeparate) {
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Ort", "Bremen"));
  EXPECT_FALSE(registry_.KeyExists(kMachine, kSettingsKey));
  EXPECT_EQ(registry_.ReadString(kMachine, kSettingsKey, "Ort"), "");
  EXPECT_FALSE(registry_.WriteString(kMachine, kSettingsKey, "Ort", "Kiel"));

  ASSERT_TRUE(registry_.CreateKey(kMachine, kSettingsKey));
  ASSERT_TRUE(registry_.WriteString(kMachine, kSettingsKey, "Ort", "Kiel"));
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Ort"), "Bremen");
  EXPECT_TRUE(registry_.DeleteKey(kMachine, kSettingsKey));
  EXPECT_TRUE(registry_.KeyExists(kUser, kSettingsKey));
}

TEST_F(RegistryTest, SystemKeysAlwaysExistAndAcceptWritesIntoAMissingStore) {
  struct Case {
    RegistryRoot root;
    std::string_view key;
    bool exists;
  };
  const Case cases[] = {{kUser, kInternetSettingsKey, true},
                        {kUser, kRunKey, true},
                        {kUser, "software\\microsoft\\windows", true},
                        {kUser, "Software", true},
                        {kMachine, kComputerNameKey, true},
                        {kMachine, "SYSTEM\\ControlSet001", true},
                        {kMachine, kRunKey, false},
                        {kUser, kComputerNameKey, false},
                        {kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.key);
    EXPECT_EQ(registry_.KeyExists(c.root, c.key), c.exists);
  }
  EXPECT_FALSE(fs::exists(file_)) << "asking creates nothing";

  ASSERT_TRUE(registry_.WriteDword(kUser, kInternetSettingsKey, "ProxyEnable", 1));
  EXPECT_EQ(Mode(file_), 0600u);
  EXPECT_EQ(registry_.ReadDword(kUser, "\\" + std::string(kInternetSettingsKey), "proxyenable"), 1u);
  ASSERT_TRUE(registry_.WriteString(kUser, kRunKey, "VMK2Autostart", "/opt/veldmark/autostart"));
  EXPECT_EQ(registry_.ReadString(kUser, kRunKey, "VMK2Autostart"), "/opt/veldmark/autostart");
  EXPECT_FALSE(registry_.DeleteKey(kUser, "Software\\Microsoft")) << "holds the system keys";
}

TEST_F(RegistryTest, ComputerNameFallsBackToTheHostName) {
  std::string host = vmk::testing::ReadFile("/proc/sys/kernel/hostname");
  host.erase(std::remove(host.begin(), host.end(), '\n'), host.end());
  ASSERT_FALSE(host.empty());
  EXPECT_EQ(registry_.ReadString(kMachine, kComputerNameKey, "ComputerName"), host);
  EXPECT_EQ(registry_.ReadString(kUser, kComputerNameKey, "ComputerName"), "");
  EXPECT_EQ(registry_.ReadString(kMachine, kComputerNameKey, "OtherName"), "");

  ASSERT_TRUE(registry_.WriteString(kMachine, kComputerNameKey, "ComputerName", "PC-07"));
  EXPECT_EQ(registry_.ReadString(kMachine, "\\" + std::string(kComputerNameKey), "computername"), "PC-07");
}

TEST(RegistryDefaultFile, LiesInTheConfigurationFolder) {
  vmk::testing::TempDir root;
  setenv("VELDMARK_ROOT", root.path().c_str(), 1);
  EXPECT_EQ(Registry().File(), root.path() / "config" / "registry.sqlite");
  unsetenv("VELDMARK_ROOT");
}

// A store that cannot be read: every read is absent, every write fails, one line on stderr in all.
void ExpectUnusableStore(const Registry& registry) {
  unsetenv("VELDMARK_REGISTRY_WARNED");
  CaptureStderr();
  for (int round = 0; round < 3; ++round) {
    EXPECT_FALSE(registry.KeyExists(kUser, kSettingsKey));
    EXPECT_EQ(registry.ReadString(kUser, kSettingsKey, "Phonetik"), "");
    EXPECT_EQ(registry.ReadDword(kUser, kInternetSettingsKey, "ProxyEnable"), 0u);
    EXPECT_FALSE(registry.CreateKey(kUser, kSettingsKey));
    EXPECT_FALSE(registry.WriteString(kUser, kSettingsKey, "Phonetik", "1"));
    EXPECT_FALSE(registry.WriteDword(kUser, kRunKey, "Autostart", 1));
    EXPECT_FALSE(registry.DeleteValue(kUser, kSettingsKey, "Phonetik"));
    EXPECT_FALSE(registry.DeleteKey(kUser, kSettingsKey));
  }
  const std::string output = GetCapturedStderr();
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 1) << output;
  EXPECT_TRUE(
      output.starts_with("veldmark: settings store " + registry.File().string() + " cannot be read ("))
      << output;
  unsetenv("VELDMARK_REGISTRY_WARNED");
}

TEST_F(RegistryTest, CorruptStoreReadsAsEmptyAndWarnsOnce) {
  std::mt19937 random(2129);
  std::string noise(8192, '\0');
  for (char& byte : noise) byte = static_cast<char>(random() & 0xFF);
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Phonetik", "1"));
  vmk::testing::WriteFile(file_, noise);
  ExpectUnusableStore(registry_);
}

TEST_F(RegistryTest, TruncatedStoreReadsAsEmptyAndWarnsOnce) {
  ASSERT_TRUE(registry_.CreateKey(kUser, kCommunicationKey));
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Phonetik", "1"));
  const std::string whole = vmk::testing::ReadFile(file_);
  ASSERT_GT(whole.size(), 4096u);
  vmk::testing::WriteFile(file_, whole.substr(0, 4096));
  ExpectUnusableStore(registry_);
}

TEST_F(RegistryTest, UnreadableStoreReadsAsEmptyAndWarnsOnce) {
  if (geteuid() == 0) GTEST_SKIP() << "root reads every file";
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  ASSERT_EQ(chmod(file_.c_str(), 0), 0);
  ExpectUnusableStore(registry_);
  chmod(file_.c_str(), 0600);
}

// Writes values "<prefix><i>" = base + i; true when every write succeeded.
bool WriteSeries(const Registry& registry, const std::string& prefix, std::uint32_t base, int count) {
  bool ok = true;
  for (int i = 0; i < count; ++i) {
    ok = registry.WriteDword(kUser, kSettingsKey, prefix + std::to_string(i), base + i) && ok;
  }
  return ok;
}

TEST_F(RegistryTest, ProcessesWritingAtOnceLoseNoValue) {
  constexpr int kChildren = 3;
  constexpr int kValues = 200;
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  std::vector<pid_t> children;
  for (int child = 1; child <= kChildren; ++child) {
    const pid_t pid = fork();
    ASSERT_NE(pid, -1);
    if (pid == 0)
      _exit(WriteSeries(registry_, "child" + std::to_string(child) + "-", child * 1000, kValues) ? 0 : 1);
    children.push_back(pid);
  }
  EXPECT_TRUE(WriteSeries(registry_, "parent-", 0, kValues));
  for (const pid_t pid : children) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a write of a child failed";
  }
  int missing = 0;
  for (int process = 0; process <= kChildren; ++process) {
    const std::string prefix = process == 0 ? "parent-" : "child" + std::to_string(process) + "-";
    for (int i = 0; i < kValues; ++i) {
      if (registry_.ReadDword(kUser, kSettingsKey, prefix + std::to_string(i)) !=
          std::uint32_t(process * 1000 + i)) {
        ++missing;
      }
    }
  }
  EXPECT_EQ(missing, 0);
}

TEST_F(RegistryTest, AValueWrittenByOneProcessIsReadAtOnceByAnother) {
  ASSERT_TRUE(registry_.CreateKey(kUser, kSettingsKey));
  ASSERT_TRUE(registry_.WriteString(kUser, kSettingsKey, "Phonetik", "0"));
  ASSERT_EQ(registry_.ReadString(kUser, kSettingsKey, "Phonetik"), "0");

  const pid_t pid = fork();
  ASSERT_NE(pid, -1);
  if (pid == 0) {
    const bool seen = registry_.ReadString(kUser, kSettingsKey, "Phonetik") == "0";
    _exit(seen && registry_.WriteString(kUser, kSettingsKey, "Phonetik", "3") ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(pid, &status, 0), pid);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(registry_.ReadString(kUser, kSettingsKey, "Phonetik"), "3");
}

}  // namespace
}  // namespace vmk::platform
