// Encoder of one BriefLZ block, for writing database packs: greedy matching over the whole block,
// so any block it produces decodes with vmk::screening::BriefLzDecode.
#pragma once

#include <span>
#include <vector>

namespace vmk::publish {

// The compressed form of `block`; decoding it to block.size() bytes gives the block back.
std::vector<unsigned char> BriefLzEncode(std::span<const unsigned char> block);

}  // namespace vmk::publish
