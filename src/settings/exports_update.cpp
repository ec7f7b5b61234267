// The update services of the settings library: the version entries of update.dat, and downloads of the
// information file, the update description and the packs over a plain HTTP download of their own.
#include <fstream>
#include <sstream>
#include <system_error>

#include "platform/folders.h"
#include "platform/http_download.h"
#include "platform/vendor_config.h"
#include "screening/pack_check.h"
#include "settings/export_support.h"
#include "settings/vmk21.h"

using namespace vmk::settings;

namespace {

namespace fs = std::filesystem;

std::string ReadWholeFile(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

fs::path DataFile(const char* name) {
  return fs::path(vmk::platform::DataDirectory()) / name;
}

bool ReadVersionEntry(const char* key, std::string& value) {
  return vmk::platform::FindIniValue(ReadWholeFile(DataFile("update.dat")), "Version", key, value);
}

// The URL of a path on the configured update server; "" (a download that fails at once) without one.
std::string ServerUrl(const char* path) {
  const std::string server = vmk::platform::ReadVendorConfig().updateServer;
  return server.empty() ? "" : server + path;
}

bool Download(const char* path, const fs::path& file) {
  return vmk::platform::PlainHttpDownload(ServerUrl(path), file);
}

bool IsEmptyOrMissing(const fs::path& file) {
  std::error_code error;
  return fs::file_size(file, error) == 0 || error;
}

// Fetches a pack under a name of its own; it replaces the installed one only after its check, so the
// installed pack is never touched by a failed or broken download. "!<name>" holds a copy of the installed
// pack meanwhile.
std::string DownloadPack(const fs::path& folder, const std::string& name, const char* path) {
  const fs::path pack = folder / name, backup = folder / ("!" + name),
                 downloaded = folder / (name + ".download");
  std::error_code ignored;
  fs::copy_file(pack, backup, fs::copy_options::overwrite_existing, ignored);
  std::string result = "1";
  if (!Download(path, downloaded)) {
    result = "0";
  } else if (IsEmptyOrMissing(downloaded) || !vmk::screening::InstallCheckedPack(downloaded, pack)) {
    result = "-1";
  }
  fs::remove(downloaded, ignored);
  fs::remove(backup, ignored);
  return result;
}

}  // namespace

extern "C" {

int PUPD(void) {
  std::string value;
  return ReadVersionEntry("KESTO2", value) ? DecimalValue(value) : -1;
}

const char* ReadUpdateInfo(void) {
  std::string value;
  return Result(ReadVersionEntry("KE2UInfo", value) ? value : "");
}

const char* LIF(void) {
  if (!vmk::platform::StartNetwork()) return Result("0");
  const fs::path info = DataFile("in.fo");
  if (!Download("/kepdata/vminfo.txt", info)) return Result("-1");
  if (IsEmptyOrMissing(info)) return Result("-2");
  return Result(info.string());
}

const char* LUF(const char* eu, const char* un, const char* uk, const char* us) {
  if (!vmk::platform::StartNetwork()) return Result("0");
  const fs::path description = DataFile("update.dat");
  if (!Download("/kepdata/download.me", description)) return Result("-1");
  std::error_code error;
  if (!fs::exists(description, error)) return Result("-2");
  const std::string ini = ReadWholeFile(description);
  const char* keys[] = {"EUK2", "UNK2", "UKK2", "USK2"};
  const std::string installed[] = {Arg(eu), Arg(un), Arg(uk), Arg(us)};
  for (int i = 0; i < 4; ++i) {
    std::string date;
    if (!vmk::platform::FindIniValue(ini, "Date", keys[i], date)) date = "-1";
    if (date != installed[i]) return Result("1");
  }
  return Result("-4");
}

const char* DBU21(void) {
  if (!vmk::platform::StartNetwork()) return Result("0");
  return Result(DownloadPack(vmk::platform::DataDirectory(), "KE2DB.pak", "/kepdata/KE2DBpak.bin"));
}

const char* DBU(void) {
  if (!vmk::platform::StartNetwork()) return Result("0");
  return Result(DownloadPack(vmk::platform::SecondPackDirectory(), "KE2DB.pdb", "/kepdata/KE2DB.bin"));
}

}  // extern "C"
