// The main program's binding to the settings library VMK21: the library is loaded by file name from the
// program directory, each export looked up by name right before its call, and unloaded again; a group
// keeps it loaded for a run of calls. The typed calls copy every string result at once.
#pragma once

#include <filesystem>
#include <string>

#include "platform/shared_library.h"

namespace vmk::app {

inline constexpr const char* kSettingsLibraryFile = "VMK21.so";

class SettingsBinding {
 public:
  explicit SettingsBinding(std::filesystem::path programDirectory);

  // Keeps the library loaded until the group ends; groups inside a group use the outer loading.
  class Group {
   public:
    explicit Group(SettingsBinding& binding);
    ~Group();
    Group(const Group&) = delete;
    Group& operator=(const Group&) = delete;

   private:
    SettingsBinding& binding_;
    platform::SharedLibrary library_;
    bool outermost_ = false;
  };

  // Settings store
  std::string ReadPhonetik() { return Text("ReadPhonetik"); }
  void WritePhonetik(const std::string& v) { SetText("WritePhonetik", v); }
  std::string ReadSavePath() { return Text("ReadSavePath"); }
  void WriteSavePath(const std::string& v) { SetText("WriteSavePath", v); }
  // Company, department, street, postal code, city, e-mail for n = 1 to 6.
  std::string ReadPerson(int n) { return Text(("ReadPerson" + std::to_string(n)).c_str()); }
  void WritePerson(int n, const std::string& v) { SetText(("WritePerson" + std::to_string(n)).c_str(), v); }
  std::string ReadWhiteList() { return Text("ReadWhiteList"); }
  void WriteWhiteList(const std::string& v) { SetText("WriteWhiteList", v); }
  std::string ReadCSVExport() { return Text("ReadCSVExport"); }
  void WriteCSVExport(const std::string& v) { SetText("WriteCSVExport", v); }
  std::string ReadPDFAnzeige() { return Text("ReadPDFAnzeige"); }
  void WritePDFAnzeige(const std::string& v) { SetText("WritePDFAnzeige", v); }
  std::string ReadSelectedEUDisplayItems() { return Text("ReadSelectedEUDisplayItems"); }
  std::string ReadSelectedUNDisplayItems() { return Text("ReadSelectedUNDisplayItems"); }
  std::string ReadSelectedUKDisplayItems() { return Text("ReadSelectedUKDisplayItems"); }
  std::string ReadSelectedUSDisplayItems() { return Text("ReadSelectedUSDisplayItems"); }
  void WriteSelectedDisplayItems(const std::string& eu, const std::string& un, const std::string& uk,
                                 const std::string& us);
  int GetNurListenTreffer() { return Number("GetNurListenTreffer"); }
  void SetNurListenTreffer(int v) { SetNumber("SetNurListenTreffer", v); }
  std::string GetBatchFile() { return Text("GetBatchFile"); }
  std::string GetBatchPath() { return Text("GetBatchPath"); }
  std::string GetBatchPDFOption() { return Text("GetBatchPDFOption"); }
  void SetBatchFile(const std::string& v) { SetText("SetBatchFile", v); }
  void SetBatchPath(const std::string& v) { SetText("SetBatchPath", v); }
  void SetBatchPDFOption(const std::string& v) { SetText("SetBatchPDFOption", v); }
  int GetExtMailStatus() { return Number("GetExtMailStatus"); }
  void SetExtMailStatus(int v) { SetNumber("SetExtMailStatus", v); }
  int GetLanguage() { return Number("GetLanguage"); }
  void SetLanguage(int v) { SetNumber("SetLanguage", v); }
  std::string ReadLastUpdate() { return Text("ReadLastUpdate"); }
  void WriteLastUpdate(const std::string& v) { SetText("WriteLastUpdate", v); }
  int ExtMail(const std::string& server, const std::string& port, const std::string& user,
              const std::string& password);
  std::string ReadExtMailServer() { return Text("ReadExtMailServer"); }
  std::string ReadExtMailPort() { return Text("ReadExtMailPort"); }
  std::string ReadExtMailUser() { return Text("ReadExtMailUser"); }
  int GetProxyStorage() { return Number("GetProxyStorage"); }
  void SetProxyStorage(int v) { SetNumber("SetProxyStorage", v); }
  std::string GetProxyInfo() { return Text("GetProxyInfo"); }
  int GetProxyStatus() { return Number("GetProxyStatus"); }
  void SetProxyInfo(const std::string& proxy, int storage);
  int Startup() { return Number("Startup"); }

  // Update support
  int PUPD() { return Number("PUPD"); }
  std::string ReadUpdateInfo() { return Text("ReadUpdateInfo"); }

  // Autostart and scheduled search
  void AutostartActive(int active, int dateTime, int sequence);
  void MiniAutoStart(int active) { SetNumber("MiniAutoStart", active); }
  int SetAutostartSequence(int sequence) { return SetNumber("SetAutostartSequence", sequence); }
  int ReadAutoActivation() { return Number("ReadAutoActivation"); }
  int ReadAutoDateTime() { return Number("ReadAutoDateTime"); }
  int ReadAutoSequence() { return Number("ReadAutoSequence"); }
  void SetAutostartRegistry(int flag) { SetNumber("SetAutostartRegistry", flag); }

  // Installation check and path helpers
  void CheckInstallation() { Number("CheckInstallation"); }
  std::string GetApplicationPath() { return Text("GetApplicationPath"); }
  std::string GetSysPath(int folder) { return TextOf("GetSysPath", folder); }
  std::string GetPCName() { return Text("GetPCName"); }
  std::string ReadDataDirectory() { return Text("ReadDataDirectory"); }
  std::string ReadPath(int folder) { return TextOf("ReadPath", folder); }
  void DelWhiteList() { Number("DelWhiteList"); }

  // Whether a call found no library or no export since the binding was made, and the reason.
  bool Failed() const { return !error_.empty(); }
  const std::string& Error() const { return error_; }

 private:
  // The export's address in the group's library or in a loading of its own, which `use` runs inside.
  template <typename F, typename Use>
  void WithExport(const char* name, Use&& use);

  std::string Text(const char* name);
  std::string TextOf(const char* name, int argument);
  int Number(const char* name);
  int SetText(const char* name, const std::string& value);
  int SetNumber(const char* name, int value);

  std::filesystem::path file_;
  platform::SharedLibrary* group_ = nullptr;
  std::string error_;
};

}  // namespace vmk::app
