// Date and time texts by mask: "%dd.%mm.%yyyy", "%hh:%ii:%ss", "%YYYY-%MM-%DD-%HH-%II-%SS".
// A mask token is "%" and a field letter repeated; letter case does not matter.
#pragma once

#include <string>
#include <string_view>

namespace vmk::text {

// A local wall-clock date and time.
struct DateTime {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;    // 1 to 31
  int hour = 0;
  int minute = 0;
  int second = 0;
};

// Tokens: %dd day, %mm month, %yyyy year, %yy two-digit year, %hh hour (0 to 23), %ii minute,
// %ss second, each zero-padded; every other character is copied.
std::string FormatDate(std::string_view mask, const DateTime& when);

// Seconds since 1970-01-01 00:00:00 counted on the wall clock of the given date (no time zone applied),
// the form the program stores times in; and back.
long long WallSeconds(const DateTime& when);
DateTime FromWallSeconds(long long seconds);

}  // namespace vmk::text
