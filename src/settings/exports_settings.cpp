// The settings accessors, the proxy and own-mail-server exports and the first-run defaults.
#include <filesystem>
#include <system_error>

#include "platform/folders.h"
#include "settings/export_support.h"
#include "settings/vmk21.h"
#include "text/codec.h"

namespace vmk::settings {

const char* Result(std::string text) {
  static std::string buffer;
  buffer = std::move(text);
  return buffer.c_str();
}

namespace {

using platform::Registry;

const char* ReadText(const char* name) {
  return Result(ReadSetting(name));
}
const char* ReadCommunication(const char* name) {
  return Result(Registry().ReadString(kUser, CommunicationKey(), name));
}

// Base64 of the password, each of its characters written as two upper-case hex digits.
std::string EncodePassword(const std::string& password) {
  return text::HexEncode(text::Base64Encode(password));
}

}  // namespace
}  // namespace vmk::settings

using namespace vmk::settings;
using vmk::platform::Registry;

extern "C" {

const char* ReadPhonetik(void) {
  return ReadText("Phonetik");
}
int WritePhonetik(const char* text) {
  return WriteSetting("Phonetik", text);
}
const char* ReadSavePath(void) {
  return ReadText("Speicherpfad");
}
int WriteSavePath(const char* text) {
  return WriteSetting("Speicherpfad", text);
}

const char* ReadPerson1(void) {
  return ReadText("Firma");
}
const char* ReadPerson2(void) {
  return ReadText("Firma Zusatz");
}
const char* ReadPerson3(void) {
  return ReadText("Strasse");
}
const char* ReadPerson4(void) {
  return ReadText("PLZ");
}
const char* ReadPerson5(void) {
  return ReadText("Ort");
}
const char* ReadPerson6(void) {
  return ReadText("e-mail");
}
int WritePerson1(const char* text) {
  return WriteSetting("Firma", text);
}
int WritePerson2(const char* text) {
  return WriteSetting("Firma Zusatz", text);
}
int WritePerson3(const char* text) {
  return WriteSetting("Strasse", text);
}
int WritePerson4(const char* text) {
  return WriteSetting("PLZ", text);
}
int WritePerson5(const char* text) {
  return WriteSetting("Ort", text);
}
int WritePerson6(const char* text) {
  return WriteSetting("e-mail", text);
}

const char* ReadWhiteList(void) {
  return ReadText("White List");
}
int WriteWhiteList(const char* text) {
  return WriteSetting("White List", text);
}
const char* ReadCSVExport(void) {
  return ReadText("CSV Export");
}
int WriteCSVExport(const char* text) {
  return WriteSetting("CSV Export", text);
}
const char* ReadPDFAnzeige(void) {
  return ReadText("PdfAnzeige");
}
int WritePDFAnzeige(const char* text) {
  return WriteSetting("PdfAnzeige", text);
}

const char* ReadSelectedEUDisplayItems(void) {
  return ReadText("EUShow");
}
const char* ReadSelectedUNDisplayItems(void) {
  return ReadText("UNShow");
}
const char* ReadSelectedUKDisplayItems(void) {
  return ReadText("BoEShow");
}
const char* ReadSelectedUSDisplayItems(void) {
  return ReadText("USShow");
}
int WriteSelectedDisplayItems(const char* eu, const char* un, const char* uk, const char* us) {
  Registry().CreateKey(kUser, SettingsKey());
  WriteSetting("EUShow", eu);
  WriteSetting("UNShow", un);
  WriteSetting("BoEShow", uk);
  WriteSetting("USShow", us);
  return 0;
}

int GetNurListenTreffer(void) {
  return DecimalValue(ReadSetting("Nur Listentreffer"));
}
int SetNurListenTreffer(int value) {
  return WriteSetting("Nur Listentreffer", std::to_string(value).c_str());
}

const char* GetBatchFile(void) {
  return ReadText("Batch Datei");
}
const char* GetBatchPath(void) {
  return ReadText("Batch Pfad");
}
const char* GetBatchPDFOption(void) {
  return ReadText("Batch PDF Option");
}
int SetBatchFile(const char* text) {
  return WriteSetting("Batch Datei", text);
}
int SetBatchPath(const char* text) {
  return WriteSetting("Batch Pfad", text);
}
int SetBatchPDFOption(const char* text) {
  return WriteSetting("Batch PDF Option", text);
}

int GetExtMailStatus(void) {
  return DecimalValue(ReadSetting("ExtMail"));
}
int SetExtMailStatus(int value) {
  return WriteSetting("ExtMail", std::to_string(value).c_str());
}
int GetLanguage(void) {
  return ReadSettingDword("Language");
}
int SetLanguage(int value) {
  WriteSettingDword("Language", value);
  return 0;
}

const char* ReadLastUpdate(void) {
  return ReadText("TagesUpdate");
}
int WriteLastUpdate(const char* text) {
  return WriteSetting("TagesUpdate", text);
}

int ExtMail(const char* server, const char* port, const char* user, const char* password) {
  const Registry registry;
  const std::string key = CommunicationKey();
  if (!Arg(server).empty() && !Arg(port).empty()) {
    registry.CreateKey(kUser, key);
    registry.WriteString(kUser, key, "SMTPServer", Arg(server));
    registry.WriteString(kUser, key, "Port", Arg(port));
    registry.WriteString(kUser, key, "User", Arg(user));
    registry.WriteString(kUser, key, "PW", EncodePassword(Arg(password)));
    return 1;
  }
  if (registry.KeyExists(kUser, key)) registry.DeleteKey(kUser, key);
  return 0;
}

const char* ReadExtMailServer(void) {
  return ReadCommunication("SMTPServer");
}
const char* ReadExtMailPort(void) {
  return ReadCommunication("Port");
}
const char* ReadExtMailUser(void) {
  return ReadCommunication("User");
}

int GetProxyStorage(void) {
  return ReadSettingDword("ProxyStorage");
}
int SetProxyStorage(int value) {
  WriteSettingDword("ProxyStorage", value);
  return 0;
}

const char* GetProxyInfo(void) {
  const Registry registry;
  const std::string key = ReadSettingDword("ProxyStorage") != 0
                              ? SettingsKey()
                              : std::string(vmk::platform::kInternetSettingsKey);
  if (registry.ReadDword(kUser, key, "ProxyEnable") == 0) return Result("-1");
  return Result(registry.ReadString(kUser, key, "ProxyServer"));
}

int GetProxyStatus(void) {
  const Registry registry;
  const std::uint32_t system = registry.ReadDword(kUser, vmk::platform::kInternetSettingsKey, "ProxyEnable");
  return static_cast<int>(system != 0 ? system : registry.ReadDword(kUser, SettingsKey(), "ProxyEnable"));
}

void SetProxyInfo(const char* proxy, int storage) {
  const Registry registry;
  const std::string key = storage != 0 ? SettingsKey() : std::string(vmk::platform::kInternetSettingsKey);
  registry.WriteString(kUser, key, "ProxyServer", Arg(proxy));
  if (Arg(proxy).empty()) {
    registry.WriteDword(kUser, key, "ProxyEnable", 0);
    registry.DeleteValue(kUser, key, "ProxyServer");
  } else {
    registry.WriteDword(kUser, key, "ProxyEnable", 1);
  }
}

// A settings key that cannot be created means that no setting can be kept: reported as an
// installation error rather than as success.
int Startup(void) {
  const Registry registry;
  if (!registry.KeyExists(kUser, SettingsKey())) {
    std::error_code ignored;
    std::filesystem::create_directories(DocumentsFolder(), ignored);
    WriteFirstRunSettings(registry, DocumentsFolder());
  }
  return registry.KeyExists(kUser, SettingsKey()) ? 0 : -1;
}

}  // extern "C"
