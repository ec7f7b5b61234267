#include "publish/pack_writer.h"

#include <algorithm>
#include <fstream>
#include <span>
#include <system_error>
#include <utility>

#include "publish/brieflz_encoder.h"

namespace vmk::publish {
namespace {

constexpr std::uint64_t kMaxBlockSize = std::uint64_t{256} << 20;
constexpr std::size_t kMaxNameLength = 0xFFFF;

void AppendU16(std::string& out, std::uint16_t value) {
  out.push_back(static_cast<char>(value & 0xFFu));
  out.push_back(static_cast<char>(value >> 8));
}

void AppendU64(std::string& out, std::uint64_t value) {
  for (int i = 0; i < 8; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFFu));
}

// "1zlb", 4 unused bytes, total size, block size, then each block's BriefLZ encoding.
std::string CompressedStream(const std::string& data, std::uint64_t blockSize) {
  std::string stream = "1zlb";
  stream.append(4, '\0');
  AppendU64(stream, data.size());
  AppendU64(stream, blockSize);
  const auto* bytes = reinterpret_cast<const unsigned char*>(data.data());
  for (std::size_t start = 0; start < data.size();) {
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(blockSize, data.size() - start));
    const std::vector<unsigned char> block =
        BriefLzEncode(std::span<const unsigned char>(bytes + start, count));
    stream.append(block.begin(), block.end());
    start += count;
  }
  return stream;
}

// What goes into the pack for an entry. A stream is kept only when strictly smaller: a stored size
// equal to the content's size tells the reader the entry is plain.
std::string StoredForm(const PackEntry& entry, std::uint64_t blockSize) {
  if (!entry.compress || entry.data.empty()) return entry.data;
  std::string stream = CompressedStream(entry.data, blockSize);
  return stream.size() < entry.data.size() ? stream : entry.data;
}

std::string EntryBytes(const PackEntry& entry, PackSignature signature, std::uint64_t blockSize) {
  const std::string stored = StoredForm(entry, blockSize);
  std::string out;
  AppendU64(out, entry.data.size());
  AppendU64(out, stored.size());
  AppendU16(out, static_cast<std::uint16_t>(entry.name.size()));
  if (signature == PackSignature::V1) out.append(6, '\0');
  out += entry.name;
  out += stored;
  return out;
}

// Writes the pack; a file it created is removed again when anything fails.
bool WritePackFile(const std::filesystem::path& pack, PackSignature signature,
                   const std::vector<PackEntry>& entries, std::uint64_t blockSize) {
  std::ofstream out(pack, std::ios::binary | std::ios::trunc);
  if (!out) return false;
  bool written = false;
  try {
    out.write(signature == PackSignature::V1 ? "1zlp" : "2zlp", 4);
    for (const PackEntry& entry : entries) {
      const std::string bytes = EntryBytes(entry, signature, blockSize);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    out.close();
    written = !out.fail();
  } catch (...) {
    written = false;  // allocation failure while compressing
  }
  if (!written) {
    out.close();
    std::error_code ignored;
    std::filesystem::remove(pack, ignored);
  }
  return written;
}

}  // namespace

bool WritePack(const std::filesystem::path& pack, PackSignature signature,
               const std::vector<PackEntry>& entries, std::uint64_t blockSize) {
  if (blockSize == 0 || blockSize > kMaxBlockSize) return false;
  for (const PackEntry& entry : entries) {
    if (entry.name.size() > kMaxNameLength) return false;
  }
  return WritePackFile(pack, signature, entries, blockSize);
}

bool WritePackFromFile(const std::filesystem::path& pack, PackSignature signature,
                       const std::string& entryName, const std::filesystem::path& source, bool compress,
                       std::uint64_t blockSize) {
  std::vector<PackEntry> entries;
  try {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(source, error);
    if (error) return false;
    std::ifstream in(source, std::ios::binary);
    if (!in) return false;
    std::string data(static_cast<std::size_t>(size), '\0');
    in.read(data.data(), static_cast<std::streamsize>(data.size()));
    if (static_cast<std::uintmax_t>(in.gcount()) != size) return false;
    entries.push_back(PackEntry{entryName, std::move(data), compress});
  } catch (...) {
    return false;
  }
  return WritePack(pack, signature, entries, blockSize);
}

}  // namespace vmk::publish
