#include "screening/pack_check.h"

#include <sqlite3.h>
#include <unistd.h>

#include <set>
#include <string>
#include <system_error>

#include "screening/pack_reader.h"
#include "screening/sanctions_db.h"

namespace vmk::screening {
namespace {

bool HoldsTheListTables(const std::filesystem::path& database) {
  SanctionsDatabase db(database);
  std::set<std::string> tables;
  const bool read = db.Query("SELECT name FROM sqlite_master WHERE type = 'table'",
                             [&](const Row& row) { tables.insert(row.at(0)); });
  if (!read) return false;
  for (const char* table : {"EUGlobal", "UNGlobalINDIV", "Boe", "USConsolidated", "DBDate"}) {
    if (!tables.count(table)) return false;
  }
  return true;
}

}  // namespace

bool IsUsablePack(const std::filesystem::path& pack) {
  const std::filesystem::path probe =
      pack.parent_path() / (pack.filename().string() + ".check." + std::to_string(::getpid()));
  const bool usable =
      ExtractPackEntry(pack, kPackEntryName, probe) == PackError::None && HoldsTheListTables(probe);
  std::error_code ignored;
  std::filesystem::remove(probe, ignored);
  return usable;
}

bool InstallCheckedPack(const std::filesystem::path& downloaded, const std::filesystem::path& installed) {
  std::error_code error;
  if (!IsUsablePack(downloaded)) {
    std::filesystem::remove(downloaded, error);
    return false;
  }
  std::filesystem::rename(downloaded, installed, error);
  if (error) std::filesystem::remove(downloaded, error);
  return !error;
}

}  // namespace vmk::screening
