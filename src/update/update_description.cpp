#include "update/update_description.h"

#include <fstream>
#include <sstream>

#include "platform/vendor_config.h"

namespace vmk::update {

std::string ReadDescriptionValue(const std::filesystem::path& file, const std::string& group,
                                 const std::string& key) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream content;
  content << in.rdbuf();
  std::string value;
  return platform::FindIniValue(content.str(), group, key, value) ? value : "-1";
}

std::array<std::string, 4> AnnouncedListDates(const std::filesystem::path& file) {
  return {ReadDescriptionValue(file, "Date", "EUK2"), ReadDescriptionValue(file, "Date", "UNK2"),
          ReadDescriptionValue(file, "Date", "UKK2"), ReadDescriptionValue(file, "Date", "USK2")};
}

long long LeadingNumber(const std::string& text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
  const bool negative = i < text.size() && text[i] == '-';
  if (negative || (i < text.size() && text[i] == '+')) ++i;
  long long value = 0;
  for (; i < text.size() && text[i] >= '0' && text[i] <= '9' && value < 100000000000000LL; ++i) {
    value = value * 10 + (text[i] - '0');
  }
  return negative ? -value : value;
}

}  // namespace vmk::update
