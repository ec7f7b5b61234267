// Base64 (standard alphabet, "=" padding) and hex texts of byte strings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vmk::text {

std::string Base64Encode(std::string_view bytes);
// Ignores line breaks; returns nothing for any other character outside the alphabet or bad padding.
std::optional<std::string> Base64Decode(std::string_view text);

// Upper-case hex digits, two per byte.
std::string HexEncode(std::string_view bytes);
// Accepts either case; returns nothing for an odd length or a non-hex character.
std::optional<std::string> HexDecode(std::string_view text);

}  // namespace vmk::text
