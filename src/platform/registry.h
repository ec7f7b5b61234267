// The per-user registry stand-in: keys with parents and string and DWORD values, kept in one SQLite
// file (registry.sqlite in the configuration folder). Key paths and value names compare without regard
// to case; every operation is its own short transaction, so a value written by one process is read at
// once by another.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace vmk::platform {

enum class RegistryRoot { CurrentUser = 0, LocalMachine = 1 };

// Keys of the operating system that always exist: a write into one of them creates it when missing.
inline constexpr std::string_view kInternetSettingsKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
inline constexpr std::string_view kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kComputerNameKey =
    "SYSTEM\\ControlSet001\\Control\\ComputerName\\ActiveComputerName";

class Registry {
 public:
  // The store of the configuration folder (platform/folders).
  Registry();
  explicit Registry(std::filesystem::path file);

  const std::filesystem::path& File() const { return file_; }

  // A key path may start with a backslash, which is ignored.
  bool KeyExists(RegistryRoot root, std::string_view key) const;
  // Creates the key and its missing parents; true when the key exists afterwards.
  bool CreateKey(RegistryRoot root, std::string_view key) const;
  // The value when it exists with that type; "" or 0 otherwise.
  std::string ReadString(RegistryRoot root, std::string_view key, std::string_view name) const;
  std::uint32_t ReadDword(RegistryRoot root, std::string_view key, std::string_view name) const;
  // Writes into an existing key only; a write into a missing key is dropped (false).
  bool WriteString(RegistryRoot root, std::string_view key, std::string_view name,
                   std::string_view value) const;
  bool WriteDword(RegistryRoot root, std::string_view key, std::string_view name, std::uint32_t value) const;
  bool DeleteValue(RegistryRoot root, std::string_view key, std::string_view name) const;
  // Removes a key without subkeys, with its values; false when it has subkeys or does not exist.
  bool DeleteKey(RegistryRoot root, std::string_view key) const;

 private:
  std::filesystem::path file_;
};

}  // namespace vmk::platform
