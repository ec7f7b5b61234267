// Reads one entry out of the database pack (signature "1zlp" or "2zlp") into a file, plain or
// decoded from its BriefLZ stream. Every size in the pack is checked against the file and the stream.
#pragma once

#include <filesystem>
#include <string_view>

namespace vmk::screening {

enum class PackError {
  None,
  CannotOpenPack,
  BadSignature,
  EntryMissing,
  Truncated,
  BadStream,
  SizeMismatch,
  WriteFailed
};

// Writes the entry named exactly `entryName` (case-sensitive) to `target`, replacing a file there.
// On any failure the target is removed again, so it exists only after a complete extraction.
PackError ExtractPackEntry(const std::filesystem::path& pack, std::string_view entryName,
                           const std::filesystem::path& target);

// Short English text of an error, for the diagnostic log.
const char* PackErrorText(PackError error);

}  // namespace vmk::screening
