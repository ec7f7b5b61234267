#include "platform/vendor_config.h"

#include <fstream>
#include <sstream>

#include "platform/folders.h"
#include "text/cp1252.h"

namespace vmk::platform {
namespace {

std::string Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t\r");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t\r");
  return std::string(text.substr(first, last - first + 1));
}

}  // namespace

bool FindIniValue(std::string_view ini, std::string_view section, std::string_view key, std::string& value) {
  bool inSection = false;
  std::istringstream lines{std::string(ini)};
  for (std::string raw; std::getline(lines, raw);) {
    const std::string line = Trimmed(raw);
    if (line.empty() || line[0] == '#' || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      inSection = text::EqualsIgnoringAsciiCase(Trimmed(line.substr(1, line.size() - 2)), section);
      continue;
    }
    const auto equals = line.find('=');
    if (!inSection || equals == std::string::npos) continue;
    if (text::EqualsIgnoringAsciiCase(Trimmed(line.substr(0, equals)), key)) {
      value = Trimmed(line.substr(equals + 1));
      return true;
    }
  }
  return false;
}

VendorConfig ReadVendorConfig(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  const std::string ini = content.str();
  VendorConfig config;
  const std::pair<const char*, std::string*> keys[] = {{"MailServer", &config.mailServer},
                                                       {"MailPort", &config.mailPort},
                                                       {"MailUser", &config.mailUser},
                                                       {"MailPassword", &config.mailPassword},
                                                       {"SupportAddress", &config.supportAddress},
                                                       {"InfoAddress", &config.infoAddress},
                                                       {"UpdateServer", &config.updateServer}};
  for (const auto& [key, target] : keys) FindIniValue(ini, "Vendor", key, *target);
  return config;
}

VendorConfig ReadVendorConfig() {
  return ReadVendorConfig(std::filesystem::path(ConfigFolder()) / "veldmark.conf");
}

}  // namespace vmk::platform
