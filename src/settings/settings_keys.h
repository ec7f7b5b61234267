// The registry keys of the settings, kept as hex text and decoded before each use, and the first-run
// values that the settings library and the preparation program both write.
#pragma once

#include <string>

#include "platform/registry.h"

namespace vmk::settings {

// "Software\Brandell\Veldmark" and its subkey "Communication".
std::string SettingsKey();
std::string CommunicationKey();
// The log-on entry of the autostart program.
std::string AutostartValueName();
std::string AutostartProgramPath();

// Creates the settings key and writes the first-run values, the save path being the documents folder
// (with its trailing separator). Existing keys are not touched: false when the key already existed or
// could not be created.
bool WriteFirstRunSettings(const platform::Registry& registry, const std::string& documentsFolder);

// The documents folder of the installation: common documents + "Veldmark Dokumente/".
std::string DocumentsFolder();

// Decimal value of a text: optional sign and leading digits, 0 for empty or non-numeric text.
int DecimalValue(const std::string& text);

}  // namespace vmk::settings
