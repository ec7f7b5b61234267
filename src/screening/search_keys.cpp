#include "screening/search_keys.h"

#include "screening/double_metaphone.h"
#include "screening/sdx.h"

namespace vmk::screening {

std::string TermSdxKey(std::string_view term) {
  std::string result;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= term.size(); ++i) {
    if (i == term.size() || term[i] == ' ' || term[i] == '-') {
      result += SdxKey(term.substr(start, i - start));
      result += ' ';
      start = i + 1;
    }
  }
  return result;
}

std::string WordwiseDmKey(std::string_view term) {
  std::string result;
  std::size_t start = 0;
  for (std::size_t i = 0; i <= term.size(); ++i) {
    if (i == term.size() || term[i] == ' ') {
      result += DoubleMetaphone(term.substr(start, i - start)).primary;
      result += ' ';
      start = i + 1;
    }
  }
  return result;
}

}  // namespace vmk::screening
