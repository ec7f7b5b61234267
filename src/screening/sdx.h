// SDX key of one word, the Soundex-style phonetic key of the SDX columns of the sanctions database:
// a first letter and seven code digits (Refined Soundex codes), filled up with 0.
#pragma once

#include <string>
#include <string_view>

namespace vmk::screening {

// Encodes one Windows-1252 word (callers split texts at blanks and hyphens first); case does not
// matter. Empty for a word of up to two characters, else exactly 8 characters. Pure and thread-safe.
std::string SdxKey(std::string_view word);

}  // namespace vmk::screening
