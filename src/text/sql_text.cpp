#include "text/sql_text.h"

namespace vmk::text {

std::string EscapeSqlValue(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    out += c;
    if (c == '\'') out += '\'';
  }
  return out;
}

}  // namespace vmk::text
