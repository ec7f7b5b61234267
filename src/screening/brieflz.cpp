#include "screening/brieflz.h"

#include <algorithm>
#include <limits>

namespace vmk::screening {
namespace {

// Reads the block's bytes and the bits of its 16-bit tag words in stream order.
class BlockReader {
 public:
  explicit BlockReader(std::span<const unsigned char> source) : source_(source) {}

  std::size_t Position() const { return position_; }

  bool Byte(unsigned char& value) {
    if (position_ >= source_.size()) return false;
    value = source_[position_++];
    return true;
  }

  // A new tag word is loaded at the point where the previous one ran out.
  bool Bit(unsigned& bit) {
    if (bitsLeft_ == 0) {
      if (source_.size() - position_ < 2) return false;
      tag_ = static_cast<unsigned>(source_[position_]) | (static_cast<unsigned>(source_[position_ + 1]) << 8);
      position_ += 2;
      bitsLeft_ = 16;
    }
    --bitsLeft_;
    bit = (tag_ >> bitsLeft_) & 1u;
    return true;
  }

  // Gamma number: a leading 1, then (data bit, continue bit) pairs. Values above `limit` are
  // rejected as soon as they appear, which also keeps the doubling from overflowing.
  bool Gamma(std::size_t limit, std::size_t& value) {
    value = 1;
    unsigned more = 0;
    do {
      unsigned bit = 0;
      if (!Bit(bit)) return false;
      if (value > limit) return false;
      value = value * 2 + bit;
      if (!Bit(more)) return false;
    } while (more != 0);
    return true;
  }

 private:
  std::span<const unsigned char> source_;
  std::size_t position_ = 0;
  unsigned tag_ = 0;
  unsigned bitsLeft_ = 0;
};

}  // namespace

bool BriefLzDecode(std::span<const unsigned char> source, std::span<unsigned char> destination,
                   std::size_t& consumed) {
  consumed = 0;
  const std::size_t size = destination.size();
  if (size == 0) return true;

  BlockReader reader(source);
  if (!reader.Byte(destination[0])) return false;
  // No valid length or offset exceeds the block size, so a gamma value beyond it is damage.
  const std::size_t gammaLimit = std::min(size, std::numeric_limits<std::size_t>::max() / 4);

  std::size_t written = 1;
  while (written < size) {
    unsigned isMatch = 0;
    if (!reader.Bit(isMatch)) return false;
    if (isMatch == 0) {
      if (!reader.Byte(destination[written])) return false;
      ++written;
      continue;
    }

    std::size_t lengthCode = 0;
    std::size_t offsetCode = 0;
    unsigned char offsetLow = 0;
    if (!reader.Gamma(gammaLimit, lengthCode) || !reader.Gamma(gammaLimit, offsetCode) ||
        !reader.Byte(offsetLow)) {
      return false;
    }
    const std::size_t length = lengthCode + 2;
    const std::size_t offsetHigh = offsetCode - 2;
    if (length > size - written) return false;
    if (offsetHigh > written / 256) return false;
    const std::size_t offset = offsetHigh * 256 + offsetLow + 1;
    if (offset > written) return false;

    // Byte by byte on purpose: a short offset repeats bytes this very copy has just written.
    for (std::size_t i = 0; i < length; ++i, ++written) {
      destination[written] = destination[written - offset];
    }
  }
  consumed = reader.Position();
  return true;
}

}  // namespace vmk::screening
