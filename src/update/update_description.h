// The update description update.dat: groups in square brackets, "key = value" entries, ";" comments,
// keys without regard to case. It announces the list dates and the newest program version.
#pragma once

#include <array>
#include <filesystem>
#include <string>

namespace vmk::update {

// The value of a key in a group, or "-1" when the file, the group or the key is missing.
std::string ReadDescriptionValue(const std::filesystem::path& file, const std::string& group,
                                 const std::string& key);
// The dates EUK2, UNK2, UKK2, USK2 of group "Date" ("-1" for each missing one).
std::array<std::string, 4> AnnouncedListDates(const std::filesystem::path& file);
// A leading decimal number ("21073 beta" gives 21073); 0 when the text starts otherwise.
long long LeadingNumber(const std::string& text);

}  // namespace vmk::update
