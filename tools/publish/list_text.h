// Text helpers of the list readers besides ToListText: telling a UTF-8 list file from a Windows-1252
// one, and the date forms the official files use.
#pragma once

#include <string>
#include <string_view>

namespace vmk::publish {

// True when every byte sequence of the text is well-formed UTF-8.
bool IsWellFormedUtf8(std::string_view text);

// The content of a list file as Windows-1252: a leading UTF-8 byte-order mark is skipped; a UTF-8 text
// is converted with ToListText, any other text is taken as Windows-1252 already.
std::string FileContentToListText(std::string_view bytes);

// "dd.mm.yyyy" from a date starting "yyyy-mm-dd" or "dd/mm/yyyy" (a time may follow); "-" otherwise.
std::string ListDate(std::string_view text);

}  // namespace vmk::publish
