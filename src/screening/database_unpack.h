// The working copy KESTO.adb of the data directory, unpacked from the pack KE2DB.pak before every use
// of the database and deleted after it.
#pragma once

#include <filesystem>

#include "log/run_log.h"
#include "platform/dialogs.h"

namespace vmk::screening {

// Unpacks the pack entry "Kesto.pak" into KESTO.adb unless a non-empty KESTO.adb is already there.
// The copy is written under a temporary name and renamed when complete, so no reader ever opens a
// half-written file. A failure shows "Entpack Fehler" and leaves no working copy. True when the working
// copy is there afterwards.
bool EnsureDatabaseUnpacked(const std::filesystem::path& dataDirectory, log::RunLog& runLog,
                            platform::Dialogs& dialogs);

std::filesystem::path WorkingCopyPath(const std::filesystem::path& dataDirectory);
// Deletes KESTO.adb after use; a missing file is no error.
void DeleteWorkingCopy(const std::filesystem::path& dataDirectory);

}  // namespace vmk::screening
