// New program versions: whether the update description offers one, and the download of the set-up
// program into the program folder on the user's request. The user starts the set-up by hand.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "platform/dialogs.h"

namespace vmk::update {

inline constexpr const char* kSetupFileName = "KESTO2_update.exe";
inline constexpr const char* kSetupPath = "/updates/KESTO2_update.bin";
inline constexpr std::uintmax_t kMinimumSetupSize = 50;

// True when the update description's version number (-1 when absent) is newer than this program.
bool IsProgramUpdateOffered(int versionNumber);

enum class SetupDownload { NoWriteAccess, Failed, ShortFile, Downloaded };

// Tests that the program folder is writable, downloads the set-up program into it and shows the
// message of the outcome. With the proxy state on the download client fetches it (through the user's
// proxy), otherwise the plain download. updateServer is the base URL, empty when none is configured.
SetupDownload DownloadProgramUpdate(platform::Dialogs& dialogs, const std::filesystem::path& programFolder,
                                    const std::string& updateServer, bool proxyState);

}  // namespace vmk::update
