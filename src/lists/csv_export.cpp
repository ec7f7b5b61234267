#include "lists/csv_export.h"

#include "platform/unique_file.h"
#include "text/date_mask.h"

namespace vmk::lists {

CsvExport::CsvExport(const std::filesystem::path& folder, const std::string& prefix,
                     const platform::Clock& clock)
    : path_(platform::ClaimUniqueFile(
          folder, prefix + text::FormatDate("%YYYY-%MM-%DD-%HH-%II-%SS", clock.Now()), ".csv")) {
  file_.OpenEmpty(path_);
}

void CsvExport::Write(const ListResultEntry& entry, const std::string& date) {
  std::string line;
  for (const std::string& term : entry.terms) line += term + ";";
  for (std::size_t i = 0; i < entry.hits.size(); ++i)
    line += (i > 0 ? ";" : "") + std::to_string(entry.hits[i]);
  if (!date.empty()) line += ";" + date;
  file_.WriteLine(line);
}

}  // namespace vmk::lists
