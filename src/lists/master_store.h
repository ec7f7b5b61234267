// The master-data store KSD.adb in the program folder: the customer and supplier records that the list
// search screens, one import at a time.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

#include "log/run_log.h"

namespace vmk::lists {

inline constexpr const char* kMasterStoreFile = "KSD.adb";

// Creates the store with its empty table Stammdaten when the file is missing or empty; otherwise leaves
// it alone. A failing statement is written to the run log.
void CreateMasterStore(const std::filesystem::path& programDirectory, log::RunLog& runLog);

// The number of stored records, or the database's error text.
struct MasterCount {
  std::optional<long long> count;
  std::string error;
  bool openFailed = false;
};
MasterCount CountMasterRecords(const std::filesystem::path& programDirectory);

}  // namespace vmk::lists
