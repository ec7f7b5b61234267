// Decoder of one BriefLZ-compressed block, the compression inside the database pack. The decoder
// checks every read and copy, so a damaged pack ends in a failure and never in a stray access.
#pragma once

#include <cstddef>
#include <span>

namespace vmk::screening {

// Decodes exactly destination.size() bytes from source. On success `consumed` is the number of
// source bytes the block took (the next block of a stream starts there). Returns false when the
// source ends early, a match reaches before the start of the output or beyond its end, or a gamma
// number grows past any length the block could hold; destination is then partly written.
bool BriefLzDecode(std::span<const unsigned char> source, std::span<unsigned char> destination,
                   std::size_t& consumed);

}  // namespace vmk::screening
