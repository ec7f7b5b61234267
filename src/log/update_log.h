// The update log VMK.log of the data directory: one dated line per event of the database update.
#pragma once

#include <filesystem>
#include <string_view>

#include "platform/clock.h"

namespace vmk::log {

// Opens VMK.log in the data directory (creating it), appends "%dd.%mm.%yyyy | %hh:%ii:%ss ", the text and
// a line end, and closes it again. A file that cannot be opened is skipped.
void WriteUpdateLog(const std::filesystem::path& dataDirectory, std::string_view text1252,
                    const platform::Clock& clock = platform::DefaultClock());

}  // namespace vmk::log
