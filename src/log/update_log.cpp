#include "log/update_log.h"

#include "log/line_file.h"
#include "text/date_mask.h"

namespace vmk::log {

void WriteUpdateLog(const std::filesystem::path& dataDirectory, std::string_view text1252,
                    const platform::Clock& clock) {
  LineFile file;
  if (!file.OpenAppend(dataDirectory / "VMK.log")) return;
  file.Write(text::FormatDate("%dd.%mm.%yyyy | %hh:%ii:%ss ", clock.Now()));
  file.WriteLine(text1252);
}

}  // namespace vmk::log
