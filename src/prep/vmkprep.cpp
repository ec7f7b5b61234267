// vmkprep: prepares a machine for Veldmark. Creates the data directory and the documents folder and,
// when the user has no settings yet, writes the first-run settings. Existing settings stay untouched,
// so running it again only repairs missing folders. Takes no arguments and always ends normally.
#include <filesystem>
#include <system_error>

#include "platform/folders.h"
#include "platform/registry.h"
#include "settings/settings_keys.h"

int main() {
  std::error_code ignored;
  std::filesystem::create_directories(vmk::platform::DataDirectory(), ignored);
  std::filesystem::create_directories(vmk::settings::DocumentsFolder(), ignored);
  vmk::settings::WriteFirstRunSettings(vmk::platform::Registry(), vmk::settings::DocumentsFolder());
  return 0;
}
