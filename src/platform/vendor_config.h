// The vendor's infrastructure as configuration: section [Vendor] of veldmark.conf in the configuration
// folder. Keys and their defaults:
//   MailServer     ""                          vendor mail server; none configured means vendor mail fails at
//   once MailPort       "25" MailUser       ""                          account of the vendor mail server
//   MailPassword   "8Tolvan574.%"
//   SupportAddress "support@veldmark.example"
//   InfoAddress    "info@veldmark.example"
//   UpdateServer   ""                          base URL of the update server, e.g. http://127.0.0.1:8080
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace vmk::platform {

struct VendorConfig {
  std::string mailServer;
  std::string mailPort = "25";
  std::string mailUser;
  std::string mailPassword = "8Tolvan574.%";
  std::string supportAddress = "support@veldmark.example";
  std::string infoAddress = "info@veldmark.example";
  std::string updateServer;
};

// Reads ConfigFolder() + "veldmark.conf"; a missing file or key keeps the default.
VendorConfig ReadVendorConfig();
VendorConfig ReadVendorConfig(const std::filesystem::path& file);

// The value of a key in a section of an INI text ("[Section]", "Key = Value", "#" or ";" comments);
// sections and keys compare without regard to case. False when absent.
bool FindIniValue(std::string_view ini, std::string_view section, std::string_view key, std::string& value);

}  // namespace vmk::platform
