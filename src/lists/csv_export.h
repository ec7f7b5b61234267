// The CSV exports of a list search: "VMK_LS_All_<stamp>.csv" with every screened record and
// "VMK_LS_Hits_<stamp>.csv" with the records that matched, 8-bit text, CR LF, no header, no quoting.
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "lists/list_result.h"
#include "log/line_file.h"
#include "platform/clock.h"

namespace vmk::lists {

class CsvExport {
 public:
  // Claims a fresh file "<prefix><%YYYY-%MM-%DD-%HH-%II-%SS>.csv" in the folder ("-2", "-3", ... when the
  // name is taken) and opens it empty.
  CsvExport(const std::filesystem::path& folder, const std::string& prefix, const platform::Clock& clock);

  bool IsOpen() const { return file_.IsOpen(); }
  const std::filesystem::path& Path() const { return path_; }
  // T1;T2;T3;T4;N1;N2;N3;N4, and with a date ";" and the date.
  void Write(const ListResultEntry& entry, const std::string& date = "");
  void Close() { file_.Close(); }

 private:
  std::filesystem::path path_;
  log::LineFile file_;
};

}  // namespace vmk::lists
