#include "screening/pack_reader.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <span>
#include <string>
#include <system_error>
#include <vector>

#include "screening/brieflz.h"

namespace vmk::screening {
namespace {

namespace fs = std::filesystem;

constexpr std::size_t kSignatureSize = 4;
constexpr std::size_t kEntryHeaderSizeV1 = 24;
constexpr std::size_t kEntryHeaderSizeV2 = 18;
constexpr std::size_t kStreamHeaderSize = 24;
constexpr std::uint64_t kMaxBlockSize = std::uint64_t{256} << 20;
constexpr std::size_t kCopyChunkSize = 64 * 1024;

std::uint16_t LoadU16(const unsigned char* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | (bytes[1] << 8));
}

std::uint64_t LoadU64(const unsigned char* bytes) {
  std::uint64_t value = 0;
  for (int i = 7; i >= 0; --i) value = (value << 8) | bytes[i];
  return value;
}

// The pack, read front to back; the remaining byte count bounds every size taken from it.
class PackInput {
 public:
  bool Open(const fs::path& path) {
    std::error_code error;
    if (!fs::is_regular_file(path, error)) return false;
    size_ = fs::file_size(path, error);
    if (error) return false;
    in_.open(path, std::ios::binary);
    return in_.is_open();
  }

  std::uint64_t Remaining() const { return size_ - position_; }

  bool Read(unsigned char* data, std::uint64_t count) {
    if (count > Remaining()) return false;
    in_.read(reinterpret_cast<char*>(data), static_cast<std::streamsize>(count));
    if (static_cast<std::uint64_t>(in_.gcount()) != count) return false;
    position_ += count;
    return true;
  }

  bool Skip(std::uint64_t count) {
    if (count > Remaining()) return false;
    position_ += count;
    in_.seekg(static_cast<std::streamoff>(position_));
    return static_cast<bool>(in_);
  }

 private:
  std::ifstream in_;
  std::uint64_t size_ = 0;
  std::uint64_t position_ = 0;
};

// The file being extracted. It is removed again unless the extraction reached Complete().
class TargetFile {
 public:
  explicit TargetFile(const fs::path& path) : path_(path) {}
  TargetFile(const TargetFile&) = delete;
  TargetFile& operator=(const TargetFile&) = delete;
  ~TargetFile() {
    if (!opened_ || complete_) return;
    out_.close();
    std::error_code ignored;
    fs::remove(path_, ignored);
  }

  bool Open() {
    out_.open(path_, std::ios::binary | std::ios::trunc);
    opened_ = out_.is_open();
    return opened_;
  }

  bool Write(const unsigned char* data, std::size_t count) {
    out_.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(count));
    return static_cast<bool>(out_);
  }

  bool Complete() {
    out_.close();
    complete_ = !out_.fail();
    return complete_;
  }

 private:
  fs::path path_;
  std::ofstream out_;
  bool opened_ = false;
  bool complete_ = false;
};

PackError CopyPlainEntry(PackInput& in, std::uint64_t size, const fs::path& target) {
  TargetFile out(target);
  if (!out.Open()) return PackError::WriteFailed;
  std::vector<unsigned char> chunk(static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyChunkSize)));
  for (std::uint64_t left = size; left > 0;) {
    const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
    if (!in.Read(chunk.data(), count)) return PackError::Truncated;
    if (!out.Write(chunk.data(), count)) return PackError::WriteFailed;
    left -= count;
  }
  return out.Complete() ? PackError::None : PackError::WriteFailed;
}

// A "1zlb" stream: signature, 4 unused bytes, total size, block size, then the blocks back to back.
PackError DecodeStreamEntry(PackInput& in, std::uint64_t unpackedSize, std::uint64_t storedSize,
                            const fs::path& target) {
  if (storedSize < kStreamHeaderSize) return PackError::BadStream;
  // The stored size was checked against the pack's size, so this allocation is bounded by the file.
  std::vector<unsigned char> stream(static_cast<std::size_t>(storedSize));
  if (!in.Read(stream.data(), storedSize)) return PackError::Truncated;

  if (std::memcmp(stream.data(), "1zlb", kSignatureSize) != 0) return PackError::BadStream;
  const std::uint64_t totalSize = LoadU64(stream.data() + 8);
  const std::uint64_t blockSize = LoadU64(stream.data() + 16);
  if (totalSize != unpackedSize) return PackError::SizeMismatch;
  if (blockSize > kMaxBlockSize || (blockSize == 0 && totalSize > 0)) return PackError::BadStream;

  TargetFile out(target);
  if (!out.Open()) return PackError::WriteFailed;
  std::vector<unsigned char> block(static_cast<std::size_t>(std::min(blockSize, totalSize)));
  std::span<const unsigned char> rest = std::span<const unsigned char>(stream).subspan(kStreamHeaderSize);
  for (std::uint64_t left = totalSize; left > 0;) {
    const auto count = static_cast<std::size_t>(std::min(left, blockSize));
    std::size_t consumed = 0;
    if (!BriefLzDecode(rest, std::span<unsigned char>(block).first(count), consumed)) {
      return PackError::BadStream;
    }
    rest = rest.subspan(consumed);
    if (!out.Write(block.data(), count)) return PackError::WriteFailed;
    left -= count;
  }
  return out.Complete() ? PackError::None : PackError::WriteFailed;
}

PackError Extract(const fs::path& pack, std::string_view entryName, const fs::path& target) {
  PackInput in;
  if (!in.Open(pack)) return PackError::CannotOpenPack;

  unsigned char signature[kSignatureSize];
  if (!in.Read(signature, kSignatureSize)) return PackError::BadSignature;
  std::size_t headerSize = 0;
  if (std::memcmp(signature, "1zlp", kSignatureSize) == 0) {
    headerSize = kEntryHeaderSizeV1;
  } else if (std::memcmp(signature, "2zlp", kSignatureSize) == 0) {
    headerSize = kEntryHeaderSizeV2;
  } else {
    return PackError::BadSignature;
  }

  while (in.Remaining() > 0) {
    unsigned char header[kEntryHeaderSizeV1];
    if (!in.Read(header, headerSize)) return PackError::Truncated;
    const std::uint64_t unpackedSize = LoadU64(header);
    const std::uint64_t storedSize = LoadU64(header + 8);
    std::string name(LoadU16(header + 16), '\0');
    if (!in.Read(reinterpret_cast<unsigned char*>(name.data()), name.size())) return PackError::Truncated;
    if (storedSize > in.Remaining()) return PackError::Truncated;

    if (name == entryName) {
      // Equal sizes mark a plain entry; a compressed stream never has the size of its content.
      return storedSize == unpackedSize ? CopyPlainEntry(in, storedSize, target)
                                        : DecodeStreamEntry(in, unpackedSize, storedSize, target);
    }
    if (!in.Skip(storedSize)) return PackError::Truncated;
  }
  return PackError::EntryMissing;
}

}  // namespace

PackError ExtractPackEntry(const fs::path& pack, std::string_view entryName, const fs::path& target) {
  try {
    return Extract(pack, entryName, target);
  } catch (...) {
    // Only the buffers can throw (allocation); the target is already removed by then.
    return PackError::WriteFailed;
  }
}

const char* PackErrorText(PackError error) {
  switch (error) {
    case PackError::None:
      return "no error";
    case PackError::CannotOpenPack:
      return "cannot open the pack file";
    case PackError::BadSignature:
      return "the pack file has no valid signature";
    case PackError::EntryMissing:
      return "the entry is not in the pack";
    case PackError::Truncated:
      return "the pack file is truncated";
    case PackError::BadStream:
      return "the compressed data is damaged";
    case PackError::SizeMismatch:
      return "the compressed data disagrees with the entry size";
    case PackError::WriteFailed:
      return "cannot write the unpacked file";
  }
  return "unknown pack error";
}

}  // namespace vmk::screening
