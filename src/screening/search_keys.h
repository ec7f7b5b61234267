// Phonetic key texts of whole search terms, made word by word with the SDX and Double Metaphone
// encoders; the database producer makes its key columns the same way.
#pragma once

#include <string>
#include <string_view>

namespace vmk::screening {

// Splits at every blank and hyphen and appends each word's SDX key and one blank; the callers trim.
std::string TermSdxKey(std::string_view term);

// Splits at single blanks (n blanks give n + 1 words) and appends each word's primary Double
// Metaphone key and one blank, so the result ends with a blank.
std::string WordwiseDmKey(std::string_view term);

}  // namespace vmk::screening
