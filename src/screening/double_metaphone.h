// Double Metaphone keys of a name or address text: the values of the DM columns of the sanctions
// database and of the phonetic search terms looked up in them.
#pragma once

#include <string>
#include <string_view>

namespace vmk::screening {

// Up to 4 characters each, from the codes A F H J K L M N O P R S T X ("O" is the sound of TH).
// Where no rule gives a second pronunciation the alternate equals the primary.
struct MetaphoneKeys {
  std::string primary;
  std::string alternate;
};

// Encodes a Windows-1252 text as it is, blanks included; case does not matter. Pure and thread-safe.
MetaphoneKeys DoubleMetaphone(std::string_view text);

}  // namespace vmk::screening
