#include "publish/brieflz_encoder.h"

#include <bit>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace vmk::publish {
namespace {

constexpr std::size_t kMinMatch = 4;
constexpr unsigned kHashBits = 15;
constexpr std::size_t kNoPosition = std::numeric_limits<std::size_t>::max();

// Appends bytes and tag-word bits in the order the decoder reads them: a tag word is reserved in
// the output at the moment the first bit of it is needed, and its bits are filled in afterwards.
class BlockWriter {
 public:
  explicit BlockWriter(std::vector<unsigned char>& out) : out_(out) {}

  void Byte(unsigned char value) { out_.push_back(value); }

  void Bit(unsigned bit) {
    if (bitsLeft_ == 0) {
      tagPosition_ = out_.size();
      out_.push_back(0);
      out_.push_back(0);
      tag_ = 0;
      bitsLeft_ = 16;
    }
    --bitsLeft_;
    tag_ |= (bit & 1u) << bitsLeft_;
    out_[tagPosition_] = static_cast<unsigned char>(tag_ & 0xFFu);
    out_[tagPosition_ + 1] = static_cast<unsigned char>(tag_ >> 8);
  }

  // Gamma number (value >= 2): the bits below the leading 1, each followed by "more follow".
  void Gamma(std::size_t value) {
    const int top = std::bit_width(value) - 1;
    for (int i = top - 1; i >= 0; --i) {
      Bit(static_cast<unsigned>((value >> i) & 1u));
      Bit(i > 0 ? 1u : 0u);
    }
  }

 private:
  std::vector<unsigned char>& out_;
  std::size_t tagPosition_ = 0;
  unsigned tag_ = 0;
  unsigned bitsLeft_ = 0;
};

std::size_t PrefixHash(const unsigned char* bytes) {
  const std::uint32_t prefix =
      static_cast<std::uint32_t>(bytes[0]) | (static_cast<std::uint32_t>(bytes[1]) << 8) |
      (static_cast<std::uint32_t>(bytes[2]) << 16) | (static_cast<std::uint32_t>(bytes[3]) << 24);
  return (prefix * 2654435761u) >> (32 - kHashBits);
}

// Remembers the latest position of each 4-byte prefix hash.
class MatchFinder {
 public:
  explicit MatchFinder(std::span<const unsigned char> block)
      : block_(block), latest_(std::size_t{1} << kHashBits, kNoPosition) {}

  void Insert(std::size_t position) {
    if (block_.size() - position >= kMinMatch) latest_[PrefixHash(&block_[position])] = position;
  }

  // Length of the match found for `position` (0 if none shorter than kMinMatch), and its source.
  std::size_t Find(std::size_t position, std::size_t& source) const {
    if (block_.size() - position < kMinMatch) return 0;
    source = latest_[PrefixHash(&block_[position])];
    if (source == kNoPosition) return 0;
    std::size_t length = 0;
    while (position + length < block_.size() && block_[source + length] == block_[position + length])
      ++length;
    return length >= kMinMatch ? length : 0;
  }

 private:
  std::span<const unsigned char> block_;
  std::vector<std::size_t> latest_;
};

}  // namespace

std::vector<unsigned char> BriefLzEncode(std::span<const unsigned char> block) {
  std::vector<unsigned char> out;
  if (block.empty()) return out;
  out.reserve(block.size() + block.size() / 8 + 4);

  BlockWriter writer(out);
  MatchFinder finder(block);
  writer.Byte(block[0]);
  finder.Insert(0);

  for (std::size_t position = 1; position < block.size();) {
    std::size_t source = 0;
    const std::size_t length = finder.Find(position, source);
    if (length == 0) {
      writer.Bit(0);
      writer.Byte(block[position]);
      finder.Insert(position);
      ++position;
      continue;
    }
    const std::size_t offset = position - source;
    writer.Bit(1);
    writer.Gamma(length - 2);
    writer.Gamma(((offset - 1) >> 8) + 2);
    writer.Byte(static_cast<unsigned char>((offset - 1) & 0xFFu));
    for (std::size_t end = position + length; position < end; ++position) finder.Insert(position);
  }
  return out;
}

}  // namespace vmk::publish
