// Windows-1252 text: the case mapping the encoders and the whitelist rely on, and conversion to and
// from UTF-8 at the edges of the program (command line, window, run log).
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vmk::text {

// Capital of one Windows-1252 byte as Windows maps it: a-z, the accented small letters, s/z/oe with
// caron or ligature, y with diaeresis. Every other byte (sharp s included) is returned unchanged.
unsigned char ToUpper1252(unsigned char c);
std::string ToUpper1252(std::string_view text);

// Upper-cases A-Z only, the folding SQLite's LIKE and the whitelist comparison use.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b);

// Windows-1252 bytes to UTF-8. The five unassigned bytes map to the C1 controls of the same value.
std::string Cp1252ToUtf8(std::string_view text);
// Decodes one UTF-8 sequence at text[i] and advances i past it. A malformed sequence gives false and
// steps over its first byte only, so the next character is still read.
bool NextUtf8(std::string_view text, std::size_t& i, char32_t& cp);
// UTF-8 to Windows-1252. A character the code page lacks, and every malformed byte, becomes "?".
std::string Utf8ToCp1252(std::string_view text);

// A Windows-1252 string from a UTF-8 literal of the source code: Win1252("Straße").
inline std::string Win1252(std::string_view utf8) {
  return Utf8ToCp1252(utf8);
}

// Removes leading and trailing blanks (the space character only).
std::string TrimBlanks(std::string_view text);

}  // namespace vmk::text
