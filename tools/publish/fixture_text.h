// A small text form of sanctions entries for fixtures and the demo database:
//   [DBDate]            then lines "EU = 28.01.2026" (EU, UN, UK, US)
//   [EU]                starts a new entry of that list (EU, UN, UK, US), then "Column = value" lines
// Values are UTF-8 in the file and stored as Windows-1252; "<NULL>" stores NULL; "#" starts a comment line.
#pragma once

#include <string>
#include <string_view>

#include "publish/sanctions_db_writer.h"

namespace vmk::publish {

// Parses the text into data; returns an error text naming the line, empty on success.
std::string ParseFixtureText(std::string_view utf8, SanctionsData& data);

}  // namespace vmk::publish
