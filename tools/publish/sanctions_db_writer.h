// Writes a sanctions database: the four list tables with every column, the list dates, and the SDX
// and Double Metaphone key columns computed with the program's own encoders.
#pragma once

#include <array>
#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "screening/sanctions_schema.h"

namespace vmk::publish {

// One row of a list table. Columns not named hold the empty text; a key column not named is computed
// from its source columns. std::nullopt stores NULL.
struct ListEntry {
  screening::ListId list = screening::ListId::EU;
  std::map<std::string, std::optional<std::string>> values;  // column name -> Windows-1252 value
};

struct SanctionsData {
  std::vector<ListEntry> entries;
  std::array<std::string, 4> dates = {"-", "-", "-", "-"};  // EU, UN, UK, US
};

// Key column texts made from the source texts of one row: per word keys separated by one blank; the
// Double Metaphone column also starts with the key of each whole text.
std::string SdxKeyColumn(const std::vector<std::string>& sources);
std::string DmKeyColumn(const std::vector<std::string>& sources);

// Creates the database file anew. Returns an error text, empty on success.
std::string WriteSanctionsDatabase(const std::filesystem::path& file, const SanctionsData& data);

}  // namespace vmk::publish
