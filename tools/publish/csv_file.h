// A CSV file of an official list, read whole: RFC 4180 quoting, a chosen separator, the line each row
// starts on for error texts, and a header whose columns the readers look up by name.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace vmk::publish {

struct CsvRow {
  int line = 0;  // line of the file the row starts on, from 1
  std::vector<std::string> cells;
};

struct CsvOptions {
  char separator = ',';
  // Some published files end in the middle of a quoted field; such a last row is then dropped instead of
  // failing the whole file.
  bool cutLastRowDropped = false;
};

struct CsvContent {
  std::vector<CsvRow> rows;  // Windows-1252 cells; lines without any character are left out
  std::string error;         // "<file>:<line>: <what>", empty on success
  bool lastRowCut = false;   // a cut last row was dropped
};

// Reads and splits the file. UTF-8 text (with or without byte-order mark) is converted with ToListText,
// other text is taken as Windows-1252; a DOS end-of-file mark at the end is ignored.
CsvContent ReadCsvFile(const std::filesystem::path& file, const CsvOptions& options);
// The same for a text already in memory; `file` only names it in error texts.
CsvContent ParseCsvText(std::string_view text, const std::string& file, const CsvOptions& options);

// The columns of a header row by name (blanks around a name and letter case do not matter); columns a
// file adds are simply not looked up.
class CsvHeader {
 public:
  CsvHeader() = default;
  explicit CsvHeader(const std::vector<std::string>& names);

  bool Has(std::string_view name) const { return IndexOf(name) >= 0; }
  // The first required name the header lacks, "" when it has all.
  std::string FirstMissing(const std::vector<std::string_view>& required) const;
  // The row's cell of the named column with the blanks around it removed; "" when the column is
  // absent or the row is shorter.
  std::string Cell(const CsvRow& row, std::string_view name) const;
  // Whether the row repeats the header's names.
  bool IsRepeatedBy(const CsvRow& row) const;

 private:
  int IndexOf(std::string_view name) const;
  std::vector<std::string> names_;  // normalised names, in file order
};

// "<file>:<line>: <what>", the form of every reader error.
std::string ListFileError(const std::filesystem::path& file, int line, std::string_view what);

}  // namespace vmk::publish
