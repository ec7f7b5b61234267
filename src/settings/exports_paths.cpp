// Folders, the computer name, the whitelist reset and the installation report.

#include <filesystem>
#include <fstream>
#include <system_error>

#include "platform/folders.h"
#include "platform/registry.h"
#include "settings/export_support.h"
#include "settings/vmk21.h"

using namespace vmk::settings;
namespace platform = vmk::platform;

namespace {

std::string WorkingDirectory() {
  std::error_code error;
  return std::filesystem::current_path(error).string();
}

}  // namespace

extern "C" {

const char* GetApplicationPath(void) {
  return Result(platform::ProgramDirectory());
}
const char* GetSysPath(int folder) {
  return Result(platform::SpecialFolder(folder));
}
const char* ReadPath(int folder) {
  return Result(folder == platform::kFolderCommonAppData ? platform::DataDirectory()
                                                         : platform::SpecialFolder(folder));
}
const char* ReadDataDirectory(void) {
  return Result(platform::DataDirectory());
}

const char* GetPCName(void) {
  return Result(platform::Registry().ReadString(platform::RegistryRoot::LocalMachine,
                                                platform::kComputerNameKey, "ComputerName"));
}

int DelWhiteList(void) {
  std::error_code ignored;
  std::filesystem::remove(std::filesystem::path(platform::DataDirectory()) / "WL.dat", ignored);
  return 0;
}

int CheckInstallation(void) {
  std::ofstream report("VMK_Installation_Check.txt", std::ios::binary | std::ios::trunc);
  report << "Arbeitsverzeichnis =" << WorkingDirectory() << "\r\n";
  report << "Reg20 =" << (platform::Registry().KeyExists(kUser, SettingsKey()) ? "1" : "0") << "\r\n";
  const std::string dataDirectory = platform::DataDirectory();
  std::error_code error;
  if (!std::filesystem::is_directory(dataDirectory, error)) {
    std::filesystem::create_directories(dataDirectory, error);
    report << (error ? "AV = kann nicht angelegt werden" : "MD =" + dataDirectory) << "\r\n";
  }
  return 0;
}

}  // extern "C"
