#include "screening/whitelist.h"

#include <fstream>
#include <sstream>

#include "text/cp1252.h"

namespace vmk::screening {

std::string RemoveWhitelistWord(std::string_view term, std::string_view entry) {
  std::string result;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= term.size(); ++i) {
    if (i < term.size() && term[i] != ' ') continue;
    const std::string_view word = term.substr(start, i - start);
    if (!text::EqualsIgnoringAsciiCase(word, entry)) result += word;
    result += ' ';
    start = i + 1;
  }
  return text::TrimBlanks(result);
}

std::vector<std::string> ReadWhitelistEntries(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::string> entries;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) entries.push_back(line);
  }
  return entries;
}

void ApplyWhitelist(SearchState& state, const std::filesystem::path& dataDirectory, log::RunLog& runLog) {
  const std::filesystem::path file = dataDirectory / kWhitelistFile;
  runLog.WriteRunLog(text::Win1252("Öffne WhiteList Datei : ") + file.string());
  if (!std::ifstream(file, std::ios::binary)) {
    std::ofstream(file, std::ios::binary);
    return;
  }
  for (const std::string& entry : ReadWhitelistEntries(file)) {
    for (std::string& term : state.terms) term = RemoveWhitelistWord(term, entry);
  }
}

}  // namespace vmk::screening
