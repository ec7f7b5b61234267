// A list release as the publisher ships it: the sanctions database built from the official list files,
// its pack, and the update server's folder with the update description and the information text.
#pragma once

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace vmk::publish {

struct ListSources {
  std::optional<std::filesystem::path> eu, un, uk, usCsl;
  std::optional<std::array<std::filesystem::path, 3>> ofac;  // sdn, alt, add
  std::optional<std::filesystem::path> info;                 // the information text, Windows-1252
};

struct ReleaseSummary {
  std::array<std::size_t, 4> rows{};  // EU, UN, UK, US
  std::array<std::string, 4> dates = {"-", "-", "-", "-"};
};

// The update description: group "Version" (KESTO2, KE2UInfo) and group "Date" (EUK2 ... USK2).
std::string UpdateDescription(const std::array<std::string, 4>& dates);
// The information text when none is given: the four list dates in German.
std::string DefaultInformationText(const std::array<std::string, 4>& dates);

// Reads every given list and writes KESTO.adb, KE2DB.pak and kepdata/ into `out`, built in a temporary
// folder beside it and renamed at the end, so a failure leaves no half-written release. Returns the error
// ("<file>:<line>: <what>" for a list file), empty on success.
std::string BuildListRelease(const ListSources& sources, const std::filesystem::path& out,
                             ReleaseSummary& summary);

}  // namespace vmk::publish
