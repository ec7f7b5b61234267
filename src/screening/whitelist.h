// The whitelist WL.dat of the data directory: words without meaning for screening (legal forms, trade
// words) that are deleted from the search terms before a search.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "log/run_log.h"
#include "screening/search_state.h"

namespace vmk::screening {

inline constexpr const char* kWhitelistFile = "WL.dat";

// Deletes every word of T1 to T4 that equals an entry (A-Z compared without case, every other byte
// exactly). A missing file is created empty and the terms stay as they are.
void ApplyWhitelist(SearchState& state, const std::filesystem::path& dataDirectory, log::RunLog& runLog);

// The term with every word equal to the entry replaced by nothing: words split at single blanks, each
// followed by one blank, then trimmed, so a deleted inner word leaves two adjacent blanks.
std::string RemoveWhitelistWord(std::string_view term, std::string_view entry);

// The lines of the file without their line ends (CR LF or LF); empty lines are left out.
std::vector<std::string> ReadWhitelistEntries(const std::filesystem::path& file);

}  // namespace vmk::screening
