// Writes database packs (signature "1zlp" or "2zlp"), the form in which the publisher ships the
// sanctions database; vmk::screening::ExtractPackEntry reads them back.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace vmk::publish {

struct PackEntry {
  std::string name;
  std::string data;
  bool compress = true;
};

enum class PackSignature { V1, V2 };  // "1zlp" (24-byte entry headers), "2zlp" (18-byte entry headers)

// Writes the entries in order. An entry is stored as a "1zlb" stream of BriefLZ blocks of
// `blockSize` bytes when that makes it smaller, else plain. Fails (and leaves no file) on a name
// longer than 65535 bytes, a block size of 0 or above 256 MiB, or a write error.
bool WritePack(const std::filesystem::path& pack, PackSignature signature,
               const std::vector<PackEntry>& entries, std::uint64_t blockSize = 1 << 20);

// A pack with the single entry `entryName` holding the content of the file `source`.
bool WritePackFromFile(const std::filesystem::path& pack, PackSignature signature,
                       const std::string& entryName, const std::filesystem::path& source, bool compress,
                       std::uint64_t blockSize = 1 << 20);

}  // namespace vmk::publish
