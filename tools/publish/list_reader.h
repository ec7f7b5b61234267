// What a reader of an official list file gives the database build: the rows of one list table, one per
// name variant, and the list's publication date; and the text form every reader stores.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "publish/sanctions_db_writer.h"

namespace vmk::publish {

struct ListRead {
  std::vector<ListEntry> entries;  // column name -> Windows-1252 value; a field without data is ""
  std::string date = "-";          // publication date "dd.mm.yyyy", "-" when the file does not say
  std::string error;               // "<file>:<line>: <what>", empty on success
  bool Ok() const { return error.empty(); }
};

// A UTF-8 text of a list file as Windows-1252: characters the code page lacks are transliterated to
// their closest Latin form (Cyrillic, Greek, Latin letters with other marks), "?" when there is none.
std::string ToListText(std::string_view utf8);

// The readers, one per official format.
ListRead ReadUnConsolidatedXml(const std::filesystem::path& file);
ListRead ReadEuFinancialSanctionsCsv(const std::filesystem::path& file);
ListRead ReadUkConsolidatedCsv(const std::filesystem::path& file);
ListRead ReadOfacSdnCsv(const std::filesystem::path& sdn, const std::filesystem::path& alt,
                        const std::filesystem::path& add);
ListRead ReadUsConsolidatedScreeningCsv(const std::filesystem::path& file);

}  // namespace vmk::publish
