// The master-data import as the button "Lade Listendatei" and the "/e" run start it: the buttons, the
// chooser, the status texts and the progress window around the import of the file into KSD.adb.
#pragma once

#include <optional>
#include <string>

#include "app/app_context.h"

namespace vmk::app {

// The list-file field's text: a path of more than 55 characters as its first 15, " ... " and its last 30.
std::string ShortenedListFilePath(const std::string& path1252);

// "Import Status: k / total     ( p.p % )" with the percentage to one decimal.
std::string ImportStatusText(long long line, long long total);

// Imports the chosen file (interactive, unattended file empty) or the given one in the unattended format
// with the ID first, holding context.importLock the whole time. It reaches the window only through the
// model, which is safe from any thread, and through the dialogs (the chooser and the MF1072 boxes), so the
// caller may run it on a worker thread while the main thread keeps serving the window.
void ImportMasterData(AppContext& context, const std::optional<std::string>& unattendedFile);

}  // namespace vmk::app
