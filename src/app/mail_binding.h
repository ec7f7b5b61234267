// The main program's calls of the mailer library VMKCom2, and the installation's identification text
// that every mail to the vendor carries.
#pragma once

#include <filesystem>
#include <string>

#include "app/settings_binding.h"
#include "platform/dialogs.h"
#include "update/program_version.h"

namespace vmk::app {

inline constexpr const char* kMailerLibraryFile = "VMKCom2.so";
using update::kProgramVersionNumber;

// Loads the library from the program directory, calls mailforwarder once and unloads it. A library or
// export that cannot be found sends nothing and gives 0, as a failed mail.
int CallMailForwarder(const std::filesystem::path& programDirectory, const std::string& progId,
                      const std::string& subjectSuffix, const std::string& body);

// "<computer name> / <company>": tells the vendor which installation wrote.
std::string InstallationId(SettingsBinding& settings);

// The dialogs through which the mailer library, called from this process, shows its boxes.
void SetHostDialogs(platform::Dialogs* dialogs);

}  // namespace vmk::app
