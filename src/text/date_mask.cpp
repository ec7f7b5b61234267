#include "text/date_mask.h"

#include <cctype>
#include <cstdio>

namespace vmk::text {
namespace {

struct Token {
  const char* letters;  // lower-case letters after "%"
  int DateTime::*field;
  int width;
  int modulo;
};

constexpr Token kTokens[] = {
    {"yyyy", &DateTime::year, 4, 10000}, {"yy", &DateTime::year, 2, 100}, {"mm", &DateTime::month, 2, 100},
    {"dd", &DateTime::day, 2, 100},      {"hh", &DateTime::hour, 2, 100}, {"ii", &DateTime::minute, 2, 100},
    {"ss", &DateTime::second, 2, 100},
};

bool MatchesAt(std::string_view mask, std::size_t pos, std::string_view letters) {
  if (mask.size() - pos < letters.size()) return false;
  for (std::size_t i = 0; i < letters.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(mask[pos + i])) != letters[i]) return false;
  }
  return true;
}

// Days since 1970-01-01 of a proleptic Gregorian date (Howard Hinnant's algorithm).
long long DaysFromCivil(int y, int m, int d) {
  y -= m <= 2;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yoe = y - era * 400;
  const long long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const long long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + doe - 719468;
}

}  // namespace

std::string FormatDate(std::string_view mask, const DateTime& when) {
  std::string out;
  std::size_t pos = 0;
  while (pos < mask.size()) {
    bool replaced = false;
    if (mask[pos] == '%') {
      for (const Token& token : kTokens) {
        const std::string_view letters = token.letters;
        if (!MatchesAt(mask, pos + 1, letters)) continue;
        char buffer[16];
        std::snprintf(buffer, sizeof buffer, "%0*d", token.width, (when.*token.field) % token.modulo);
        out += buffer;
        pos += 1 + letters.size();
        replaced = true;
        break;
      }
    }
    if (!replaced) out += mask[pos++];
  }
  return out;
}

long long WallSeconds(const DateTime& when) {
  return DaysFromCivil(when.year, when.month, when.day) * 86400LL + when.hour * 3600LL + when.minute * 60LL +
         when.second;
}

DateTime FromWallSeconds(long long seconds) {
  long long days = seconds / 86400;
  long long rest = seconds % 86400;
  if (rest < 0) rest += 86400, --days;
  days += 719468;
  const long long era = (days >= 0 ? days : days - 146096) / 146097;
  const long long doe = days - era * 146097;
  const long long yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const long long doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const long long mp = (5 * doy + 2) / 153;
  DateTime out;
  out.day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  out.month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  out.year = static_cast<int>(yoe + era * 400 + (out.month <= 2));
  out.hour = static_cast<int>(rest / 3600);
  out.minute = static_cast<int>(rest / 60 % 60);
  out.second = static_cast<int>(rest % 60);
  return out;
}

}  // namespace vmk::text
