// Writing a file so that it is either replaced completely or left as it was: the bytes go to a
// temporary file beside it, which is renamed over the target once it is complete on disk.
#pragma once

#include <filesystem>
#include <string_view>

namespace vmk::reports {

// False when the file cannot be written; no partly written file is then left behind.
bool ReplaceFileContents(const std::filesystem::path& file, std::string_view bytes);

}  // namespace vmk::reports
