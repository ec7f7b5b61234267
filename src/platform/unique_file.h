// Output files that never replace an earlier result: the first free name of a stem, claimed by creating
// the file empty, so no other writer can take it meanwhile.
#pragma once

#include <filesystem>
#include <string>

namespace vmk::platform {

// folder/stem.ext, or folder/stem-2.ext, -3, ... when taken. When the folder cannot be written, the
// plain name, unclaimed.
std::filesystem::path ClaimUniqueFile(const std::filesystem::path& folder, const std::string& stem,
                                      const std::string& extension);

}  // namespace vmk::platform
