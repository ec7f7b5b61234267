// What every export of the settings library shares: the result buffer, safe argument reading, and the
// settings key of the registry store.
#pragma once

#include <string>

#include "platform/registry.h"
#include "settings/settings_keys.h"

namespace vmk::settings {

// The text stays in the library's buffer until the next call that returns a string.
const char* Result(std::string text);
// A C string argument; a null pointer reads as "".
inline std::string Arg(const char* text) {
  return text != nullptr ? std::string(text) : std::string();
}

inline constexpr platform::RegistryRoot kUser = platform::RegistryRoot::CurrentUser;

inline std::string ReadSetting(const char* name) {
  return platform::Registry().ReadString(kUser, SettingsKey(), name);
}
inline int WriteSetting(const char* name, const char* value) {
  platform::Registry().WriteString(kUser, SettingsKey(), name, Arg(value));
  return 0;
}
inline int ReadSettingDword(const char* name) {
  return static_cast<int>(platform::Registry().ReadDword(kUser, SettingsKey(), name));
}
inline bool WriteSettingDword(const char* name, int value) {
  return platform::Registry().WriteDword(kUser, SettingsKey(), name, static_cast<std::uint32_t>(value));
}

}  // namespace vmk::settings
