// The version of this program, as the vendor's update description and mails count it.
#pragma once

namespace vmk::update {

inline constexpr int kProgramVersionNumber = 21072;
inline constexpr const char* kBuildNumberText = "65.2129";

}  // namespace vmk::update
