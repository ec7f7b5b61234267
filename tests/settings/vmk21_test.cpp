#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "platform/registry.h"
#include "platform/shared_library.h"
#include "support/test_support.h"

namespace vmk::settings {
namespace {

namespace fs = std::filesystem;
using platform::RegistryRoot;
using testing::ReadFile;
using testing::TempDir;

constexpr const char* kKey = "Software\\Brandell\\Veldmark";

// A throw-away installation root and the library loaded from the build, called by export name.
class Vmk21Test : public ::testing::Test {
 protected:
  void SetUp() override {
    setenv("VELDMARK_ROOT", root_.path().c_str(), 1);
    ASSERT_TRUE(library_.Load(VMK21_FILE)) << library_.Error();
  }
  void TearDown() override { unsetenv("VELDMARK_ROOT"); }

  template <typename F>
  F* Export(const char* name) {
    void* address = library_.Symbol(name);
    EXPECT_NE(address, nullptr) << name;
    return reinterpret_cast<F*>(address);
  }
  std::string Text(const char* name) { return Export<const char*()>(name)(); }
  int Number(const char* name) { return Export<int()>(name)(); }
  int SetText(const char* name, const char* value) { return Export<int(const char*)>(name)(value); }
  int SetNumber(const char* name, int value) { return Export<int(int)>(name)(value); }
  platform::Registry Store() const { return platform::Registry(root_ / "config" / "registry.sqlite"); }

  TempDir root_;
  platform::SharedLibrary library_;
};

TEST_F(Vmk21Test, BeforeTheKeyExistsReadsAreEmptyAndPlainWritesAreDropped) {
  for (const char* name : {"ReadPhonetik", "ReadSavePath", "ReadPerson6", "GetBatchPath", "ReadExtMailServer",
                           "ReadSelectedUSDisplayItems", "ReadLastUpdate"}) {
    EXPECT_EQ(Text(name), std::string()) << name;
  }
  for (const char* name : {"GetNurListenTreffer", "GetExtMailStatus", "GetLanguage", "GetProxyStorage",
                           "GetProxyStatus", "ReadAutoSequence"}) {
    EXPECT_EQ(Number(name), 0) << name;
  }
  EXPECT_EQ(Text("GetProxyInfo"), "-1");
  EXPECT_EQ(SetText("WritePhonetik", "2"), 0);
  EXPECT_EQ(SetNumber("SetLanguage", 2), 0);
  EXPECT_EQ(SetNumber("SetAutostartSequence", 1), 0);
  EXPECT_EQ(Text("ReadPhonetik"), "");
  EXPECT_FALSE(Store().KeyExists(RegistryRoot::CurrentUser, kKey));
}

TEST_F(Vmk21Test, TheThreeKeyCreatingExportsWork) {
  Export<int(const char*, const char*, const char*, const char*)>("WriteSelectedDisplayItems")("1", "01",
                                                                                               "001", "0001");
  EXPECT_EQ(Text("ReadSelectedEUDisplayItems"), "1");
  EXPECT_EQ(Text("ReadSelectedUKDisplayItems"), "001");
  EXPECT_EQ(Text("ReadSelectedUSDisplayItems"), "0001");
  EXPECT_EQ(Number("Startup"), 0);
  EXPECT_EQ(Text("ReadPhonetik"), "");  // the key existed, so no default was written
  EXPECT_EQ(Export<int(const char*, const char*, const char*, const char*)>("ExtMail")("mail.example", "25",
                                                                                       "u", "p"),
            1);
  EXPECT_EQ(Text("ReadExtMailServer"), "mail.example");
}

TEST_F(Vmk21Test, StartupWritesTheFirstRunDefaultsOnceAndTheValuesRoundTrip) {
  EXPECT_EQ(Number("Startup"), 0);
  const std::string documents = (root_ / "documents" / "Veldmark Dokumente").string() + "/";
  EXPECT_TRUE(fs::is_directory(documents));
  EXPECT_EQ(Text("ReadSavePath"), documents);
  EXPECT_EQ(Text("ReadPhonetik"), "0");
  EXPECT_EQ(Text("ReadPDFAnzeige"), "1");
  EXPECT_EQ(Text("ReadSelectedEUDisplayItems"), std::string(29, '1'));
  EXPECT_EQ(Text("ReadSelectedUSDisplayItems"), std::string(33, '1'));
  EXPECT_EQ(Number("GetExtMailStatus"), 1);
  EXPECT_EQ(Number("GetLanguage"), 1);
  EXPECT_EQ(Number("ReadAutoSequence"), 3);  // written as "Autosequence": names ignore case

  SetText("WritePhonetik", "3");
  SetText("WritePerson3", text::Win1252("Hauptstraße 1").c_str());
  SetNumber("SetNurListenTreffer", 5);
  EXPECT_EQ(Store().ReadString(RegistryRoot::CurrentUser, kKey, "Nur Listentreffer"), "5");
  EXPECT_EQ(Number("GetNurListenTreffer"), 5);
  SetText("SetBatchPDFOption", "1");
  Store().WriteString(RegistryRoot::CurrentUser, kKey, "ExtMail", "7x");
  EXPECT_EQ(Number("GetExtMailStatus"), 7);

  Store().DeleteValue(RegistryRoot::CurrentUser, kKey, "PdfAnzeige");
  EXPECT_EQ(Number("Startup"), 0);  // an existing key is left alone, missing values stay missing
  EXPECT_EQ(Text("ReadPhonetik"), "3");
  EXPECT_EQ(Text("ReadPerson3"), text::Win1252("Hauptstraße 1"));
  EXPECT_EQ(Text("ReadPDFAnzeige"), "");
  EXPECT_EQ(Text("GetBatchPDFOption"), "1");
}

TEST_F(Vmk21Test, StringResultStaysValidUntilTheNextCall) {
  Number("Startup");
  const char* phonetic = Export<const char*()>("ReadPhonetik")();
  const std::string copy = phonetic;
  EXPECT_EQ(std::string(phonetic), "0");
  Export<const char*()>("ReadSelectedEUDisplayItems")();
  EXPECT_EQ(copy, "0");
}

TEST_F(Vmk21Test, ProxySelectionStatusAndStorage) {
  Number("Startup");
  auto setProxy = Export<void(const char*, int)>("SetProxyInfo");
  const auto system = [&](const char* name) {
    return Store().ReadDword(RegistryRoot::CurrentUser, platform::kInternetSettingsKey, name);
  };

  setProxy("10.0.0.1:8080", 0);  // storage 0: the system's internet settings
  EXPECT_EQ(system("ProxyEnable"), 1u);
  EXPECT_EQ(Text("GetProxyInfo"), "10.0.0.1:8080");
  EXPECT_EQ(Number("GetProxyStatus"), 1);

  setProxy("192.168.1.2:3128", 1);                   // storage 1: the settings key; the system proxy stays
  EXPECT_EQ(Text("GetProxyInfo"), "10.0.0.1:8080");  // "ProxyStorage" still 0
  SetNumber("SetProxyStorage", 1);
  EXPECT_EQ(Text("GetProxyInfo"), "192.168.1.2:3128");

  setProxy("", 0);  // the system proxy off: the status falls back to the settings key
  EXPECT_EQ(system("ProxyEnable"), 0u);
  EXPECT_EQ(Store().ReadString(RegistryRoot::CurrentUser, platform::kInternetSettingsKey, "ProxyServer"), "");
  EXPECT_EQ(Number("GetProxyStatus"), 1);

  setProxy("", 1);
  EXPECT_EQ(Store().ReadDword(RegistryRoot::CurrentUser, kKey, "ProxyEnable"), 0u);
  EXPECT_EQ(Store().ReadString(RegistryRoot::CurrentUser, kKey, "ProxyServer"), "");
  EXPECT_EQ(Text("GetProxyInfo"), "-1");
  EXPECT_EQ(Number("GetProxyStatus"), 0);
}

TEST_F(Vmk21Test, ExtMailEncodesThePasswordAndRemovesTheServerWithoutPort) {
  Number("Startup");
  auto extMail = Export<int(const char*, const char*, const char*, const char*)>("ExtMail");
  EXPECT_EQ(extMail("smtp.firma.de", "587", "meier", "abc"), 1);
  const std::string communication = std::string(kKey) + "\\Communication";
  // "abc" is "YWJj" in Base64: four characters, eight hex digits.
  EXPECT_EQ(Store().ReadString(RegistryRoot::CurrentUser, communication, "PW"), "59574A6A");
  EXPECT_EQ(Text("ReadExtMailPort"), "587");
  EXPECT_EQ(Text("ReadExtMailUser"), "meier");
  EXPECT_EQ(extMail("smtp.firma.de", "", "meier", "abc"), 0);
  EXPECT_FALSE(Store().KeyExists(RegistryRoot::CurrentUser, communication));
  EXPECT_EQ(Text("ReadExtMailServer"), "");
  EXPECT_EQ(extMail(nullptr, nullptr, nullptr, nullptr), 0);
}

TEST_F(Vmk21Test, AutostartValuesAndTheLogOnEntry) {
  EXPECT_EQ(SetNumber("SetAutostartSequence", 2), 0);  // no key yet: not written
  Number("Startup");
  EXPECT_EQ(Export<int(int, int, int)>("AutostartActive")(1, 1796000000, 2), 0);
  EXPECT_EQ(Number("ReadAutoActivation"), 1);
  EXPECT_EQ(Number("ReadAutoDateTime"), 1796000000);
  EXPECT_EQ(Number("ReadAutoSequence"), 2);
  SetNumber("MiniAutoStart", 0);
  EXPECT_EQ(Number("ReadAutoActivation"), 0);
  EXPECT_EQ(Number("ReadAutoDateTime"), 1796000000);
  EXPECT_EQ(SetNumber("SetAutostartSequence", 1), 1);
  EXPECT_EQ(Number("ReadAutoSequence"), 1);

  const auto entry = [&] {
    return Store().ReadString(RegistryRoot::CurrentUser, platform::kRunKey, "VMK2Autostart");
  };
  for (int flag : {1, 2, 1, 0, 0}) {
    SetNumber("SetAutostartRegistry", flag);
    EXPECT_EQ(entry(), flag == 1 ? "C:\\Veldmark\\VMK2_Autostart.exe" : "") << flag;
  }
}

TEST_F(Vmk21Test, FoldersComputerNameAndWhitelistReset) {
  auto readPath = Export<const char*(int)>("ReadPath");
  auto sysPath = Export<const char*(int)>("GetSysPath");
  const std::string dataDirectory = (root_ / "appdata").string() + "/{3A91F2C4-58D0-4E7B-9C16-2F4B8E07D5A3}/";
  EXPECT_EQ(std::string(readPath(35)), dataDirectory);
  EXPECT_EQ(Text("ReadDataDirectory"), dataDirectory);
  EXPECT_EQ(std::string(sysPath(35)), (root_ / "appdata").string() + "/");
  EXPECT_EQ(std::string(readPath(5)), std::string(sysPath(5)));
  EXPECT_EQ(std::string(sysPath(9999)), "");
  EXPECT_EQ(Text("GetApplicationPath"), fs::read_symlink("/proc/self/exe").parent_path().string() + "/");
  char host[256] = {};
  gethostname(host, sizeof host - 1);
  EXPECT_EQ(Text("GetPCName"), host);

  fs::create_directories(dataDirectory);
  testing::WriteFile(fs::path(dataDirectory) / "WL.dat", "GmbH\r\n");
  EXPECT_EQ(Number("DelWhiteList"), 0);
  EXPECT_FALSE(fs::exists(fs::path(dataDirectory) / "WL.dat"));
  EXPECT_EQ(Number("DelWhiteList"), 0);
}

TEST_F(Vmk21Test, VersionEntriesOfTheUpdateDescription) {
  EXPECT_EQ(Number("PUPD"), -1);
  EXPECT_EQ(Text("ReadUpdateInfo"), "");
  const fs::path dataDirectory = root_ / "appdata" / "{3A91F2C4-58D0-4E7B-9C16-2F4B8E07D5A3}";
  fs::create_directories(dataDirectory);
  testing::WriteFile(dataDirectory / "update.dat",
                     "[Date]\r\nEUK2=1\r\n[version]\r\n kesto2 = 21080\r\nKE2UInfo = Neue Listen\r\n");
  EXPECT_EQ(Number("PUPD"), 21080);
  EXPECT_EQ(Text("ReadUpdateInfo"), "Neue Listen");
}

TEST_F(Vmk21Test, CheckInstallationReportsWhatItFound) {
  const fs::path previous = fs::current_path();
  fs::create_directories(root_ / "work");
  fs::current_path(root_ / "work");
  Number("CheckInstallation");
  const std::string dataDirectory = (root_ / "appdata").string() + "/{3A91F2C4-58D0-4E7B-9C16-2F4B8E07D5A3}/";
  EXPECT_EQ(ReadFile("VMK_Installation_Check.txt"), "Arbeitsverzeichnis =" + (root_ / "work").string() +
                                                        "\r\nReg20 =0\r\nMD =" + dataDirectory + "\r\n");
  Number("Startup");
  Number("CheckInstallation");
  EXPECT_EQ(ReadFile("VMK_Installation_Check.txt"),
            "Arbeitsverzeichnis =" + (root_ / "work").string() + "\r\nReg20 =1\r\n");
  fs::current_path(previous);
}

TEST_F(Vmk21Test, AValueWrittenByOneProcessIsReadAtOnceByAnother) {
  Number("Startup");
  const pid_t child = fork();
  if (child == 0) {
    SetText("WritePhonetik", "2");
    _exit(0);
  }
  int status = 0;
  waitpid(child, &status, 0);
  EXPECT_EQ(Text("ReadPhonetik"), "2");
}

// The preparation program and the library's first-run code leave the same settings behind.
TEST(Vmkprep, WritesTheSameSettingsAsStartupAndRepairsFoldersOnly) {
  const auto settingsOf = [](const fs::path& root) {
    const platform::Registry store(root / "config" / "registry.sqlite");
    std::string dump;
    for (const char* name :
         {"BoEShow",     "e-mail",       "EUShow",     "Firma",     "Firma Zusatz", "Ort",
          "PdfAnzeige",  "Phonetik",     "PLZ",        "Strasse",   "UNShow",       "USShow",
          "White List",  "CSV Export",   "ExtMail",    "Autostart", "Autosequence", "Language",
          "ProxyEnable", "ProxyStorage", "TagesUpdate"}) {
      dump += std::string(name) + "=" + store.ReadString(RegistryRoot::CurrentUser, kKey, name) + "/" +
              std::to_string(store.ReadDword(RegistryRoot::CurrentUser, kKey, name)) + ";";
    }
    return dump +
           store.ReadString(RegistryRoot::CurrentUser, kKey, "Speicherpfad").substr(root.string().size());
  };
  TempDir byLibrary, byPrep;
  setenv("VELDMARK_ROOT", byLibrary.path().c_str(), 1);
  platform::SharedLibrary library;
  ASSERT_TRUE(library.Load(VMK21_FILE));
  reinterpret_cast<int (*)()>(library.Symbol("Startup"))();
  setenv("VELDMARK_ROOT", byPrep.path().c_str(), 1);
  ASSERT_EQ(std::system(VMKPREP_FILE), 0);
  EXPECT_EQ(settingsOf(byPrep.path()), settingsOf(byLibrary.path()));
  EXPECT_TRUE(fs::is_directory(byPrep / "appdata" / "{3A91F2C4-58D0-4E7B-9C16-2F4B8E07D5A3}"));

  // A second run repairs a missing folder and changes no setting.
  const platform::Registry store(byPrep / "config" / "registry.sqlite");
  store.WriteString(RegistryRoot::CurrentUser, kKey, "Phonetik", "2");
  store.DeleteValue(RegistryRoot::CurrentUser, kKey, "PdfAnzeige");
  fs::remove_all(byPrep / "documents");
  ASSERT_EQ(std::system(VMKPREP_FILE), 0);
  EXPECT_TRUE(fs::is_directory(byPrep / "documents" / "Veldmark Dokumente"));
  EXPECT_EQ(store.ReadString(RegistryRoot::CurrentUser, kKey, "Phonetik"), "2");
  EXPECT_EQ(store.ReadString(RegistryRoot::CurrentUser, kKey, "PdfAnzeige"), "");
  unsetenv("VELDMARK_ROOT");
}

}  // namespace
}  // namespace vmk::settings
