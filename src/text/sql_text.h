// The one quoting helper for values put between single quotes in SQL statements.
#pragma once

#include <string>
#include <string_view>

namespace vmk::text {

// Doubles every apostrophe, so the value cannot end its literal early. Nothing else is changed:
// "%" and "_" keep their LIKE meaning.
std::string EscapeSqlValue(std::string_view value);

}  // namespace vmk::text
