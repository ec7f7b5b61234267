// The import of a semicolon-separated master-data file into the store KSD.adb: the cleaning and splitting
// of each line and the streaming insert of the records, without any window.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "log/run_log.h"
#include "platform/clock.h"

namespace vmk::lists {

// One record of the store; the ID stays empty in the interactive format.
struct MasterRecord {
  std::string id, name1, name2, address1, address2;
  bool operator==(const MasterRecord&) const = default;
};

// Removes double quotes and apostrophes and blanks out the punctuation of the codes 33-47, 60-63 and 91-96.
// Digits, colon, semicolon, at sign, letters and every byte above 127 stay.
std::string CleanImportLine(std::string_view line);

// Splits a cleaned line. Interactive: Name1;Name2;Address1;Address2. Unattended: ID first. Missing fields
// are empty; further ";" inside Address2 become blanks. Nothing is trimmed.
MasterRecord SplitImportLine(std::string_view cleanedLine, bool unattended);

// The number of lines of the file: LF or CR LF ends a line, a last line without line end counts, empty
// lines count. 0 when the file cannot be opened.
long long CountImportLines(const std::filesystem::path& file);

struct ImportResult {
  long long total = 0;      // lines counted before the import
  long long linesRead = 0;  // lines read and offered to the store
  long long rejected = 0;   // lines the store refused
  bool fileOpened = false;
  std::string storeError;  // set when KSD.adb could not be opened or written at all
};

using ImportProgress = std::function<void(long long line, long long total)>;
using RejectedLine = std::function<void(const std::string& databaseError)>;

// Counts the lines, replaces KSD.adb in the program directory by an empty store and inserts one record per
// line with the current time as Datum. After each line `progress` gets its number (from 1) and the total;
// a line the database refuses goes to `rejected` and the import goes on. The file is read in pieces, so
// its size does not matter; a file that cannot be read (any more) ends the import with what was read.
ImportResult ImportMasterFile(const std::filesystem::path& programDirectory,
                              const std::filesystem::path& file, bool unattended,
                              const platform::Clock& clock, log::RunLog& runLog,
                              const ImportProgress& progress, const RejectedLine& rejected);

}  // namespace vmk::lists
