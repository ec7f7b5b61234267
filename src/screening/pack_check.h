// Checks a downloaded database pack before it may replace the installed one, and replaces it so that
// at every moment either the old or the new pack is in place.
#pragma once

#include <filesystem>

namespace vmk::screening {

// True when the pack has a readable signature and an entry "Kesto.pak" that unpacks to a SQLite
// database holding the four list tables and DBDate.
bool IsUsablePack(const std::filesystem::path& pack);

// Checks `downloaded` and renames it over `installed`. A pack that fails the check is deleted and the
// installed one stays. True when the new pack is installed.
bool InstallCheckedPack(const std::filesystem::path& downloaded, const std::filesystem::path& installed);

}  // namespace vmk::screening
