// The search state shared by the single search and the list search: the four terms, their phonetic
// keys, the phonetic mode, the hit counts and the display selections.
#pragma once

#include <array>
#include <string>

namespace vmk::screening {

// Phonetic modes as stored in the setting "Phonetik".
enum PhoneticMode : int { kPlainText = 0, kSdx = 1, kDoubleMetaphone = 2, kAllPhonetics = 3 };

struct SearchState {
  std::array<std::string, 4> terms;    // T1, T2 names; T3, T4 addresses (Windows-1252)
  std::array<std::string, 4> sdxKeys;  // S1 to S4
  std::array<std::string, 4> dmKeys;   // D1 to D4
  int mode = kPlainText;
  std::array<int, 4> hitCounts{};        // N1 to N4 of EU, UN, UK, US
  std::array<std::string, 4> selection;  // display-selection strings of EU, UN, UK, US
  bool phoneticDisplay = false;          // "/Phonetik": key columns in every hit report
};

}  // namespace vmk::screening
