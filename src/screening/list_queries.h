// The SQL statements that find a list's entries matching the search state: the detail queries of the
// single search and the count queries of the list search, for every list and phonetic mode.
#pragma once

#include <optional>
#include <string>

#include "screening/sanctions_schema.h"
#include "screening/search_state.h"

namespace vmk::screening {

// Both build the statement text, or nothing for a mode outside 0 to 3. For the UK and US lists in the
// Double Metaphone modes they first complete the key pairs of the state, which stay completed.
std::optional<std::string> BuildDetailQuery(ListId list, int mode, SearchState& state);
std::optional<std::string> BuildCountQuery(ListId list, int mode, SearchState& state);

// An empty key of a pair takes the other one's value.
void CompletePair(std::string& first, std::string& second);

// D1 takes D2 when empty (or D2 takes D1), and the same for D3 and D4.
void CompleteKeyPairs(SearchState& state);

}  // namespace vmk::screening
