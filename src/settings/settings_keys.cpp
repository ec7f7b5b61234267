#include "settings/settings_keys.h"

#include <cstdlib>

#include "platform/folders.h"
#include "text/codec.h"

namespace vmk::settings {
namespace {

using platform::RegistryRoot;

std::string FromHex(const char* hex) {
  return text::HexDecode(hex).value_or("");
}

}  // namespace

std::string SettingsKey() {
  return FromHex("536F6674776172655C4272616E64656C6C5C56656C646D61726B");
}
std::string CommunicationKey() {
  return SettingsKey() + FromHex("5C436F6D6D756E69636174696F6E");
}
std::string AutostartValueName() {
  return FromHex("564D4B324175746F7374617274");
}
std::string AutostartProgramPath() {
  return FromHex("433A5C56656C646D61726B5C564D4B325F4175746F73746172742E657865");
}

std::string DocumentsFolder() {
  return platform::SpecialFolder(platform::kFolderCommonDocuments) + "Veldmark Dokumente/";
}

bool WriteFirstRunSettings(const platform::Registry& registry, const std::string& documentsFolder) {
  const std::string key = SettingsKey();
  if (registry.KeyExists(RegistryRoot::CurrentUser, key)) return false;
  if (!registry.CreateKey(RegistryRoot::CurrentUser, key)) return false;
  const std::pair<const char*, std::string> strings[] = {
      {"BoEShow", std::string(29, '1')},
      {"e-mail", ""},
      {"EUShow", std::string(29, '1')},
      {"Firma", ""},
      {"Firma Zusatz", ""},
      {"Ort", ""},
      {"PdfAnzeige", "1"},
      {"Phonetik", "0"},
      {"PLZ", ""},
      {"Speicherpfad", documentsFolder},
      {"Strasse", ""},
      {"UNShow", std::string(20, '1')},
      {"USShow", std::string(33, '1')},
      {"White List", "0"},
      {"CSV Export", "0"},
      {"ExtMail", "1"},
  };
  for (const auto& [name, value] : strings) registry.WriteString(RegistryRoot::CurrentUser, key, name, value);
  const std::pair<const char*, std::uint32_t> dwords[] = {
      {"Autostart", 0}, {"Autosequence", 3}, {"Language", 1}, {"ProxyEnable", 0}, {"ProxyStorage", 0}};
  for (const auto& [name, value] : dwords) registry.WriteDword(RegistryRoot::CurrentUser, key, name, value);
  return true;
}

int DecimalValue(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) ++i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 10000000000LL; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  if (negative) value = -value;
  if (value > 2147483647LL) return 2147483647;
  if (value < -2147483648LL) return -2147483647 - 1;
  return static_cast<int>(value);
}

}  // namespace vmk::settings
