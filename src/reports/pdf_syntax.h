// The lexical pieces of a PDF file the writer produces: numbers, literal and UTF-16 strings, dates.
#pragma once

#include <ctime>
#include <string>
#include <string_view>

namespace vmk::reports {

// A number with two decimals and a full stop, whatever the locale ("12.50", "-3.00", "0.00").
std::string PdfNumber(double value);

// A literal string "(...)" of the bytes, with backslash, parentheses and the control characters
// backspace, tab, line feed, form feed and carriage return escaped.
std::string PdfLiteralString(std::string_view bytes);

// The escaped bytes without the enclosing parentheses.
std::string EscapedStringBytes(std::string_view bytes);

// A hexadecimal string "<FEFF...>" holding a Windows-1252 text as UTF-16BE with byte-order mark, the
// form PDF readers take for text outside the PDF character set (bookmark titles).
std::string PdfUtf16String(std::string_view cp1252);

// "D:YYYYMMDDHHmmSS+HH'mm'" in local time with the offset to UTC.
std::string PdfDate(std::time_t moment);

}  // namespace vmk::reports
