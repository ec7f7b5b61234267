// The version entries of the update description update.dat in the data directory.
#include <fstream>
#include <sstream>

#include "platform/folders.h"
#include "platform/vendor_config.h"
#include "settings/export_support.h"
#include "settings/vmk21.h"

using namespace vmk::settings;

namespace {

bool ReadVersionEntry(const char* key, std::string& value) {
  std::ifstream in(std::filesystem::path(vmk::platform::DataDirectory()) / "update.dat", std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  return vmk::platform::FindIniValue(content.str(), "Version", key, value);
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

}  // extern "C"
